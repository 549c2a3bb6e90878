#include "ui/FitDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "model/ParameterLimits.h"
#include "ui/FitSummary.h"
#include "ui/NumberBoxes.h"
#include "ui/ReadOnlyTable.h"
#include "ui/TuningFoot.h"

namespace {

// Room for a band before and after ("45 Hz, +3 dB, Q 0.7 (LowShelf)").
constexpr int DialogWidth = 520;
const QColor ChangedShade(255, 236, 179);

constexpr std::array<const char*, 3> AveragingTexts = {"Leistung", "in dB",
                                                       "Vektoriell (mit Phase)"};
constexpr std::array<const char*, SmoothingChoices.size()> SmoothingTexts = {
    "keine", "1/24 Oktave", "1/12 Oktave", "1/6 Oktave", "1/3 Oktave"};

}  // namespace

FitDialog::FitDialog(FitDialogInput input, QWidget* parent)
    : QDialog(parent), m_input(std::move(input)) {
    setWindowTitle(QString::fromUtf8(FitDialogTitle));
    m_result.channel = m_input.record;
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(
        QStringLiteral("Equalizer von %1 nach den Messungen anpassen. Im Diagramm: das Ziel als "
                       "dünne Linie, das Ergebnis strichpunktiert.")
            .arg(m_input.target),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    // One column, the options on pages above the outcome, so that the dialog
    // can stand beside the plot it draws into.
    auto* pages = new QTabWidget(this);
    pages->addTab(evidenceGroup(), QStringLiteral("Messungen"));
    pages->addTab(targetGroup(), QStringLiteral("Ziel"));
    pages->addTab(limitsGroup(), QStringLiteral("Bereich und Grenzen"));
    layout->addWidget(pages);

    m_pTable =
        readOnlyTable({QStringLiteral("Band"), QStringLiteral("Vorher"), QStringLiteral("Nachher")},
                      EqBandCount + 1, this);
    m_pTable->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    m_pTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(m_pTable, 1);
    m_pError = new QLabel(this);
    m_pError->setWordWrap(true);
    layout->addWidget(m_pError);
    m_pFoot =
        new TuningFoot(QStringLiteral("Hält die genaue Anpassung an; die Vorschau bleibt."), *this);
    connect(m_pFoot, &TuningFoot::stopRequested, this, [this] { m_runner.stop(); });
    layout->addWidget(m_pFoot);

    connect(&m_runner, &FitRunner::resultReady, this, &FitDialog::onResult);
    connect(&m_runner, &FitRunner::progressed, this, &FitDialog::onProgress);
    connect(&m_runner, &FitRunner::stopped, this, &FitDialog::onStopped);
    showResult();
    // As wide as the table's longest rows; as high as all rows.
    int tableHeight =
        m_pTable->horizontalHeader()->sizeHint().height() + 2 * m_pTable->frameWidth();
    for (int r = 0; r < m_pTable->rowCount(); ++r) tableHeight += m_pTable->rowHeight(r);
    m_pTable->setMinimumHeight(tableHeight);
    resize(QSize(DialogWidth, sizeHint().height()));
    startFit();
}

QWidget* FitDialog::evidenceGroup() {
    auto* group = new QWidget(this);
    auto* form = new QFormLayout(group);
    m_pFiles = new QListWidget(group);
    for (const std::string& name : m_input.names) {
        auto* item = new QListWidgetItem(QString::fromStdString(name), m_pFiles);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    m_pFiles->setMaximumHeight(m_pFiles->sizeHintForRow(0) * 4 + 2 * m_pFiles->frameWidth() + 4);
    connect(m_pFiles, &QListWidget::itemChanged, this, [this] { optionsChanged(); });
    form->addRow(m_pFiles);
    m_pAveraging = new QComboBox(group);
    for (const char* text : AveragingTexts) m_pAveraging->addItem(QString::fromUtf8(text));
    m_pAveraging->setCurrentIndex(static_cast<int>(m_input.averaging));
    connect(m_pAveraging, &QComboBox::currentIndexChanged, this, [this] { optionsChanged(); });
    form->addRow(QStringLiteral("Mittelung:"), m_pAveraging);
    m_pSmoothing = new QComboBox(group);
    for (const char* text : SmoothingTexts) m_pSmoothing->addItem(QString::fromUtf8(text));
    for (std::size_t k = 0; k < SmoothingChoices.size(); ++k) {
        if (SmoothingChoices[k] == m_input.smoothing) m_pSmoothing->setCurrentIndex(int(k));
    }
    connect(m_pSmoothing, &QComboBox::currentIndexChanged, this, [this] { optionsChanged(); });
    form->addRow(QStringLiteral("Glättung:"), m_pSmoothing);
    return group;
}

QWidget* FitDialog::targetGroup() {
    auto* group = new QWidget(this);
    auto* form = new QFormLayout(group);
    m_pTarget = new TargetShapeEditor(m_input.askTargetFile, group);
    connect(m_pTarget, &TargetShapeEditor::changed, this, [this] { optionsChanged(); });
    form->addRow(m_pTarget);

    m_pFollowCrossover =
        new QCheckBox(QStringLiteral("folgt der Frequenzweiche des Kanals"), group);
    m_pFollowCrossover->setChecked(true);
    form->addRow(m_pFollowCrossover);
    auto* levelRow = new QHBoxLayout;
    m_pFixedLevel = new QCheckBox(QStringLiteral("Pegel fest:"), group);
    m_pFixedLevel->setToolTip(QStringLiteral(
        "Sonst wird der Pegel des Ziels so gewählt, dass es am besten passt. Fest gilt er auf der "
        "Skala, auf der das Diagramm die Messung zeigt."));
    m_pTargetLevel = decimalBox(-60.0, 60.0, 0.5, 1, 0.0, " dB", group);
    m_pTargetLevel->setEnabled(false);
    levelRow->addWidget(m_pFixedLevel);
    levelRow->addWidget(m_pTargetLevel, 1);
    form->addRow(levelRow);
    connect(m_pFixedLevel, &QCheckBox::toggled, m_pTargetLevel, &QWidget::setEnabled);
    for (QCheckBox* box : {m_pFollowCrossover, m_pFixedLevel}) {
        connect(box, &QCheckBox::toggled, this, [this] { optionsChanged(); });
    }
    connect(m_pTargetLevel, &QDoubleSpinBox::valueChanged, this, [this] { optionsChanged(); });
    return group;
}

QWidget* FitDialog::limitsGroup() {
    auto* group = new QWidget(this);
    auto* form = new QFormLayout(group);
    auto* rangeRow = new QHBoxLayout;
    m_pAutoRange = new QCheckBox(QStringLiteral("automatisch"), group);
    m_pAutoRange->setChecked(true);
    m_pAutoRange->setToolTip(QStringLiteral(
        "Wo die Messung reicht und die Frequenzweiche des Kanals über -6 dB liegt."));
    m_pRangeLo = wholeBox(20, 20000, 20, " Hz", group);
    m_pRangeHi = wholeBox(20, 20000, 20000, " Hz", group);
    m_pRangeLo->setEnabled(false);
    m_pRangeHi->setEnabled(false);
    rangeRow->addWidget(m_pAutoRange);
    rangeRow->addWidget(m_pRangeLo);
    rangeRow->addWidget(new QLabel(QStringLiteral("bis"), group));
    rangeRow->addWidget(m_pRangeHi);
    form->addRow(QStringLiteral("Bereich:"), rangeRow);
    connect(m_pAutoRange, &QCheckBox::toggled, this, [this](bool automatic) {
        m_pRangeLo->setEnabled(!automatic);
        m_pRangeHi->setEnabled(!automatic);
        if (automatic || !m_result.hz.empty()) {
            // Manual from the range the last fit used.
            m_pRangeLo->setValue(static_cast<int>(std::lround(m_result.range.loHz)));
            m_pRangeHi->setValue(static_cast<int>(std::lround(m_result.range.hiHz)));
        }
        optionsChanged();
    });
    const FitOptions defaults;
    m_pMaxBoost = wholeBox(0, 6, defaults.maxBoostDb, " dB", group);
    form->addRow(QStringLiteral("Anhebung je Band bis:"), m_pMaxBoost);
    m_pMaxTotal = decimalBox(0.0, 24.0, 1.0, 1, defaults.maxTotalBoostDb, " dB", group);
    form->addRow(QStringLiteral("Anhebung insgesamt bis:"), m_pMaxTotal);
    m_pMaxQ = decimalBox(0.5, 10.0, 0.5, 1, defaults.maxQ, "", group);
    form->addRow(QStringLiteral("Güte bis:"), m_pMaxQ);
    m_pSkipDips = new QCheckBox(QStringLiteral("schmale tiefe Senken auslassen"), group);
    m_pSkipDips->setToolTip(QStringLiteral(
        "Senken schmaler als 1/3 Oktave und tiefer als 6 dB: meist Auslöschungen, die mehr "
        "Leistung nicht füllt."));
    m_pSkipDips->setChecked(defaults.dips == DipHandling::LeaveAlone);
    form->addRow(m_pSkipDips);
    m_pUseLevel = new QCheckBox(QStringLiteral("Kanalpegel anpassen"), group);
    m_pUseLevel->setChecked(defaults.useLevel);
    form->addRow(m_pUseLevel);
    m_pShelves = new QCheckBox(QStringLiteral("EQ5 und EQ6 als Shelf, wo es hilft"), group);
    m_pShelves->setChecked(defaults.shelves == ShelfUse::IfHelpful);
    form->addRow(m_pShelves);
    auto* keepRow = new QHBoxLayout;
    for (int e = 0; e < EqBandCount; ++e) {
        m_keep[static_cast<std::size_t>(e)] =
            new QCheckBox(QStringLiteral("EQ%1").arg(e + 1), group);
        keepRow->addWidget(m_keep[static_cast<std::size_t>(e)]);
    }
    form->addRow(QStringLiteral("Beibehalten:"), keepRow);
    for (QCheckBox* box : {m_pSkipDips, m_pUseLevel, m_pShelves}) {
        connect(box, &QCheckBox::toggled, this, [this] { optionsChanged(); });
    }
    for (QCheckBox* box : m_keep) {
        connect(box, &QCheckBox::toggled, this, [this] { optionsChanged(); });
    }
    for (QSpinBox* box : {m_pRangeLo, m_pRangeHi, m_pMaxBoost}) {
        connect(box, &QSpinBox::valueChanged, this, [this] { optionsChanged(); });
    }
    for (QDoubleSpinBox* box : {m_pMaxTotal, m_pMaxQ}) {
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] { optionsChanged(); });
    }
    return group;
}

Averaging FitDialog::averaging() const {
    return static_cast<Averaging>(m_pAveraging->currentIndex());
}

int FitDialog::smoothing() const {
    return SmoothingChoices[static_cast<std::size_t>(m_pSmoothing->currentIndex())];
}

void FitDialog::optionsChanged() {
    if (m_fitPending) return;
    m_fitPending = true;
    QTimer::singleShot(0, this, [this] {
        m_fitPending = false;
        startFit();
    });
}

FitJob FitDialog::job() const {
    FitJob job;
    auto selected = std::make_shared<std::vector<Measurement>>();
    for (int k = 0; k < m_pFiles->count(); ++k) {
        if (m_pFiles->item(k)->checkState() == Qt::Checked) {
            selected->push_back((*m_input.measurements)[static_cast<std::size_t>(k)]);
        }
    }
    job.measurements = std::move(selected);
    job.averaging = averaging();
    job.smoothing = smoothing();
    job.normalise = m_input.normalise;
    job.sharedOffsetDb = m_input.sharedOffsetDb;

    FitInput& in = job.input;
    in.channel = m_input.record;
    FitTarget& target = in.target;
    m_pTarget->fill(target);
    target.followsCrossover = m_pFollowCrossover->isChecked();
    if (m_pFixedLevel->isChecked()) target.levelDb = m_pTargetLevel->value();

    FitOptions& o = in.options;
    if (!m_pAutoRange->isChecked()) {
        o.range = FrequencyRange{double(m_pRangeLo->value()), double(m_pRangeHi->value())};
    }
    for (int e = 0; e < EqBandCount; ++e) {
        o.keep[static_cast<std::size_t>(e)] = m_keep[static_cast<std::size_t>(e)]->isChecked();
    }
    o.maxBoostDb = m_pMaxBoost->value();
    o.maxTotalBoostDb = m_pMaxTotal->value();
    o.maxQ = m_pMaxQ->value();
    o.dips = m_pSkipDips->isChecked() ? DipHandling::LeaveAlone : DipHandling::Fill;
    o.useLevel = m_pUseLevel->isChecked();
    o.shelves = m_pShelves->isChecked() ? ShelfUse::IfHelpful : ShelfUse::Never;
    // The preview starts from the bands last shown.
    if (m_result.status == FitStatus::Ok) in.start = m_result.channel.eq;
    return job;
}

void FitDialog::startFit() {
    m_final = false;
    m_stopped = false;
    m_job = m_runner.request(job());
    m_pFoot->started(QStringLiteral("Passt an ..."));
}

void FitDialog::onResult(int job, const FitResult& result, bool final) {
    if (job != m_job) return;
    m_final = final;
    if (result.status == FitStatus::Ok) {
        m_result = result;
    } else {
        // A refused fit leaves the channel as it is.
        m_result = FitResult{};
        m_result.channel = m_input.record;
        m_result.message = result.message;
    }
    showResult();
}

void FitDialog::onProgress(int job, double fraction) {
    if (job != m_job) return;
    m_pFoot->progressed(fraction);
}

void FitDialog::onStopped(int job) {
    if (job != m_job) return;
    m_stopped = true;
    showResult();
}

void FitDialog::showResult() {
    const bool ok = m_result.status == FitStatus::Ok;
    const std::vector<FitRow> rows = fitRows(m_input.record, m_result.channel, [this] {
        std::array<bool, EqBandCount> keep{};
        for (int e = 0; e < EqBandCount; ++e) {
            keep[static_cast<std::size_t>(e)] = m_keep[static_cast<std::size_t>(e)] &&
                                                m_keep[static_cast<std::size_t>(e)]->isChecked();
        }
        return keep;
    }());
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const FitRow& row = rows[static_cast<std::size_t>(r)];
        const std::array<QString, 3> texts = {QString::fromStdString(row.name),
                                              QString::fromStdString(row.before),
                                              QString::fromStdString(row.after)};
        for (int c = 0; c < 3; ++c) {
            QTableWidgetItem* item = readOnlyCell(texts[static_cast<std::size_t>(c)]);
            if (row.changed && ok) item->setBackground(ChangedShade);
            m_pTable->setItem(r, c, item);
        }
    }
    m_pTable->resizeColumnToContents(0);
    m_pTable->resizeColumnToContents(1);

    const bool running = !m_final && !m_stopped;
    if (!m_result.message.empty()) {
        m_pError->setText(QString::fromStdString(m_result.message));
    } else if (ok) {
        m_pError->setText(QString::fromStdString(fitErrorLine(m_result)) + QStringLiteral("."));
    } else {
        m_pError->clear();
    }
    QString status;
    if (ok) {
        status = QStringLiteral("Bereich %1 bis %2 Hz")
                     .arg(std::lround(m_result.range.loHz))
                     .arg(std::lround(m_result.range.hiHz));
        for (const FrequencyRange& dip : m_result.dipsLeftAlone) {
            status += QStringLiteral("; schmale Senke %1 bis %2 Hz ausgelassen")
                          .arg(std::lround(dip.loHz))
                          .arg(std::lround(dip.hiHz));
        }
        status += running     ? QStringLiteral(". Vorschau; die genaue Anpassung läuft ...")
                  : m_stopped ? QStringLiteral(". Angehalten: gezeigt ist die Vorschau.")
                              : QStringLiteral(".");
    } else if (running) {
        status = QStringLiteral("Passt an ...");
    }
    m_pFoot->status()->setText(status);
    if (!running) m_pFoot->ended();
    m_pFoot->applyButton()->setEnabled(ok && !running && !(m_result.channel == m_input.record));

    m_preview = ok ? fitPreview(m_result, m_input.channel) : PlotPreview{};
    emit previewChanged();
}

void FitDialog::done(int result) {
    // Nothing runs on after the dialog: its curves leave the plot.
    m_runner.stop();
    m_preview.clear();
    emit previewChanged();
    QDialog::done(result);
}
