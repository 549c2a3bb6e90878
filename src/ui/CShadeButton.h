#pragma once
// A push button with an icon on a computed, shaded face (ShadeFace) and a
// flat border that appears only while the mouse is over it: raised at rest
// under the mouse, sunken while pressed. Face and icon move one pixel right
// and down while pressed; the icon is greyed while the button is disabled.
// No text is drawn; the keyboard focus (the button takes it only with Tab) is
// marked with the style's focus frame inside the face.

#include <QImage>
#include <QPushButton>

#include "ui/ShadeFace.h"

class CShadeButton : public QPushButton {
    Q_OBJECT

public:
    explicit CShadeButton(QWidget* parent = nullptr);

    // Builds the normal and mouse-over faces for the button's current size
    // from the palette's shadow, face and highlight colours. A later resize
    // keeps these faces. tintColour is 0x00BBGGRR as the platform's colour
    // values are.
    void setShade(int shadeType, int granularity, int highlight, int tintAmount,
                  unsigned tintColour);
    // Shows the icon of resource `iconId` (Icons.h) at its resource size.
    void setIcon(int iconId);
    using QPushButton::setIcon;

    const QImage& normalFace() const { return m_normalFace; }
    const QImage& hoverFace() const { return m_hoverFace; }
    bool isMouseOver() const { return m_bOver; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage m_normalFace;
    QImage m_hoverFace;
    bool m_bOver = false;
};

// The face as an indexed image, top row first.
QImage shadeFaceImage(const ShadeFace& face);
