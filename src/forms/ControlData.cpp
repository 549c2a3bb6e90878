#include "forms/ControlData.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStringList>

#include "forms/CompactListStyle.h"

QString toQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

void fillList(QComboBox* list, std::span<const std::string_view> items) {
    list->setStyle(compactListStyle());
    const QSignalBlocker block(list);
    list->clear();
    QStringList texts;
    for (std::string_view item : items) {
        texts << toQString(item);
    }
    list->addItems(texts);
}

void selectIndex(QComboBox* list, int index) {
    const QSignalBlocker block(list);
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

void pushText(QLineEdit* edit, const QString& text) {
    const QSignalBlocker block(edit);
    edit->setText(text);
    showFromStart(edit);
}

void showFromStart(QLineEdit* edit) {
    // The field scrolls to keep its cursor in sight; setText leaves the
    // cursor at the end, which shows only the tail of a number too wide for
    // the field ("483647" of 2147483647).
    edit->setCursorPosition(0);
}

void readInt(const QLineEdit* edit, int& member) {
    bool ok = false;
    const int value = edit->text().trimmed().toInt(&ok);
    if (ok) {
        member = value;
    }
}
