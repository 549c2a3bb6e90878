#include "interchange/ExportSections.h"

#include <cmath>

#include "interchange/DecimalText.h"
#include "model/Utf8.h"

namespace {

bool isFirstOrder(const AnalogSection& s) {
    return s.type == SectionType::HighPassFirstOrder || s.type == SectionType::LowPassFirstOrder;
}

void addCrossover(std::vector<ExportSection>& out, std::vector<AnalogSection> sections,
                  const char* role, bool merge) {
    for (std::size_t i = 0; i < sections.size(); ++i) {
        AnalogSection s = sections[i];
        if (merge && isFirstOrder(s) && i + 1 < sections.size() && sections[i + 1] == s) {
            // (w / (s + w))^2 is w^2 / (s^2 + 2ws + w^2): Q 0.5 at w.
            s.type = s.type == SectionType::HighPassFirstOrder ? SectionType::HighPass
                                                               : SectionType::LowPass;
            s.q = 0.5;
            ++i;
        }
        out.push_back({s, role});
    }
}

}  // namespace

std::vector<ExportSection> channelSections(const ChannelRecord& r, bool mergeFirstOrderPairs) {
    std::vector<ExportSection> out;
    addCrossover(out, highPassSections(r.hpFrequency, r.hpType), "Hochpass", mergeFirstOrderPairs);
    addCrossover(out, lowPassSections(r.lpFrequency, r.lpType), "Tiefpass", mergeFirstOrderPairs);
    for (int e = 0; e < EqBandCount; ++e) {
        out.push_back({eqBandSection(r.eq[e], e), "EQ" + std::to_string(e + 1)});
    }
    return out;
}

std::optional<CookbookFilter> equalCookbookFilter(const AnalogSection& s) {
    switch (s.type) {
        case SectionType::Peaking:
            return CookbookFilter{CookbookType::Peaking, s.frequency, s.gainDb,
                                  cookbookPeakingQ(s.q, s.gainDb)};
        case SectionType::HighPass:
            return CookbookFilter{CookbookType::HighPass, s.frequency, 0.0, s.q};
        case SectionType::LowPass:
            return CookbookFilter{CookbookType::LowPass, s.frequency, 0.0, s.q};
        case SectionType::HighPassFirstOrder:
            return CookbookFilter{CookbookType::HighPassFirstOrder, s.frequency, 0.0, 0.0};
        case SectionType::LowPassFirstOrder:
            return CookbookFilter{CookbookType::LowPassFirstOrder, s.frequency, 0.0, 0.0};
        case SectionType::LowShelf:
        case SectionType::HighShelf:
            break;
    }
    return std::nullopt;
}

bool hasUsableValues(const AnalogSection& s) {
    const bool usesQ = !isFirstOrder(s);
    return std::isfinite(s.frequency) && s.frequency > 0.0 && std::isfinite(s.gainDb) &&
           (!usesQ || (std::isfinite(s.q) && s.q > 0.0));
}

std::string printableName(const std::string& name) {
    std::string out;
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t n = utf8SequenceLength(name, i);
        if (n == 0) {
            out += '?';
            ++i;
        } else if (n == 1 && (static_cast<unsigned char>(name[i]) < 0x20 || name[i] == 0x7F)) {
            out += ' ';
            ++i;
        } else {
            out.append(name, i, n);
            i += n;
        }
    }
    return out;
}

std::string channelLabel(const ExportChannel& channel) {
    std::string label = "Kanal " + std::to_string(channel.index + 1);
    const std::string name = printableName(channel.name);
    return name.empty() ? label : label + " \"" + name + "\"";
}

std::string describeSection(const ExportSection& s) {
    const bool first = s.section.type == SectionType::HighPassFirstOrder ||
                       s.section.type == SectionType::LowPassFirstOrder;
    return s.role + (first ? " 1. Ordnung" : "") + " bei " + formatDecimal(s.section.frequency, 2) +
           " Hz";
}
