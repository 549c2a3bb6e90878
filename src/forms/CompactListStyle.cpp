#include "forms/CompactListStyle.h"

#include <QApplication>
#include <QProxyStyle>
#include <algorithm>

namespace {

class CompactListStyle : public QProxyStyle {
public:
    CompactListStyle() : QProxyStyle(QApplication::style()->name()) {}

    QRect subControlRect(ComplexControl cc, const QStyleOptionComplex* option, SubControl sc,
                         const QWidget* widget) const override {
        QRect r = QProxyStyle::subControlRect(cc, option, sc, widget);
        if (cc != CC_ComboBox || (sc != SC_ComboBoxArrow && sc != SC_ComboBoxEditField)) {
            return r;
        }
        const QRect arrow = QProxyStyle::subControlRect(cc, option, SC_ComboBoxArrow, widget);
        const int give = std::clamp(arrow.width() - ListArrowWidth, 0, ArrowGiveBack);
        if (sc == SC_ComboBoxArrow) {
            r.setLeft(r.left() + give);
        } else {
            r.setRight(r.right() + give);
        }
        return r;
    }

    // The list drops down below the field at the height its template gives,
    // scrolling what does not fit, instead of a menu over the field that
    // grows to every item (up to the whole screen for the 253 port names).
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ComboBox_Popup) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    static constexpr int ListArrowWidth = 15;
    static constexpr int ArrowGiveBack = 5;
};

}  // namespace

QStyle* compactListStyle() {
    static CompactListStyle* style = new CompactListStyle;  // lives as long as the process
    return style;
}
