#pragma once
// The number fields of the tuning dialogs, set up in one call.

class QDoubleSpinBox;
class QSpinBox;
class QWidget;

// `lo`..`hi` in steps of `step`, `decimals` shown, starting at `value`, with
// `suffix` (UTF-8, " dB").
QDoubleSpinBox* decimalBox(double lo, double hi, double step, int decimals, double value,
                           const char* suffix, QWidget* parent);
QSpinBox* wholeBox(int lo, int hi, int value, const char* suffix, QWidget* parent);
