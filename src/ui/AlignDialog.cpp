#include "ui/AlignDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "ui/AlignSummary.h"
#include "ui/FitSummary.h"
#include "ui/NumberBoxes.h"
#include "ui/ReadOnlyTable.h"
#include "ui/TuningFoot.h"

namespace {

// Room for a candidate's changes ("Kanal 2: +5 Taps (1,8 cm / 0,05 ms
// später), Pegel 0 → -3 dB").
constexpr int DialogWidth = 540;
constexpr int ShownCandidates = 5;

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QString joined(const std::vector<std::string>& lines, const char* prefix) {
    QStringList out;
    for (const std::string& line : lines) out << QString::fromUtf8(prefix) + text(line);
    return out.join(QLatin1Char('\n'));
}

}  // namespace

AlignDialog::AlignDialog(AlignDialogInput input, QWidget* parent)
    : QDialog(parent), m_input(std::move(input)) {
    setWindowTitle(QString::fromUtf8(AlignDialogTitle));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(
        QStringLiteral("Verzögerung, Pegel und Weiche der Kanäle, die sich am Übergang treffen, "
                       "nach den Messungen ihrer Treiber ausrichten (%1). Im Diagramm: die Summe "
                       "jetzt durchgezogen, die des gewählten Vorschlags strichpunktiert.")
            .arg(m_input.preset),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    layout->addWidget(channelGroup());
    layout->addWidget(optionsGroup());
    auto* target = new QGroupBox(QStringLiteral("Ziel der Summe"), this);
    auto* targetLayout = new QVBoxLayout(target);
    m_pTarget = new TargetShapeEditor(m_input.askTargetFile, target);
    m_pTarget->setToolTip(
        QStringLiteral("Über die äußeren Filter der Kanäle gelegt, auf seinem besten Pegel."));
    connect(m_pTarget, &TargetShapeEditor::changed, this, [this] { optionsChanged(); });
    targetLayout->addWidget(m_pTarget);
    layout->addWidget(target);

    m_pPresent = new QLabel(this);
    m_pPresent->setWordWrap(true);
    layout->addWidget(m_pPresent);
    m_pTable = readOnlyTable(
        {QStringLiteral("Nr."), QStringLiteral("Abweichung"), QStringLiteral("Änderung")}, 0, this);
    m_pTable->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    m_pTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pTable->setWordWrap(true);
    m_pTable->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_pTable, &QTableWidget::itemSelectionChanged, this, [this] {
        showPreview();
        showResult();
    });
    layout->addWidget(m_pTable, 1);
    // The warnings and what cannot be checked: several long sentences, which
    // scroll rather than push the buttons off the screen.
    m_pNotes = new QPlainTextEdit(this);
    m_pNotes->setReadOnly(true);
    m_pNotes->setFixedHeight(7 * m_pNotes->fontMetrics().lineSpacing() +
                             2 * m_pNotes->frameWidth() + 8);
    layout->addWidget(m_pNotes);
    m_pFoot =
        new TuningFoot(QStringLiteral("Hält die genaue Suche an; die Vorschau bleibt."), *this);
    connect(m_pFoot, &TuningFoot::stopRequested, this, [this] { m_runner.stop(); });
    layout->addWidget(m_pFoot);

    // Five candidates of a pair without scrolling (three channels take two
    // lines a candidate and may scroll).
    m_pTable->setMinimumHeight(m_pTable->horizontalHeader()->sizeHint().height() +
                               ShownCandidates * (m_pTable->fontMetrics().lineSpacing() + 8) +
                               2 * m_pTable->frameWidth());
    resize(QSize(DialogWidth, sizeHint().height()));
    channelsChanged();
}

QWidget* AlignDialog::channelGroup() {
    auto* group = new QGroupBox(QStringLiteral("Kanäle am Übergang"), this);
    auto* grid = new QGridLayout(group);
    for (int c = 0; c < ChannelCount; ++c) {
        auto* box = new QCheckBox(m_input.names[std::size_t(c)], group);
        const bool measured =
            m_input.measurements && !(*m_input.measurements)[std::size_t(c)].frequencies.empty();
        box->setEnabled(measured);
        if (!measured)
            box->setToolTip(QStringLiteral("Für diesen Kanal ist keine Messung geladen."));
        box->setChecked(measured && std::find(m_input.channels.begin(), m_input.channels.end(),
                                              c) != m_input.channels.end());
        connect(box, &QCheckBox::toggled, this, [this] { channelsChanged(); });
        grid->addWidget(box, c % 3, c / 3);
        m_channelBoxes[std::size_t(c)] = box;
    }
    auto* heldRow = new QHBoxLayout;
    heldRow->addWidget(new QLabel(QStringLiteral("Festgehalten:"), group));
    m_pHeld = new QComboBox(group);
    m_pHeld->setToolTip(QStringLiteral(
        "Verzögerung und Pegel dieses Kanals bleiben; die anderen werden gegen ihn verschoben."));
    connect(m_pHeld, &QComboBox::currentIndexChanged, this, [this] { optionsChanged(); });
    heldRow->addWidget(m_pHeld, 1);
    grid->addLayout(heldRow, 3, 0, 1, 2);
    return group;
}

QWidget* AlignDialog::optionsGroup() {
    auto* group = new QGroupBox(QStringLiteral("Suche"), this);
    auto* form = new QFormLayout(group);
    auto* varyRow = new QHBoxLayout;
    m_pVaryDelay = new QCheckBox(QStringLiteral("Verzögerung"), group);
    m_pVaryDelay->setChecked(true);
    m_pVaryLevel = new QCheckBox(QStringLiteral("Pegel"), group);
    m_pVaryLevel->setChecked(true);
    m_pVaryCrossover = new QCheckBox(QStringLiteral("Frequenz und Typ der Weiche"), group);
    m_pVaryCrossover->setToolTip(QStringLiteral(
        "Die Übergangsfrequenz auf dem Raster des Geräts, eine halbe Oktave nach jeder Seite, "
        "und die Filtertypen derselben Steilheit."));
    for (QCheckBox* box : {m_pVaryDelay, m_pVaryLevel, m_pVaryCrossover}) {
        varyRow->addWidget(box);
        connect(box, &QCheckBox::toggled, this, [this] { optionsChanged(); });
    }
    varyRow->addStretch(1);
    form->addRow(QStringLiteral("Ändern:"), varyRow);

    auto* regionRow = new QHBoxLayout;
    m_pAutoRegion = new QCheckBox(QStringLiteral("automatisch"), group);
    m_pAutoRegion->setChecked(true);
    m_pAutoRegion->setToolTip(
        QStringLiteral("Eine Oktave unter bis eine Oktave über dem Übergang, soweit die Messungen "
                       "reichen."));
    m_pRegionLo = wholeBox(20, 20000, 20, " Hz", group);
    m_pRegionHi = wholeBox(20, 20000, 20000, " Hz", group);
    for (QSpinBox* box : {m_pRegionLo, m_pRegionHi}) {
        box->setEnabled(false);
        connect(box, &QSpinBox::valueChanged, this, [this] { optionsChanged(); });
    }
    regionRow->addWidget(m_pAutoRegion);
    regionRow->addWidget(m_pRegionLo);
    regionRow->addWidget(new QLabel(QStringLiteral("bis"), group));
    regionRow->addWidget(m_pRegionHi);
    form->addRow(QStringLiteral("Bereich:"), regionRow);
    connect(m_pAutoRegion, &QCheckBox::toggled, this, [this](bool automatic) {
        m_pRegionLo->setEnabled(!automatic);
        m_pRegionHi->setEnabled(!automatic);
        optionsChanged();
    });

    return group;
}

void AlignDialog::channelsChanged() {
    // The held channel stays if it is still chosen; else the first chosen.
    const QVariant held = m_pHeld->currentData();
    const QSignalBlocker block(m_pHeld);
    m_pHeld->clear();
    bool phase = true;
    for (int c = 0; c < ChannelCount; ++c) {
        if (!m_channelBoxes[std::size_t(c)]->isChecked()) continue;
        m_pHeld->addItem(m_input.names[std::size_t(c)], c);
        phase = phase && m_input.measurements &&
                !(*m_input.measurements)[std::size_t(c)].phaseDegrees.empty();
    }
    const int index = m_pHeld->findData(held);
    m_pHeld->setCurrentIndex(std::max(index, 0));
    // Delay and crossover need the phase of every driver.
    for (QCheckBox* box : {m_pVaryDelay, m_pVaryCrossover}) {
        box->setEnabled(phase);
        box->setToolTip(phase ? QString()
                              : QStringLiteral("Braucht Messungen mit Phase von jedem Treiber."));
    }
    optionsChanged();
}

void AlignDialog::optionsChanged() {
    if (m_searchPending) return;
    m_searchPending = true;
    QTimer::singleShot(0, this, [this] {
        m_searchPending = false;
        startSearch();
    });
}

AlignInput AlignDialog::input() const {
    AlignInput in;
    in.records = m_input.records;
    for (int c = 0; c < ChannelCount; ++c) {
        if (m_channelBoxes[std::size_t(c)]->isChecked()) in.channels.push_back(c);
    }
    if (m_input.measurements) in.measurements = *m_input.measurements;
    AlignOptions& o = in.options;
    o.vary.delay = m_pVaryDelay->isEnabled() && m_pVaryDelay->isChecked();
    o.vary.level = m_pVaryLevel->isChecked();
    o.vary.crossover = m_pVaryCrossover->isEnabled() && m_pVaryCrossover->isChecked();
    if (m_pHeld->currentIndex() >= 0) o.held = m_pHeld->currentData().toInt();
    if (!m_pAutoRegion->isChecked()) {
        o.region = FrequencyRange{double(m_pRegionLo->value()), double(m_pRegionHi->value())};
    }
    m_pTarget->fill(o.target);
    o.candidateCount = ShownCandidates;
    return in;
}

void AlignDialog::startSearch() {
    m_final = false;
    m_stopped = false;
    m_requested = input();
    m_job = m_runner.request([this, in = m_requested](LatestJobRunner::Work& work) mutable {
        const int number = work.number();
        const auto answer = [this, &work, number](AlignResult r, bool final) {
            work.post([this, number, r = std::move(r), final] { onResult(number, r, final); },
                      final);
        };
        in.options.effort = AlignEffort::Preview;
        AlignResult preview = alignCrossover(in, {nullptr, work.cancel()});
        if (preview.status == AlignStatus::Cancelled) {
            work.post([this, number] { onStopped(number); }, true);
            return;
        }
        const bool refused = preview.status != AlignStatus::Ok;
        answer(std::move(preview), refused);
        if (refused) return;
        in.options.effort = AlignEffort::Full;
        FitProgress progress;
        progress.cancel = work.cancel();
        progress.report = [this, &work, number](double fraction) {
            work.post([this, number, fraction] { onProgress(number, fraction); });
        };
        AlignResult full = alignCrossover(in, progress);
        if (full.status == AlignStatus::Cancelled) {
            work.post([this, number] { onStopped(number); }, true);
            return;
        }
        answer(std::move(full), true);
    });
    m_pFoot->started(QStringLiteral("Sucht ..."));
}

void AlignDialog::onResult(int job, const AlignResult& result, bool final) {
    if (job != m_job) return;
    m_final = final;
    m_result = result;
    m_used = m_requested;
    if (m_pAutoRegion->isChecked() && m_result.status == AlignStatus::Ok) {
        // The region the search chose, as a start for setting it by hand.
        const QSignalBlocker lo(m_pRegionLo);
        const QSignalBlocker hi(m_pRegionHi);
        m_pRegionLo->setValue(static_cast<int>(std::lround(m_result.region.loHz)));
        m_pRegionHi->setValue(static_cast<int>(std::lround(m_result.region.hiHz)));
    }
    const QSignalBlocker block(m_pTable);
    m_pTable->setRowCount(static_cast<int>(m_result.candidates.size()));
    std::vector<ChannelRecord> present;
    for (int c : m_used.channels) present.push_back(m_used.records[std::size_t(c)]);
    for (int r = 0; r < m_pTable->rowCount(); ++r) {
        const AlignCandidate& candidate = m_result.candidates[std::size_t(r)];
        const std::vector<std::string> lines =
            candidateLines(m_used.channels, m_result.held, present, candidate.records);
        QStringList changes;
        for (const std::string& line : lines) changes << text(line);
        m_pTable->setItem(r, 0, readOnlyCell(QString::number(r + 1), Qt::AlignCenter));
        m_pTable->setItem(r, 1,
                          readOnlyCell(text(germanDecimal(candidate.scoreDb, 2) + " dB"),
                                       Qt::AlignRight | Qt::AlignVCenter));
        m_pTable->setItem(r, 2, readOnlyCell(changes.join(QLatin1Char('\n'))));
    }
    m_pTable->resizeColumnToContents(0);
    m_pTable->resizeColumnToContents(1);
    m_pTable->resizeRowsToContents();
    if (m_pTable->rowCount() > 0) m_pTable->selectRow(0);
    showPreview();
    showResult();
}

void AlignDialog::onProgress(int job, double fraction) {
    if (job != m_job) return;
    m_pFoot->progressed(fraction);
}

void AlignDialog::onStopped(int job) {
    if (job != m_job) return;
    m_stopped = true;
    showResult();
}

std::optional<std::vector<ChannelRecord>> AlignDialog::chosen() const {
    const int row = m_pTable->currentRow();
    if (m_result.status != AlignStatus::Ok || row < 0 ||
        row >= static_cast<int>(m_result.candidates.size())) {
        return std::nullopt;
    }
    return m_result.candidates[std::size_t(row)].records;
}

void AlignDialog::showResult() {
    const bool ok = m_result.status == AlignStatus::Ok;
    const bool running = !m_final && !m_stopped;
    if (ok) {
        m_pPresent->setText(
            QStringLiteral("Jetzt: Abweichung %1 dB im Bereich %2 bis %3 Hz, %4 festgehalten%5.")
                .arg(text(germanDecimal(m_result.presentScoreDb, 2)))
                .arg(std::lround(m_result.region.loHz))
                .arg(std::lround(m_result.region.hiHz))
                .arg(m_input.names[std::size_t(std::clamp(m_result.held, 0, ChannelCount - 1))])
                .arg(m_result.phaseUsed ? QString()
                                        : QStringLiteral("; ohne Phase nur die Pegel (im "
                                                         "Diagramm jeder Treiber mit dem Pegel "
                                                         "des Vorschlags)")));
    } else {
        m_pPresent->setText(text(m_result.message));
    }
    QStringList notes;
    if (ok && !m_result.warnings.empty()) notes << joined(m_result.warnings, "Warnung: ");
    if (ok && !m_result.unchecked.empty()) notes << joined(m_result.unchecked, "Nicht geprüft: ");
    m_pNotes->setPlainText(notes.join(QLatin1Char('\n')));
    m_pFoot->status()->setText(running
                                   ? (ok ? QStringLiteral("Vorschau; die genaue Suche läuft ...")
                                         : QStringLiteral("Sucht ..."))
                               : m_stopped ? QStringLiteral("Angehalten: gezeigt ist die Vorschau.")
                                           : QString());
    if (!running) m_pFoot->ended();
    std::vector<ChannelRecord> present;
    for (int c : m_used.channels) present.push_back(m_used.records[std::size_t(c)]);
    const std::optional<std::vector<ChannelRecord>> records = chosen();
    m_pFoot->applyButton()->setEnabled(!running && records && *records != present);
}

void AlignDialog::showPreview() {
    const std::optional<std::vector<ChannelRecord>> records = chosen();
    m_preview = records
                    ? alignPreview(m_used, *records, m_pTable->currentRow() + 1, m_input.offsetDb)
                    : PlotPreview{};
    emit previewChanged();
}

void AlignDialog::done(int result) {
    // Nothing runs on after the dialog: its curves leave the plot.
    m_runner.stop();
    m_preview.clear();
    emit previewChanged();
    QDialog::done(result);
}
