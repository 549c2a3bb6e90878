#pragma once
// "Filtereinstellungen exportieren": the format (Equalizer APO text, REW
// filter text, CamillaDSP configuration), the scope (the channel shown or
// the whole preset shown, as far as the format takes it) and the sample
// rate (CamillaDSP's, and the one an APO export is checked at; not for REW).
// "Speichern..." accepts; the caller then asks for the file.

#include <QDialog>
#include <array>

#include "interchange/SettingsExport.h"

class QComboBox;
class QRadioButton;

struct FilterExportChoice {
    ExportFormat format = ExportFormat::Apo;
    bool wholePreset = false;
    int sampleRate = DefaultExportSampleRate;
};

class FilterExportDialog : public QDialog {
    Q_OBJECT

public:
    // `channel` and `preset` are those shown (0-based); `channelName` may be
    // empty.
    FilterExportDialog(int preset, int channel, const QString& channelName,
                       QWidget* parent = nullptr);

    FilterExportChoice choice() const;

    QRadioButton* formatButton(ExportFormat format) const {
        return m_formats[static_cast<std::size_t>(format)];
    }
    QRadioButton* channelButton() const { return m_pChannel; }
    QRadioButton* presetButton() const { return m_pPreset; }
    QComboBox* rateBox() const { return m_pRate; }

    // The sample rates offered; the default is DefaultExportSampleRate.
    static constexpr std::array<int, 6> SampleRates = {44100, 48000, 88200, 96000, 176400, 192000};

private:
    // Scope and rate as far as the chosen format takes them.
    void followFormat();

    std::array<QRadioButton*, 3> m_formats{};
    QRadioButton* m_pChannel = nullptr;
    QRadioButton* m_pPreset = nullptr;
    QComboBox* m_pRate = nullptr;
};
