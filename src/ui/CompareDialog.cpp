#include "ui/CompareDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "model/ChannelFieldText.h"
#include "ui/ReadOnlyTable.h"

namespace {

constexpr const char* CloseText = "Schließen";
constexpr int MinWidth = 560;
constexpr int MinHeight = 240;
constexpr int MaxHeight = 620;

QTableWidget* differenceTable(const std::array<const char*, 5>& columns,
                              const std::vector<FieldDifference>& differences, QWidget* parent) {
    QStringList heads;
    for (const char* column : columns) heads << QString::fromUtf8(column);
    QTableWidget* table = readOnlyTable(heads, static_cast<int>(differences.size()), parent);
    table->setAlternatingRowColors(true);
    for (int row = 0; row < table->rowCount(); ++row) {
        const FieldDifference& d = differences[static_cast<std::size_t>(row)];
        table->setItem(row, 0, readOnlyCell(QString::number(d.preset + 1), Qt::AlignHCenter));
        table->setItem(row, 1, readOnlyCell(QString::number(d.channel + 1), Qt::AlignHCenter));
        table->setItem(row, 2, readOnlyCell(QString::fromStdString(channelFieldName(d.field))));
        table->setItem(row, 3, readOnlyCell(QString::fromStdString(d.here)));
        table->setItem(row, 4, readOnlyCell(QString::fromStdString(d.device)));
    }
    table->resizeColumnsToContents();
    table->resizeRowsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

}  // namespace

CompareDialog::CompareDialog(const QString& title, const QString& intro,
                             const std::array<const char*, 5>& columns,
                             const std::vector<FieldDifference>& differences, bool offerTake,
                             QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    const bool equal = differences.empty();
    m_pText = new QLabel(equal ? QString::fromUtf8(SettingsEqualText) : intro, this);
    m_pText->setWordWrap(true);
    layout->addWidget(m_pText);
    if (!equal) {
        m_pTable = differenceTable(columns, differences, this);
        layout->addWidget(m_pTable, 1);
    }
    auto* buttons = new QDialogButtonBox(this);
    if (offerTake && !equal) {
        m_pTake = buttons->addButton(QString::fromUtf8(TakeDeviceSettingsText),
                                     QDialogButtonBox::ActionRole);
        connect(m_pTake, &QPushButton::clicked, this, &CompareDialog::onTake);
    }
    QPushButton* close =
        buttons->addButton(QString::fromUtf8(CloseText), QDialogButtonBox::RejectRole);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);
    // Enter and Escape close; the table is for reading, without a cell
    // marked as current.
    close->setFocus();
    if (m_pTable) {
        // Wide enough for the whole table, and as many rows as fit.
        int width = 0;
        for (int c = 0; c < m_pTable->columnCount(); ++c) width += m_pTable->columnWidth(c);
        const int rows = m_pTable->horizontalHeader()->height() +
                         m_pTable->rowCount() * m_pTable->verticalHeader()->defaultSectionSize();
        resize(std::max(MinWidth, width + 60), std::clamp(rows + 120, MinHeight, MaxHeight));
    }
}

void CompareDialog::onTake() {
    done(TakeDeviceSettings);
}
