#include "ui/ReadOnlyTable.h"

#include <QHeaderView>
#include <QTableWidget>

QTableWidget* readOnlyTable(const QStringList& heads, int rows, QWidget* parent) {
    auto* table = new QTableWidget(rows, static_cast<int>(heads.size()), parent);
    table->setHorizontalHeaderLabels(heads);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    return table;
}

QTableWidgetItem* readOnlyCell(const QString& text, Qt::Alignment alignment) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (!(alignment & Qt::AlignVertical_Mask)) alignment |= Qt::AlignVCenter;
    item->setTextAlignment(alignment);
    return item;
}
