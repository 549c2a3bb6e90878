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

// Shelves without a Q or slope: the slope both programs use then.
constexpr double DefaultShelfSlope = 0.9;

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

// Q of an analog peaking band whose bandwidth is `octaves` between the points
// of half the gain in dB.
double qFromOctaves(double octaves) {
    const double r = std::pow(2.0, octaves);
    return std::sqrt(r) / (r - 1.0);
}

// Q of a shelf of slope S (1 being the steepest without overshoot) and
// gain G: 1/Q = sqrt((A + 1/A)(1/S - 1) + 2) with A = 10^(G/40).
std::optional<double> qFromShelfSlope(double s, double gainDb) {
    const double a = std::pow(10.0, gainDb / 40.0);
    const double radicand = (a + 1.0 / a) * (1.0 / s - 1.0) + 2.0;
    if (!(radicand > 0.0)) return std::nullopt;
    return 1.0 / std::sqrt(radicand);
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

    TextFilter f;
    f.typeName = typeWord;
    f.enabled = enabled;
    f.frequency = *v.fc;
    f.gainDb = needsGain ? *v.gain : 0.0;
    f.qGiven = v.q.has_value() || v.bandwidth.has_value();
    switch (type->kind) {
        case Kind::Peaking:
            if (!f.qGiven) return unreadable("Güte (Q) oder Bandbreite fehlt");
            f.type = TextFilterType::Peaking;
            f.q = v.q ? *v.q : qFromOctaves(*v.bandwidth);
            break;
        case Kind::LowShelf:
        case Kind::HighShelf: {
            f.type =
                type->kind == Kind::LowShelf ? TextFilterType::LowShelf : TextFilterType::HighShelf;
            if (v.bandwidth) return unreadable("ein Shelf hat keine Bandbreite");
            if (v.q && v.slope) return unreadable("Q und Steilheit zugleich");
            if (v.q) {
                f.q = *v.q;
                break;
            }
            f.slopeDbPerOctave = v.slope.value_or(0.0);
            const double s = v.slope ? *v.slope / 12.0 : DefaultShelfSlope;
            const auto q = qFromShelfSlope(s, f.gainDb);
            if (!q) {
                return issue(TextIssueKind::Unsupported, "Steilheit zu groß für diese Verstärkung");
            }
            f.q = *q;
            break;
        }
        case Kind::HighPass:
        case Kind::LowPass:
            f.type =
                type->kind == Kind::HighPass ? TextFilterType::HighPass : TextFilterType::LowPass;
            if (v.bandwidth) return unreadable("ein Hoch- oder Tiefpass hat keine Bandbreite");
            f.q = v.q ? *v.q : 1.0 / std::sqrt(2.0);
            break;
        default:
            break;
    }
    FilterLineResult r;
    r.outcome = FilterLineResult::Outcome::Filter;
    r.filter = f;
    return r;
}
