#include "forms/ControlData.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPalette>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QStringList>

#include "forms/CompactListStyle.h"

QString toQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

namespace {

// Marks the entry of showUnlisted().
constexpr int UnlistedRole = Qt::UserRole + 1;
const QColor UnlistedInk(160, 0, 0);

bool hasUnlisted(const QComboBox* list) {
    return list->count() > 0 && list->itemData(list->count() - 1, UnlistedRole).toBool();
}

void dropUnlisted(QComboBox* list) {
    if (!hasUnlisted(list)) return;
    list->removeItem(list->count() - 1);
    list->setPalette(QPalette());  // the parent's again
    for (int i = 0; i < list->count(); ++i) list->setItemData(i, QVariant(), Qt::ForegroundRole);
    list->setToolTip(QString());
}

}  // namespace

void fillList(QComboBox* list, std::span<const std::string_view> items) {
    list->setStyle(compactListStyle());
    const QSignalBlocker block(list);
    dropUnlisted(list);
    list->clear();
    QStringList texts;
    for (std::string_view item : items) {
        texts << toQString(item);
    }
    list->addItems(texts);
}

void selectIndex(QComboBox* list, int index) {
    const QSignalBlocker block(list);
    if (hasUnlisted(list) && index != list->count() - 1) dropUnlisted(list);
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

int showUnlisted(QComboBox* list, const QString& text, const QString& tip) {
    const QSignalBlocker block(list);
    dropUnlisted(list);
    list->addItem(text);
    const int index = list->count() - 1;
    list->setItemData(index, true, UnlistedRole);
    if (auto* model = qobject_cast<QStandardItemModel*>(list->model())) {
        model->item(index)->setEnabled(false);  // shown, never picked
    }
    // The field shows the value in the mark's ink; in the drop-down the
    // items that can be picked keep the usual one.
    const QColor usual = list->palette().color(QPalette::Text);
    for (int i = 0; i < index; ++i) list->setItemData(i, usual, Qt::ForegroundRole);
    list->setItemData(index, UnlistedInk, Qt::ForegroundRole);
    QPalette palette = list->palette();
    palette.setColor(QPalette::ButtonText, UnlistedInk);
    palette.setColor(QPalette::Text, UnlistedInk);
    list->setPalette(palette);
    list->setToolTip(tip);
    list->setCurrentIndex(index);
    return index;
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
