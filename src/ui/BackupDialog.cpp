#include "ui/BackupDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>
#include <filesystem>
#include <utility>

#include "device/SettingsCompare.h"
#include "platform/Utf8Path.h"
#include "storage/Backups.h"
#include "storage/ParameterFile.h"
#include "ui/BackupSummary.h"
#include "ui/ReadOnlyTable.h"

namespace {

constexpr std::array<const char*, 3> Heads = {"Datum", "Uhrzeit", "Anlass"};
constexpr const char* NoBackups = "Es gibt noch keine Sicherungen.";
constexpr const char* Unreadable = "Diese Sicherung kann nicht gelesen werden.";
constexpr const char* PreviewCaption = "Kurven von Preset 1:";
constexpr int CellPadding = 16;

}  // namespace

BackupDialog::BackupDialog(const std::vector<std::string>& backups, const ParameterImage& current,
                           Preview preview, QWidget* parent)
    : QDialog(parent), m_backups(backups), m_current(current), m_preview(std::move(preview)) {
    setWindowTitle(QString::fromUtf8(BackupDlgTitle));
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    layout->addLayout(columns, 1);

    QStringList heads;
    for (const char* head : Heads) heads << QString::fromUtf8(head);
    m_pTable = readOnlyTable(heads, static_cast<int>(m_backups.size()), this);
    m_pTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pTable->setAlternatingRowColors(true);
    for (int row = 0; row < m_pTable->rowCount(); ++row) {
        const std::string name =
            utf8FromPath(pathFromUtf8(m_backups[static_cast<std::size_t>(row)]).filename());
        const BackupFileInfo info = backupFileInfo(name).value_or(BackupFileInfo{{}, {}, name});
        m_pTable->setItem(row, 0, readOnlyCell(QString::fromStdString(info.date)));
        m_pTable->setItem(row, 1, readOnlyCell(QString::fromStdString(info.time)));
        m_pTable->setItem(row, 2, readOnlyCell(QString::fromStdString(info.occasion)));
    }
    m_pTable->resizeColumnsToContents();
    int tableWidth = 2 * m_pTable->frameWidth();
    for (int c = 0; c < m_pTable->columnCount(); ++c) {
        m_pTable->setColumnWidth(c, m_pTable->columnWidth(c) + CellPadding);
        tableWidth += m_pTable->columnWidth(c);
    }
    m_pTable->horizontalHeader()->setStretchLastSection(true);
    m_pTable->setMinimumWidth(tableWidth + m_pTable->verticalScrollBar()->sizeHint().width());
    columns->addWidget(m_pTable, 1);

    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel(QString::fromUtf8(PreviewCaption), this));
    m_pPreview = new QLabel(this);
    m_pPreview->setFixedSize(PreviewWidth, PreviewHeight);
    m_pPreview->setAlignment(Qt::AlignCenter);
    m_pPreview->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    side->addWidget(m_pPreview);
    m_pSummary = new QLabel(this);
    m_pSummary->setWordWrap(true);
    m_pSummary->setFixedWidth(PreviewWidth);
    side->addWidget(m_pSummary);
    side->addStretch(1);
    columns->addLayout(side);

    auto* buttons = new QDialogButtonBox(this);
    m_pLoad = buttons->addButton(QStringLiteral("Laden"), QDialogButtonBox::AcceptRole);
    m_pLoad->setDefault(true);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    connect(m_pLoad, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_pTable, &QTableWidget::itemSelectionChanged, this, &BackupDialog::showChoice);
    connect(m_pTable, &QTableWidget::cellDoubleClicked, this, [this] {
        if (m_pLoad->isEnabled()) accept();
    });
    if (m_pTable->rowCount() > 0) {
        m_pTable->selectRow(0);  // the newest
    }
    showChoice();
    // Enter loads; the arrow keys move through the list.
    m_pTable->setFocus();
}

std::string BackupDialog::chosenPath() const {
    const QList<QTableWidgetSelectionRange> ranges = m_pTable->selectedRanges();
    if (ranges.isEmpty()) return {};
    const int row = ranges.front().topRow();
    return row >= 0 && row < static_cast<int>(m_backups.size())
               ? m_backups[static_cast<std::size_t>(row)]
               : std::string();
}

void BackupDialog::showChoice() {
    const std::string path = chosenPath();
    ParameterImage backup;
    const bool readable = !path.empty() && loadParameterFile(backup, path) == 1;
    m_pLoad->setEnabled(readable);
    m_pPreview->clear();
    if (!readable) {
        m_pSummary->setText(QString::fromUtf8(m_backups.empty() ? NoBackups : Unreadable));
        return;
    }
    if (m_preview) {
        const qreal dpr = devicePixelRatioF();
        QImage picture = m_preview(
            backup, QSize(PreviewWidth, PreviewHeight) - QSize(2, 2) * m_pPreview->frameWidth(),
            dpr);
        m_pPreview->setPixmap(QPixmap::fromImage(picture));
    }
    m_pSummary->setText(
        QString::fromStdString(backupDifferenceText(compareSettings(m_current, backup))));
}
