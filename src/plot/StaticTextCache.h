#pragma once
// Laid-out texts by their content, for the cursor readout. Laying a text out
// (shaping it) costs far more than drawing it, and a readout repeats most of
// its texts from move to move: the curve names, the delays, and the values
// wherever the mouse goes back. The cache forgets everything when the font
// changes or when it is full.

#include <QFont>
#include <QStaticText>
#include <QString>
#include <QTransform>
#include <cmath>
#include <map>

class StaticTextCache {
public:
    // `text` laid out in `font`; valid until the next call. Draw it with
    // `font` set on the painter, or it is laid out again.
    const QStaticText& get(const QString& text, const QFont& font) {
        if (!(font == m_font)) {
            m_texts.clear();
            m_font = font;
        }
        auto it = m_texts.find(text);
        if (it == m_texts.end()) {
            if (m_texts.size() >= Limit) m_texts.clear();
            QStaticText laidOut(text);
            laidOut.setTextFormat(Qt::PlainText);
            laidOut.prepare(QTransform(), font);
            it = m_texts.emplace(text, laidOut).first;
        }
        return it->second;
    }

    // The width of `text` in whole pixels.
    int width(const QString& text, const QFont& font) {
        return static_cast<int>(std::ceil(get(text, font).size().width()));
    }

private:
    static constexpr std::size_t Limit = 512;
    QFont m_font;
    std::map<QString, QStaticText> m_texts;
};
