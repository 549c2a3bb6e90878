// The text fields of the channel panels: any text arriving in any of the ten
// value fields, whole or as typing brings it (one character after the
// other), then perhaps a click on the field's spin. The real panel
// (CChannelPanel) on Qt's offscreen platform, one per channel, writing into
// one image. Input: a byte choosing the channel and the active preset, a
// byte choosing the field and the action, then the text (up to 64 bytes,
// UTF-8 or not).
//
// Each text writes only its own field of the active preset's record of the
// panel's channel, and only the number the field shows (blanks around it
// allowed); a text that is no number leaves the value the field had. The
// input field takes only "0", "1" and "2". A spin click brings the field
// into the spin's range whatever the field showed. The delay's label always
// tells the stored delay. Nothing else in the image changes but the
// redraw flag.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <array>
#include <cstdlib>
#include <memory>
#include <optional>

#include "FuzzSupport.h"
#include "forms/CUpDownCtrl.h"
#include "model/ParameterImage.h"
#include "ui/CChannelPanel.h"
#include "ui/PanelLogic.h"

namespace {

constexpr std::size_t MaxTextBytes = 64;

struct ValueField {
    int edit;
    int spin;
    int field;  // ChannelRecord field
};

std::array<ValueField, 10> valueFields() {
    std::array<ValueField, 10> fields{{
        {IdHpFrequency, IdHpFrequencySpin, static_cast<int>(ChannelField::hpFrequency)},
        {IdLpFrequency, IdLpFrequencySpin, static_cast<int>(ChannelField::lpFrequency)},
        {IdDelay, IdDelaySpin, static_cast<int>(ChannelField::delayTaps)},
        {IdInput, IdInputSpin, static_cast<int>(ChannelField::input)},
    }};
    for (int e = 0; e < EqBandCount; ++e) {
        fields[4 + e] = {IdEqFrequency[e], IdEqFrequencySpin[e],
                         static_cast<int>(eqFrequencyField(e))};
    }
    return fields;
}

struct Panels {
    ParameterImage image;
    QWidget host;
    std::array<std::unique_ptr<CChannelPanel>, ChannelCount> panel;
};

Panels* g_panels = nullptr;

// What a value field makes of its text: the number it shows, if any.
std::optional<int> shownNumber(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<int> inputCode(const QString& text) {
    return inputFromStepperText(text.toStdString());
}

}  // namespace

// The caches fontconfig keeps for the life of the process look like leaks
// when it ends (the suites suppress them the same way, tests/lsan.supp).
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "fuzz_PanelText";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // for the rest of the process
    g_panels = new Panels;
    applyDefaults(g_panels->image);
    for (int c = 0; c < ChannelCount; ++c) {
        g_panels->panel[c] = std::make_unique<CChannelPanel>(&g_panels->image, c);
        g_panels->panel[c]->create(&g_panels->host);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const auto where = in.take<std::uint8_t>();
    const auto what = in.take<std::uint8_t>();
    const std::string_view bytes = in.takeBytes(MaxTextBytes);
    const int channel = where % ChannelCount;
    const int preset = where / ChannelCount % PresetCount;
    const ValueField f = valueFields()[what % 10];
    const bool typed = (what / 10) % 2 == 1;
    const int click = (what / 20) % 3;  // 0 none, 1 up, 2 down

    ParameterImage& image = g_panels->image;
    applyDefaults(image);
    image.setActivePreset(preset);
    CChannelPanel& panel = *g_panels->panel[channel];
    panel.refreshFromImage();
    image.setRedrawPending(0);
    const ParameterImage before = image;
    auto* edit = static_cast<QLineEdit*>(panel.control(f.edit));
    auto* spin = static_cast<CUpDownCtrl*>(panel.control(f.spin));
    auto* delayLabel = static_cast<QLabel*>(panel.control(IdDelayText));
    const bool isInput = f.edit == IdInput;

    // What the field holds after each text, as the panel's rules say.
    int expected = before.field(preset, channel, f.field);
    QString shown = edit->text();
    const auto arrive = [&](const QString& text) {
        if (text == edit->text()) return;  // no change, no notification
        edit->setText(text);
        const auto value = isInput ? inputCode(text) : shownNumber(text);
        if (value) expected = *value;
        shown = text;
    };
    const QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (typed) {
        for (qsizetype n = 1; n <= text.size(); ++n) arrive(text.left(n));
    } else {
        arrive(text);
    }
    fuzzCheck(image.field(preset, channel, f.field) == expected, "the field holds what it shows");

    if (click != 0) {
        spin->step(click == 1);
        const int value = image.field(preset, channel, f.field);
        fuzzCheck(value >= spin->lower() && value <= spin->upper(),
                  "a click brings the field into the spin's range");
    }

    const std::int32_t taps = image.field(preset, channel, ChannelField::delayTaps);
    fuzzCheck(delayLabel->text().toStdString() == delayText(taps), "the label tells the delay");
    for (int k = 0; k < ChannelRecordFieldCount; ++k) {
        if (k == f.field) continue;
        fuzzCheck(image.field(preset, channel, k) == before.field(preset, channel, k),
                  "no other field of the record changes");
    }
    ParameterImage others = image;
    others.setRecord(preset, channel, before.record(preset, channel));
    others.setRedrawPending(before.redrawPending());
    fuzzCheck(others == before, "no other record and no header field changes");
    return 0;
}
