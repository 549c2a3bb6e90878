#pragma once
// An edit field that chooses its own colours: white like an editable field
// even when read-only (the channel panel's value fields), or light cyan
// while marked "used". Text is black in both cases.

#include <QColor>
#include <QLineEdit>

class CEditEx : public QLineEdit {
    Q_OBJECT

public:
    explicit CEditEx(QWidget* parent = nullptr);

    // Both set their flag and return false.
    bool setUsedState(bool used);
    bool setDisabledState(bool disabled);

    bool isUsed() const { return m_bUsed; }
    bool isMarkedDisabled() const { return m_bDisabled; }

    // The colours the field paints with now.
    QColor backgroundColour() const;
    QColor textColour() const { return Qt::black; }

private:
    void applyColours();

    bool m_bUsed = false;
    bool m_bDisabled = false;  // recorded only; shows no different colours
};

// The background of a "used" field.
inline const QColor EditUsedColour(128, 255, 255);
