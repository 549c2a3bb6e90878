#include "ui/NumberBoxes.h"

#include <QDoubleSpinBox>
#include <QSpinBox>

QDoubleSpinBox* decimalBox(double lo, double hi, double step, int decimals, double value,
                           const char* suffix, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(lo, hi);
    box->setSingleStep(step);
    box->setDecimals(decimals);
    box->setValue(value);
    box->setSuffix(QString::fromUtf8(suffix));
    return box;
}

QSpinBox* wholeBox(int lo, int hi, int value, const char* suffix, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(lo, hi);
    box->setValue(value);
    box->setSuffix(QString::fromUtf8(suffix));
    return box;
}
