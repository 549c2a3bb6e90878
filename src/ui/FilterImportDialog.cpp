#include "ui/FilterImportDialog.h"

#include <QBrush>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "interchange/DecimalText.h"
#include "model/ChannelFieldText.h"
#include "ui/ReadOnlyTable.h"

namespace {

constexpr std::array<const char*, FilterImportDialog::ColumnCount> Heads = {
    "Zeile", "Gelesen", "Gesetzt", "Status", "Hinweis"};
constexpr const char* CancelText = "Abbrechen";
constexpr int MinWidth = 640;
constexpr int MinHeight = 260;
constexpr int MinNoteWidth = 200;
constexpr int NoteLineCharacters = 70;
// What the window manager's frame may take beside and above the dialog.
constexpr int FrameAllowance = 40;
constexpr int TitleBarAllowance = 80;
// Room between a column's longest text and the next column.
constexpr int CellPadding = 12;
// Soft marks that stay readable with the palette's text colour: a rounding
// amber, what is not taken over grey-red.
const QColor AdjustedShade(255, 236, 179);
const QColor NotTakenShade(244, 204, 204);

QString lineList(const std::vector<int>& lines) {
    QStringList numbers;
    for (const int line : lines) numbers << QString::number(line);
    return numbers.join(QStringLiteral(", "));
}

QString joinedNotes(const std::vector<std::string>& notes) {
    QStringList lines;
    for (const std::string& note : notes) lines << QString::fromStdString(note);
    return lines.join(QLatin1Char('\n'));
}

struct Row {
    int firstLine;
    QString line, read, set, status, note;
    QColor shade;  // invalid: none
};

std::vector<Row> rowsOf(const ImportReport& report) {
    std::vector<Row> rows;
    for (const ImportItem& item : report.items) {
        const QColor shade = item.status == ImportItemStatus::Adjusted ? AdjustedShade
                             : item.status == ImportItemStatus::Exact  ? QColor()
                                                                       : NotTakenShade;
        rows.push_back({item.lines.empty() ? 0 : item.lines.front(), lineList(item.lines),
                        QString::fromStdString(item.asRead), QString::fromStdString(item.asSet),
                        QString::fromStdString(importStatusText(item.status)),
                        joinedNotes(item.notes), shade});
    }
    for (const TextIssue& issue : report.issues) {
        rows.push_back({issue.line,
                        QString::number(issue.line),
                        QString::fromStdString(issue.text),
                        {},
                        QString::fromStdString(issueStatusText(issue)),
                        QString::fromStdString(issue.reason),
                        NotTakenShade});
    }
    // In the order of the text.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return a.firstLine < b.firstLine; });
    return rows;
}

QTableWidget* filterTable(const ImportReport& report, QWidget* parent) {
    const std::vector<Row> rows = rowsOf(report);
    QStringList heads;
    for (const char* head : Heads) heads << QString::fromUtf8(head);
    QTableWidget* table = readOnlyTable(heads, static_cast<int>(rows.size()), parent);
    table->setWordWrap(true);
    for (int r = 0; r < table->rowCount(); ++r) {
        const Row& row = rows[static_cast<std::size_t>(r)];
        const std::array<QString, FilterImportDialog::ColumnCount> texts = {
            row.line, row.read, row.set, row.status, row.note};
        for (int c = 0; c < FilterImportDialog::ColumnCount; ++c) {
            // Notes run over several lines: every cell starts at the top.
            QTableWidgetItem* item = readOnlyCell(
                texts[static_cast<std::size_t>(c)],
                (c == FilterImportDialog::LineColumn ? Qt::AlignRight : Qt::AlignLeft) |
                    Qt::AlignTop);
            if (row.shade.isValid()) item->setBackground(row.shade);
            table->setItem(r, c, item);
        }
    }
    table->resizeColumnsToContents();
    for (int c = 0; c + 1 < table->columnCount(); ++c) {
        table->setColumnWidth(c, table->columnWidth(c) + CellPadding);
    }
    table->resizeRowsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

}  // namespace

FilterImportDialog::FilterImportDialog(const ImportReport& report, const QString& source,
                                       const QString& target, const ImportRefit* refit,
                                       QWidget* parent)
    : QDialog(parent), m_report(report) {
    if (refit && refit->ok) m_refit = *refit;
    setWindowTitle(QString::fromUtf8(FilterImportTitle));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("So werden die Filter aus %1 auf %2 übernommen. Gelb: "
                                            "gerundet oder begrenzt; rot: nicht übernommen.")
                                 .arg(source, target),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    m_pTable = filterTable(report, this);
    layout->addWidget(m_pTable, 1);
    QStringList summary;
    for (const std::string& line : importSummaryLines(report)) {
        summary << QString::fromStdString(line);
    }
    m_pSummary = new QLabel(summary.join(QLatin1Char('\n')), this);
    m_pSummary->setWordWrap(true);
    layout->addWidget(m_pSummary);
    if (m_refit) addRefitChoice(layout);

    auto* buttons = new QDialogButtonBox(this);
    if (report.changesSomething()) {
        m_pApply =
            buttons->addButton(QString::fromUtf8(FilterImportApply), QDialogButtonBox::AcceptRole);
        m_pApply->setDefault(true);
        connect(m_pApply, &QPushButton::clicked, this, &QDialog::accept);
    }
    QPushButton* cancel =
        buttons->addButton(QString::fromUtf8(CancelText), QDialogButtonBox::RejectRole);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);

    // Enter takes the import over; the table is for reading, without a
    // cell marked as current.
    (m_pApply ? m_pApply : cancel)->setFocus();
    fitToContent(layout);
}

const ChannelRecord& FilterImportDialog::chosenRecord() const {
    return m_pRefit && m_pRefit->isChecked() ? m_refit->record : m_report.record;
}

void FilterImportDialog::addRefitChoice(QVBoxLayout* layout) {
    const auto difference = [](double maxDb, double maxHz, double rmsDb) {
        return QStringLiteral("größte Abweichung %1 dB bei %2 Hz, RMS %3 dB")
            .arg(QString::fromStdString(formatDecimal(maxDb, 2)),
                 QString::fromStdString(formatDecimal(maxHz, 0)),
                 QString::fromStdString(formatDecimal(rmsDb, 2)));
    };
    m_pRounded = new QRadioButton(QStringLiteral("Jeden Filter runden, wie oben: ") +
                                      difference(m_report.maxDifferenceDb, m_report.maxDifferenceHz,
                                                 m_report.rmsDifferenceDb),
                                  this);
    const DesignDifference& d = m_refit->difference;
    m_pRefit = new QRadioButton(
        QStringLiteral("Auf das Raster anpassen: ") + difference(d.maxDb, d.maxHz, d.rmsDb), this);
    m_pRefit->setToolTip(QStringLiteral(
        "Wählt die sechs Bänder auf dem Raster des Geräts so, dass sie zusammen den Filtern des "
        "Textes am nächsten kommen, statt jeden Filter für sich zu runden."));
    QStringList bands;
    for (int e = 0; e < EqBandCount; ++e) {
        bands << QStringLiteral("EQ%1 %2").arg(e + 1).arg(
            QString::fromStdString(eqBandText(m_refit->record.eq[e], e)));
    }
    if (m_report.setsLevel) {
        bands << QStringLiteral("Pegel %1 dB")
                     .arg(QString::fromStdString(formatSignedDecimal(m_refit->record.level, 0)));
    }
    auto* refitBands = new QLabel(bands.join(QStringLiteral("; ")), this);
    refitBands->setWordWrap(true);
    refitBands->setContentsMargins(24, 0, 0, 0);
    (d.rmsDb < m_report.rmsDifferenceDb ? m_pRefit : m_pRounded)->setChecked(true);
    layout->addWidget(m_pRounded);
    layout->addWidget(m_pRefit);
    layout->addWidget(refitBands);
}

void FilterImportDialog::fitToContent(QLayout* layout) {
    // As wide as the whole table where the screen allows, the notes wrapped
    // where it does not; as high as every row and the texts around them, up
    // to the screen. The window manager's frame comes on top.
    const QRect screenArea = screen()->availableGeometry();
    const QMargins margins = layout->contentsMargins();
    const int besideColumns = margins.left() + margins.right() + 2 * m_pTable->frameWidth();
    int others = 0;
    for (int c = 0; c < NoteColumn; ++c) others += m_pTable->columnWidth(c);
    // Notes longer than a comfortable line wrap.
    const int noteNeeded =
        std::min(m_pTable->columnWidth(NoteColumn),
                 m_pTable->fontMetrics().averageCharWidth() * NoteLineCharacters) +
        CellPadding;
    const int dialogWidth = std::clamp(besideColumns + others + noteNeeded, MinWidth,
                                       std::max(MinWidth, screenArea.width() - FrameAllowance));
    m_pTable->setColumnWidth(NoteColumn,
                             std::max(MinNoteWidth, dialogWidth - besideColumns - others));
    m_pTable->resizeRowsToContents();
    int tableHeight =
        m_pTable->horizontalHeader()->sizeHint().height() + 2 * m_pTable->frameWidth();
    for (int r = 0; r < m_pTable->rowCount(); ++r) tableHeight += m_pTable->rowHeight(r);
    // The texts above and below the table wrap at the dialog's width.
    const int whole = layout->hasHeightForWidth() ? layout->heightForWidth(dialogWidth)
                                                  : layout->sizeHint().height();
    const int besideTable = whole - m_pTable->sizeHint().height();
    const int dialogHeight =
        std::clamp(besideTable + tableHeight, MinHeight,
                   std::max(MinHeight, screenArea.height() - TitleBarAllowance));
    resize(dialogWidth, dialogHeight);
}
