#include "ui/FilterExportDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr std::array<const char*, 3> FormatTexts = {
    "Equalizer APO (Text)",
    "REW (Filtertext, ein Kanal)",
    "CamillaDSP (Konfiguration, ganzes Preset)",
};

}  // namespace

FilterExportDialog::FilterExportDialog(int preset, int channel, const QString& channelName,
                                       QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Filtereinstellungen exportieren"));
    auto* layout = new QVBoxLayout(this);

    auto* formatBox = new QGroupBox(QStringLiteral("Format"), this);
    auto* formatLayout = new QVBoxLayout(formatBox);
    for (std::size_t i = 0; i < m_formats.size(); ++i) {
        m_formats[i] = new QRadioButton(QString::fromUtf8(FormatTexts[i]), formatBox);
        formatLayout->addWidget(m_formats[i]);
        connect(m_formats[i], &QRadioButton::toggled, this, [this] { followFormat(); });
    }
    layout->addWidget(formatBox);

    auto* scopeBox = new QGroupBox(QStringLiteral("Umfang"), this);
    auto* scopeLayout = new QVBoxLayout(scopeBox);
    QString channelText = QStringLiteral("Kanal %1").arg(channel + 1);
    if (!channelName.isEmpty()) channelText += QStringLiteral(" (%1)").arg(channelName);
    m_pChannel =
        new QRadioButton(channelText + QStringLiteral(" von Preset %1").arg(preset + 1), scopeBox);
    m_pPreset = new QRadioButton(
        QStringLiteral("Ganzes Preset %1 (alle sechs Kanäle)").arg(preset + 1), scopeBox);
    scopeLayout->addWidget(m_pChannel);
    scopeLayout->addWidget(m_pPreset);
    layout->addWidget(scopeBox);

    auto* rateLayout = new QFormLayout;
    m_pRate = new QComboBox(this);
    for (const int rate : SampleRates) {
        m_pRate->addItem(QStringLiteral("%1 Hz").arg(rate), rate);
    }
    m_pRate->setCurrentIndex(m_pRate->findData(DefaultExportSampleRate));
    rateLayout->addRow(QStringLiteral("Abtastrate (CamillaDSP, Prüfung bei APO):"), m_pRate);
    layout->addLayout(rateLayout);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* save =
        buttons->addButton(QStringLiteral("Speichern..."), QDialogButtonBox::AcceptRole);
    save->setDefault(true);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    connect(save, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);

    m_formats[0]->setChecked(true);
    m_pChannel->setChecked(true);
    followFormat();
}

FilterExportChoice FilterExportDialog::choice() const {
    FilterExportChoice choice;
    for (std::size_t i = 0; i < m_formats.size(); ++i) {
        if (m_formats[i]->isChecked()) choice.format = static_cast<ExportFormat>(i);
    }
    choice.wholePreset = m_pPreset->isChecked();
    choice.sampleRate = m_pRate->currentData().toInt();
    return choice;
}

void FilterExportDialog::followFormat() {
    const ExportFormat format = choice().format;
    const bool channel = formatTakesChannel(format);
    const bool preset = formatTakesPreset(format);
    m_pChannel->setEnabled(channel);
    m_pPreset->setEnabled(preset);
    if (!channel) m_pPreset->setChecked(true);
    if (!preset) m_pChannel->setChecked(true);
    m_pRate->setEnabled(formatTakesSampleRate(format));
}
