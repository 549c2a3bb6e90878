#include "interchange/FilterLine.h"

#include <cmath>
#include <optional>

#include "interchange/DecimalText.h"
#include "interchange/TextTokens.h"

namespace {

enum class Kind { Peaking, LowShelf, HighShelf, HighPass, LowPass, Unsupported, None };

struct TypeName {
    const char* name;
    Kind kind;
    const char* german;  // what an unsupported type is, for the reason
};

constexpr TypeName TypeNames[] = {
    {"PK", Kind::Peaking, ""},
    {"PEQ", Kind::Peaking, ""},
    {"Modal", Kind::Peaking, ""},
    {"LS", Kind::LowShelf, ""},
    {"LSC", Kind::LowShelf, ""},
    {"HS", Kind::HighShelf, ""},
    {"HSC", Kind::HighShelf, ""},
    {"HP", Kind::HighPass, ""},
    {"HPQ", Kind::HighPass, ""},
    {"LP", Kind::LowPass, ""},
    {"LPQ", Kind::LowPass, ""},
    {"None", Kind::None, ""},
    {"BP", Kind::Unsupported, "Bandpass"},
    {"NO", Kind::Unsupported, "Kerbfilter"},
    {"AP", Kind::Unsupported, "Allpass"},
    {"IIR", Kind::Unsupported, "IIR-Filter mit Koeffizienten"},
};

// The values a line may hold. Beyond them no program's filter means
// anything audible, and the responses would leave the range of a double.
constexpr double LowestFrequency = 0.01;
constexpr double HighestFrequency = 1e6;
constexpr double LowestQ = 0.001;
constexpr double HighestQ = 1000.0;
constexpr double HighestOctaves = 20.0;
constexpr double HighestGain = 150.0;

FilterLineResult issue(TextIssueKind kind, std::string reason) {
    FilterLineResult r;
    r.outcome = FilterLineResult::Outcome::Issue;
    r.issueKind = kind;
    r.reason = std::move(reason);
    return r;
}

FilterLineResult unreadable(std::string reason) {
    return issue(TextIssueKind::Unreadable, std::move(reason));
}

// A value outside what a filter can mean: a correct line the device cannot take.
std::optional<FilterLineResult> outOfRange(const char* what, double value, double lo, double hi,
                                           const char* unit) {
    if (value >= lo && value <= hi) return std::nullopt;
    return issue(TextIssueKind::Unsupported,
                 std::string(what) + " " + formatReadValue(value, 2) + unit + " liegt nicht in " +
                     formatReadValue(lo, 2) + unit + " bis " + formatReadValue(hi, 2) + unit);
}

class Scanner {
public:
    explicit Scanner(std::vector<TextToken> tokens) : m_tokens(std::move(tokens)) {}
    bool atEnd() const { return m_pos >= m_tokens.size(); }
    const TextToken& peek() const { return m_tokens[m_pos]; }
    const TextToken& next() { return m_tokens[m_pos++]; }
    bool nextIsWord(std::string_view w) const {
        return !atEnd() && peek().kind == TextToken::Kind::Word && sameWord(peek().text, w);
    }
    bool nextIsNumber() const { return !atEnd() && peek().kind == TextToken::Kind::Number; }
    // Skips the unit if it follows.
    void unit(std::string_view w) {
        if (nextIsWord(w)) ++m_pos;
    }

private:
    std::vector<TextToken> m_tokens;
    std::size_t m_pos = 0;
};

struct Values {
    std::optional<double> fc, gain, q, bandwidth, slope;
};

// Reads "Fc .. Hz", "Gain .. dB", "Q ..", "BW Oct .." in any order. Returns
// a reason when the rest of the line is not such a list.
std::optional<std::string> readValues(Scanner& in, Kind kind, Values& v) {
    while (!in.atEnd()) {
        const TextToken key = in.next();
        if (key.kind != TextToken::Kind::Word) {
            return "unerwartete Angabe \"" + key.text + "\"";
        }
        // Modal filters may end with the decay time they were made for; the
        // filter itself is complete without it.
        if (kind == Kind::Peaking && sameWord(key.text, "T")) break;
        std::optional<double>* slot = nullptr;
        bool frequency = false;
        if (sameWord(key.text, "Fc")) {
            slot = &v.fc;
            frequency = true;
        } else if (sameWord(key.text, "Gain")) {
            slot = &v.gain;
        } else if (sameWord(key.text, "Q")) {
            slot = &v.q;
        } else if (sameWord(key.text, "BW")) {
            if (!in.nextIsWord("Oct")) return "Bandbreite ohne \"Oct\"";
            in.next();
            slot = &v.bandwidth;
        } else {
            return "unbekannte Angabe \"" + key.text + "\"";
        }
        if (slot->has_value()) return "\"" + key.text + "\" steht zweimal";
        if (!in.nextIsNumber()) return "kein Zahlenwert nach \"" + key.text + "\"";
        const std::string number = in.next().text;
        *slot = frequency ? parseFrequency(number) : parseDecimal(number);
        if (!slot->has_value()) return "\"" + number + "\" ist keine Zahl";
        if (frequency) {
            in.unit("Hz");
        } else if (slot == &v.gain) {
            in.unit("dB");
        }
    }
    return std::nullopt;
}

}  // namespace

FilterLineResult parseFilterParameters(std::string_view parameters) {
    Scanner in(tokenize(parameters));
    bool enabled = true;
    if (in.nextIsWord("ON")) {
        in.next();
    } else if (in.nextIsWord("OFF")) {
        in.next();
        enabled = false;
    } else {
        return unreadable("\"ON\" oder \"OFF\" fehlt");
    }
    if (in.atEnd() || in.peek().kind != TextToken::Kind::Word) {
        return unreadable("Filtertyp fehlt");
    }
    const std::string typeWord = in.next().text;
    const TypeName* type = nullptr;
    for (const TypeName& t : TypeNames) {
        if (sameWord(t.name, typeWord)) type = &t;
    }
    if (type == nullptr) return unreadable("unbekannter Filtertyp \"" + typeWord + "\"");
    if (type->kind == Kind::None) {
        FilterLineResult empty;
        empty.outcome = FilterLineResult::Outcome::Empty;
        return empty;
    }
    if (type->kind == Kind::Unsupported) {
        return issue(TextIssueKind::Unsupported,
                     std::string(type->german) + " (" + typeWord + ") gibt es im Gerät nicht");
    }
    const bool shelf = type->kind == Kind::LowShelf || type->kind == Kind::HighShelf;
    Values v;
    // A shelf's slope in dB per octave stands right after its type ("LS 12dB").
    if (shelf && in.nextIsNumber()) {
        const std::string number = in.next().text;
        if (!in.nextIsWord("dB")) return unreadable("Steilheit ohne \"dB\"");
        in.next();
        v.slope = parseDecimal(number);
        if (!v.slope) return unreadable("\"" + number + "\" ist keine Zahl");
    }
    if (const auto reason = readValues(in, type->kind, v)) return unreadable(*reason);

    if (!v.fc) return unreadable("Frequenz (Fc) fehlt");
    if (!(*v.fc > 0.0)) return unreadable("Frequenz muss größer als 0 sein");
    const bool needsGain = type->kind == Kind::Peaking || shelf;
    if (needsGain && !v.gain) return unreadable("Verstärkung (Gain) fehlt");
    if ((v.q && !(*v.q > 0.0)) || (v.bandwidth && !(*v.bandwidth > 0.0)) ||
        (v.slope && !(*v.slope > 0.0))) {
        return unreadable("Q, Bandbreite und Steilheit müssen größer als 0 sein");
    }
    if (v.q && v.bandwidth) return unreadable("Q und Bandbreite zugleich");

    if (auto r = outOfRange("Frequenz", *v.fc, LowestFrequency, HighestFrequency, " Hz")) return *r;
    if (v.gain) {
        if (auto r = outOfRange("Verstärkung", *v.gain, -HighestGain, HighestGain, " dB"))
            return *r;
    }
    if (v.q) {
        if (auto r = outOfRange("Q", *v.q, LowestQ, HighestQ, "")) return *r;
    }
    if (v.bandwidth) {
        if (auto r = outOfRange("Bandbreite", *v.bandwidth, 0.0, HighestOctaves, " Oktaven")) {
            return *r;
        }
    }

    TextFilter f;
    f.typeName = typeWord;
    f.enabled = enabled;
    f.frequency = *v.fc;
    f.gainDb = needsGain ? *v.gain : 0.0;
    f.qGiven = v.q.has_value() || v.bandwidth.has_value();
    CookbookFilter& section = f.section;
    section.frequency = f.frequency;
    section.gainDb = f.gainDb;
    switch (type->kind) {
        case Kind::Peaking:
            if (!f.qGiven) return unreadable("Güte (Q) oder Bandbreite fehlt");
            f.type = TextFilterType::Peaking;
            section.type = CookbookType::Peaking;
            f.q = v.q ? *v.q : peakingQFromOctaves(*v.bandwidth);
            if (auto r = outOfRange("Q", f.q, LowestQ, HighestQ, "")) return *r;
            break;
        case Kind::LowShelf:
        case Kind::HighShelf: {
            const bool low = type->kind == Kind::LowShelf;
            f.type = low ? TextFilterType::LowShelf : TextFilterType::HighShelf;
            section.type = low ? CookbookType::LowShelf : CookbookType::HighShelf;
            if (v.bandwidth) return unreadable("ein Shelf hat keine Bandbreite");
            if (v.q && v.slope) return unreadable("Q und Steilheit zugleich");
            double slope = DefaultShelfSlope;
            if (v.q) {
                f.q = *v.q;
                slope = shelfSlopeFromQ(f.q, f.gainDb);
            } else {
                f.slopeDbPerOctave = v.slope.value_or(0.0);
                if (v.slope) slope = *v.slope / 12.0;
                const auto q = shelfQFromSlope(slope, f.gainDb);
                if (!q) {
                    return issue(TextIssueKind::Unsupported,
                                 "Steilheit zu groß für diese Verstärkung");
                }
                f.q = *q;
            }
            if (auto r = outOfRange("Q", f.q, LowestQ, HighestQ, "")) return *r;
            f.cornerFrequency =
                apoShelfFrequencyIsCorner(typeWord, v.q.has_value() || v.slope.has_value());
            if (f.cornerFrequency) {
                section.frequency = shelfMidpointFromCorner(f.frequency, f.gainDb, slope, low);
                if (!(section.frequency >= LowestFrequency &&
                      section.frequency <= HighestFrequency)) {
                    return issue(TextIssueKind::Unsupported,
                                 "die Mitte des Shelfs läge bei " +
                                     formatReadValue(section.frequency, 2) + " Hz");
                }
            }
            break;
        }
        case Kind::HighPass:
        case Kind::LowPass: {
            const bool high = type->kind == Kind::HighPass;
            f.type = high ? TextFilterType::HighPass : TextFilterType::LowPass;
            section.type = high ? CookbookType::HighPass : CookbookType::LowPass;
            if (v.bandwidth) return unreadable("ein Hoch- oder Tiefpass hat keine Bandbreite");
            f.q = v.q ? *v.q : DefaultPassQ;
            break;
        }
        default:
            break;
    }
    section.q = f.q;
    FilterLineResult r;
    r.outcome = FilterLineResult::Outcome::Filter;
    r.filter = f;
    return r;
}

std::optional<Biquad> parseIirParameters(std::string_view parameters) {
    const std::vector<TextToken> tokens = tokenize(parameters);
    const char* words[] = {"ON", "IIR", "Order"};
    if (tokens.size() != 11) return std::nullopt;
    for (std::size_t i = 0; i < 3; ++i) {
        if (tokens[i].kind != TextToken::Kind::Word || !sameWord(tokens[i].text, words[i])) {
            return std::nullopt;
        }
    }
    if (tokens[3].text != "2" || !sameWord(tokens[4].text, "Coefficients")) return std::nullopt;
    double c[6];
    for (std::size_t i = 0; i < 6; ++i) {
        const TextToken& t = tokens[5 + i];
        // APO reads numbers with a point; a comma here would be no decimal.
        const auto value =
            t.kind == TextToken::Kind::Number && t.text.find(',') == std::string::npos
                ? parseDecimal(t.text)
                : std::nullopt;
        if (!value) return std::nullopt;
        c[i] = *value;
    }
    if (c[3] == 0.0) return std::nullopt;
    return Biquad{c[0] / c[3], c[1] / c[3], c[2] / c[3], c[4] / c[3], c[5] / c[3]};
}

std::optional<double> singleSampleRate(std::string_view condition) {
    const std::vector<TextToken> tokens = tokenize(condition);
    if (tokens.size() != 4 || !sameWord(tokens[0].text, "sampleRate") || tokens[1].text != "=" ||
        tokens[2].text != "=" || tokens[3].kind != TextToken::Kind::Number) {
        return std::nullopt;
    }
    const auto rate = parseDecimal(tokens[3].text);
    if (!rate || !(*rate > 0.0)) return std::nullopt;
    return rate;
}
