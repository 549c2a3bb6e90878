#pragma once
// Moving values between members and controls the way the dialogs' data
// exchange does: writing a control sends no change notification (the handlers
// react to the user only), reading keeps the member when the control holds
// nothing it can take.

#include <QString>
#include <span>
#include <string_view>

class QComboBox;
class QLineEdit;

QString toQString(std::string_view utf8);

// Replaces the items of `list` by `items` and gives it the compact list style.
void fillList(QComboBox* list, std::span<const std::string_view> items);
// Selects item `index`; an index that no item has clears the selection.
// Selecting another item takes away an entry of showUnlisted().
void selectIndex(QComboBox* list, int index);
// A stored value that no item of `list` stands for: an extra last entry that
// shows `text`, selected, in dark red, which the user cannot pick, with `tip`
// as the list's tooltip. Returns its index.
int showUnlisted(QComboBox* list, const QString& text, const QString& tip);

// Writes `text` and shows it from its start.
void pushText(QLineEdit* edit, const QString& text);
// A text wider than its field shows its first characters, not its last.
void showFromStart(QLineEdit* edit);
// The integer shown in `edit` (blanks around it allowed); `member` keeps its
// value when the text is none.
void readInt(const QLineEdit* edit, int& member);
