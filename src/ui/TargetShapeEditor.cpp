#include "ui/TargetShapeEditor.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <array>

#include "ui/NumberBoxes.h"

namespace {

// In the order of TargetShape.
constexpr std::array<const char*, 4> ShapeTexts = {"Gerade", "Neigung", "Hauskurve",
                                                   "Zielkurve aus Datei"};

}  // namespace

TargetShapeEditor::TargetShapeEditor(std::function<std::optional<TargetFile>()> askTargetFile,
                                     QWidget* parent)
    : QWidget(parent), m_askTargetFile(std::move(askTargetFile)) {
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    m_pShape = new QComboBox(this);
    for (const char* text : ShapeTexts) m_pShape->addItem(QString::fromUtf8(text));
    form->addRow(QStringLiteral("Form:"), m_pShape);

    m_pValues = new QStackedWidget(this);
    m_pValues->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    m_pValues->addWidget(new QWidget(m_pValues));
    m_pTilt = decimalBox(-6.0, 6.0, 0.1, 1, -0.5, " dB/Okt.", m_pValues);
    m_pTilt->setToolTip(QStringLiteral("Neigung je Oktave, 0 dB bei 1 kHz."));
    m_pValues->addWidget(m_pTilt);
    auto* house = new QWidget(m_pValues);
    auto* houseGrid = new QGridLayout(house);
    houseGrid->setContentsMargins(0, 0, 0, 0);
    m_pLowCorner = wholeBox(20, 20000, 200, " Hz", house);
    m_pLowRise = decimalBox(-24.0, 24.0, 0.5, 1, 6.0, " dB", house);
    m_pHighCorner = wholeBox(20, 20000, 2000, " Hz", house);
    m_pHighFall = decimalBox(-24.0, 24.0, 0.5, 1, 3.0, " dB", house);
    houseGrid->addWidget(new QLabel(QStringLiteral("Anstieg unter"), house), 0, 0);
    houseGrid->addWidget(m_pLowCorner, 0, 1);
    houseGrid->addWidget(m_pLowRise, 0, 2);
    houseGrid->addWidget(new QLabel(QStringLiteral("Abfall über"), house), 1, 0);
    houseGrid->addWidget(m_pHighCorner, 1, 1);
    houseGrid->addWidget(m_pHighFall, 1, 2);
    house->setToolTip(QStringLiteral(
        "Ein Anstieg unter der ersten Eckfrequenz, der bei 20 Hz erreicht ist, und ein Abfall "
        "über der zweiten, der bei 20 kHz erreicht ist."));
    m_pValues->addWidget(house);
    auto* file = new QWidget(m_pValues);
    auto* fileRow = new QHBoxLayout(file);
    fileRow->setContentsMargins(0, 0, 0, 0);
    m_pFileName = new QLabel(QStringLiteral("(keine Datei)"), file);
    auto* choose = new QPushButton(QStringLiteral("Datei..."), file);
    connect(choose, &QPushButton::clicked, this, &TargetShapeEditor::chooseFile);
    fileRow->addWidget(m_pFileName, 1);
    fileRow->addWidget(choose);
    m_pValues->addWidget(file);
    form->addRow(m_pValues);

    connect(m_pShape, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_pValues->setCurrentIndex(index);
        if (index == static_cast<int>(TargetShape::Curve) && !m_file) chooseFile();
        emit changed();
    });
    for (QDoubleSpinBox* box : {m_pTilt, m_pLowRise, m_pHighFall}) {
        connect(box, &QDoubleSpinBox::valueChanged, this, &TargetShapeEditor::changed);
    }
    for (QSpinBox* box : {m_pLowCorner, m_pHighCorner}) {
        connect(box, &QSpinBox::valueChanged, this, &TargetShapeEditor::changed);
    }
}

void TargetShapeEditor::fill(FitTarget& target) const {
    target.shape = static_cast<TargetShape>(m_pShape->currentIndex());
    target.tiltDbPerOctave = m_pTilt->value();
    target.house = {double(m_pLowCorner->value()), m_pLowRise->value(),
                    double(m_pHighCorner->value()), m_pHighFall->value()};
    if (m_file) target.curve = m_file->curve;
}

void TargetShapeEditor::chooseFile() {
    if (!m_askTargetFile) return;
    if (std::optional<TargetFile> file = m_askTargetFile()) {
        m_file = std::move(file);
        m_pFileName->setText(QString::fromStdString(m_file->name));
        emit changed();
    }
}
