#pragma once
// The shape of a target curve as the tuning dialogs choose it: flat, a tilt,
// a house curve or a curve from a file, each with its values. Where the
// target's crossover and level come from is the dialog's business.

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "tuning/FitTarget.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;
class QStackedWidget;

// A target curve from a file: its name as shown and its points.
struct TargetFile {
    std::string name;
    Measurement curve;
};

class TargetShapeEditor : public QWidget {
    Q_OBJECT

public:
    // `askTargetFile` asks for a target file and reads it; nothing when the
    // user cancels or it cannot be read (it has said why).
    explicit TargetShapeEditor(std::function<std::optional<TargetFile>()> askTargetFile,
                               QWidget* parent = nullptr);

    // Sets the shape, the tilt, the house curve and the curve of `target`.
    void fill(FitTarget& target) const;

    QComboBox* shapeBox() const { return m_pShape; }
    QDoubleSpinBox* tiltBox() const { return m_pTilt; }

signals:
    void changed();

private:
    void chooseFile();

    std::function<std::optional<TargetFile>()> m_askTargetFile;
    std::optional<TargetFile> m_file;
    QComboBox* m_pShape = nullptr;
    QStackedWidget* m_pValues = nullptr;
    QDoubleSpinBox* m_pTilt = nullptr;
    QSpinBox* m_pLowCorner = nullptr;
    QDoubleSpinBox* m_pLowRise = nullptr;
    QSpinBox* m_pHighCorner = nullptr;
    QDoubleSpinBox* m_pHighFall = nullptr;
    QLabel* m_pFileName = nullptr;
};
