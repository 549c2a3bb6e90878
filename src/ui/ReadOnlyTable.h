#pragma once
// The tables the dialogs show for reading: a header row, no row numbers, no
// editing, whole rows selected; cells that can be selected but not edited,
// centred vertically unless `alignment` says otherwise.

#include <QStringList>
#include <Qt>

class QTableWidget;
class QTableWidgetItem;
class QWidget;

QTableWidget* readOnlyTable(const QStringList& heads, int rows, QWidget* parent);
QTableWidgetItem* readOnlyCell(const QString& text, Qt::Alignment alignment = Qt::AlignLeft);
