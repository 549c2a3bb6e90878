// filtaro-cli show FILE: the header and all 4 presets x 6 channels of a
// parameter file as readable tables. Values come from the file unchecked;
// a code that no list item represents is shown as the stored number in
// brackets.

#include <cstdio>

#include "model/DelayUnits.h"
#include "model/ParameterImage.h"
#include "model/ParameterTexts.h"
#include "tools/cli/Cli.h"
#include "tools/cli/TerminalText.h"
#include "tools/cli/TextTable.h"

namespace {

std::string rawCode(long long code) {
    return "[" + std::to_string(code) + "]";
}

std::string textOrRaw(std::string_view text, long long code) {
    return text.empty() ? rawCode(code) : std::string(text);
}

std::string hz(std::int32_t v) {
    return std::to_string(v) + " Hz";
}
std::string db(std::int32_t v) {
    return std::to_string(v) + " dB";
}

std::string millimetres(std::int32_t taps) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.1f", static_cast<double>(taps) * MmPerTap);
    return buf;
}

// Three decimals tell neighbouring taps (10.41 µs apart) apart.
std::string milliseconds(std::int32_t taps) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", delayMilliseconds(taps));
    return buf;
}

std::string shownChannels(const ParameterImage& image) {
    std::string s;
    for (int c = 0; c < ChannelCount; ++c) {
        const int v = image.channelShown(c);
        s += (c ? " " : "") + std::to_string(c + 1) + "=" +
             (v == 1   ? "an"
              : v == 0 ? "aus"
                       : rawCode(v));
    }
    return s;
}

void printHeader(std::ostream& out, const ParameterImage& image, const std::string& path) {
    const std::int32_t active = image.activePreset();
    const int six = image.sixChannels();
    TextTable t;
    t.addRow({"Datei:", terminalText(path)});
    t.addRow({"Aktives Preset:",
              ParameterImage::isPreset(active) ? std::to_string(active + 1) : rawCode(active)});
    t.addRow({"Tab-Marker:", std::to_string(image.tabMarker())});
    t.addRow({"Plotbereich:", hz(image.plotStartHz()) + " bis " + hz(image.plotEndHz())});
    const std::string dir = image.workingDirectory();
    t.addRow({"Arbeitsverzeichnis:", dir.empty() ? "(leer)" : terminalText(dir)});
    t.addRow({"Kanalzahl:", six == 1 ? "6" : six == 0 ? "4" : rawCode(six)});
    t.addRow({"Kurven sichtbar:", shownChannels(image)});
    t.addRow({"Byte 283:", std::to_string(image.spareByte())});
    t.addRow({"Neuzeichnen fällig:", std::to_string(image.redrawPending())});
    t.print(out);
}

std::string shelving(const ChannelRecord& r) {
    const bool low = isShelvingQCode(4, r.eq[4].q);
    const bool high = isShelvingQCode(5, r.eq[5].q);
    if (low && high) {
        return "LowShelf, HighShelf";
    }
    return low ? "LowShelf" : high ? "HighShelf" : "-";
}

void printPreset(std::ostream& out, const ParameterImage& image, int p) {
    out << "\nPreset " << p + 1 << (p == image.activePreset() ? " (aktiv)" : "") << "\n";

    using A = TextTable::Align;
    TextTable main({A::Right, A::Right, A::Left, A::Right, A::Right, A::Right, A::Right, A::Left,
                    A::Right, A::Left, A::Left, A::Right});
    main.addRow({"Kanal", "Pegel", "Eingang", "Delay/Taps", "Delay/mm", "Delay/ms", "Hochpass",
                 "HP-Typ", "Tiefpass", "LP-Typ", "Shelving", "Reserviert"});
    TextTable eq({A::Right, A::Left, A::Right, A::Right, A::Right, A::Right, A::Right, A::Right});
    eq.addRow({"Kanal", "", "EQ1", "EQ2", "EQ3", "EQ4", "EQ5", "EQ6"});
    for (int c = 0; c < ChannelCount; ++c) {
        const ChannelRecord r = image.record(p, c);
        main.addRow({std::to_string(c + 1), db(r.level), textOrRaw(inputText(r.input), r.input),
                     std::to_string(r.delayTaps), millimetres(r.delayTaps),
                     milliseconds(r.delayTaps), hz(r.hpFrequency),
                     textOrRaw(filterTypeText(r.hpType), r.hpType), hz(r.lpFrequency),
                     textOrRaw(filterTypeText(r.lpType), r.lpType), shelving(r),
                     std::to_string(r.reserved)});
        std::vector<std::string> f{std::to_string(c + 1), "Hz"}, q{"", "Q"}, g{"", "dB"};
        for (int e = 0; e < EqBandCount; ++e) {
            const EqBand& b = r.eq[static_cast<std::size_t>(e)];
            f.push_back(std::to_string(b.frequency));
            q.push_back(textOrRaw(eqQText(e, b.q), b.q));
            g.push_back(std::to_string(b.level));
        }
        eq.addRow(std::move(f));
        eq.addRow(std::move(q));
        eq.addRow(std::move(g));
    }
    main.print(out, "  ");
    out << '\n';
    eq.print(out, "  ");
}

}  // namespace

int cliShow(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, BytePort&) {
    const CliArgs parsed(args, {});
    if (!parsed.error().empty()) {
        return cliFail(err, parsed.error(), 2);
    }
    if (parsed.positional().size() != 1) {
        return cliFail(err, "Aufruf: filtaro-cli show DATEI", 2);
    }
    const std::string& path = parsed.positional().front();
    ParameterImage image;
    if (!loadCommandFile(image, path, err)) return 1;
    printHeader(out, image, path);
    for (int p = 0; p < PresetCount; ++p) {
        printPreset(out, image, p);
    }
    out << "\n[n]: gespeicherter Code, den keine Listenauswahl darstellt\n";
    return 0;
}
