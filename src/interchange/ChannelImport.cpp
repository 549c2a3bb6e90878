#include "interchange/ChannelImport.h"

#include <algorithm>
#include <cmath>

#include "interchange/CrossoverFit.h"
#include "interchange/DecimalText.h"
#include "interchange/FieldMapping.h"
#include "model/ParameterLimits.h"
#include "model/ParameterTexts.h"
#include "response/AnalogSection.h"
#include "response/EqResponse.h"
#include "response/FilterResponse.h"

namespace {

using ParameterLimits::Range;

// EQ5 is the band that shelves low on the panel; EQ6 (HighShelfBand) high.
constexpr int LowShelfBand = 4;
// A crossover that differs by less than this from its sections counts as set exactly.
constexpr double ExactCrossoverDb = 0.01;

std::string hz(double f) {
    return formatDecimal(f, 2) + " Hz";
}
std::string db(double g) {
    return formatSignedDecimal(g, 2) + " dB";
}
std::string range(Range r, const char* unit) {
    return formatSignedDecimal(r.lo, 0) + ".." + formatSignedDecimal(r.hi, 0) + unit;
}

bool isEq(const TextFilter& f) {
    return f.type == TextFilterType::Peaking || f.type == TextFilterType::LowShelf ||
           f.type == TextFilterType::HighShelf;
}

SectionType sectionType(TextFilterType t) {
    switch (t) {
        case TextFilterType::Peaking:
            return SectionType::Peaking;
        case TextFilterType::LowShelf:
            return SectionType::LowShelf;
        case TextFilterType::HighShelf:
            return SectionType::HighShelf;
        case TextFilterType::HighPass:
            return SectionType::HighPass;
        case TextFilterType::LowPass:
            return SectionType::LowPass;
    }
    return SectionType::Peaking;
}

AnalogSection designed(const TextFilter& f) {
    return {sectionType(f.type), f.frequency, f.q, f.gainDb};
}

std::string describeRead(const TextFilter& f) {
    std::string s = f.typeName + " " + hz(f.frequency);
    if (isEq(f)) s += ", " + db(f.gainDb);
    if (f.slopeDbPerOctave > 0.0) s += ", " + formatDecimal(f.slopeDbPerOctave, 2) + " dB/Okt.";
    if (f.qGiven) {
        s += ", Q " + formatDecimal(f.q, 3);
    } else {
        s += " (entspricht Q " + formatDecimal(f.q, 3) + ")";
    }
    return s;
}

std::string bandName(int band) {
    return "EQ" + std::to_string(band + 1);
}

std::string describeBand(const EqBand& b, int band) {
    std::string s = bandName(band);
    if (isShelvingQCode(band, b.q)) {
        s += band == LowShelfBand ? " (Tiefen-Shelf)" : " (Höhen-Shelf)";
    }
    return s + ": " + hz(b.frequency) + ", " + db(b.level) + ", Q " +
           std::string(eqQText(band, b.q));
}

// Adds the notes for a value that was set as `set` from `read`; `clamped`
// when `read` lay outside what the field allows.
void noteValue(ImportItem& item, const std::string& what, const std::string& read,
               const std::string& set, bool clamped, const std::string& limits) {
    if (read == set) return;
    item.notes.push_back(clamped ? what + " " + read + " auf " + limits + " begrenzt: " + set
                                 : what + " " + read + " gerundet auf " + set);
}

struct EqChoice {
    const TextEntry* entry;
    bool kept = false;
    std::string dropReason;
    int band = -1;
};

// Which EQ filters are kept: by |gain|, largest first, while bands are free;
// only one low and one high shelf.
void chooseEqFilters(std::vector<EqChoice>& choices) {
    std::vector<EqChoice*> order;
    for (EqChoice& c : choices) order.push_back(&c);
    std::stable_sort(order.begin(), order.end(), [](const EqChoice* a, const EqChoice* b) {
        return std::fabs(a->entry->filter.gainDb) > std::fabs(b->entry->filter.gainDb);
    });
    int taken = 0;
    bool lowShelf = false;
    bool highShelf = false;
    for (EqChoice* c : order) {
        const TextFilterType t = c->entry->filter.type;
        if (taken == EqBandCount) {
            c->dropReason =
                "nicht übernommen: alle sechs Bänder belegt, die übernommenen haben "
                "größere Verstärkungen";
        } else if (t == TextFilterType::LowShelf && lowShelf) {
            c->dropReason = "nicht übernommen: nur ein Tiefen-Shelf möglich (EQ5)";
        } else if (t == TextFilterType::HighShelf && highShelf) {
            c->dropReason = "nicht übernommen: nur ein Höhen-Shelf möglich (EQ6)";
        } else {
            lowShelf = lowShelf || t == TextFilterType::LowShelf;
            highShelf = highShelf || t == TextFilterType::HighShelf;
            c->kept = true;
            ++taken;
        }
    }
}

// Shelves onto their bands, peaking filters in text order onto the bands left.
void assignBands(std::vector<EqChoice>& choices) {
    bool used[EqBandCount] = {};
    for (EqChoice& c : choices) {
        if (!c.kept) continue;
        if (c.entry->filter.type == TextFilterType::LowShelf) c.band = LowShelfBand;
        if (c.entry->filter.type == TextFilterType::HighShelf) c.band = HighShelfBand;
        if (c.band >= 0) used[c.band] = true;
    }
    int next = 0;
    for (EqChoice& c : choices) {
        if (!c.kept || c.band >= 0) continue;
        while (used[next]) ++next;
        c.band = next;
        used[next] = true;
    }
}

ImportItem mapEqFilter(const EqChoice& c, ChannelRecord& record) {
    const TextFilter& f = c.entry->filter;
    ImportItem item;
    item.lines = {c.entry->line};
    item.asRead = describeRead(f);
    if (!c.kept) {
        item.status = ImportItemStatus::Dropped;
        item.notes.push_back(c.dropReason);
        return item;
    }
    const bool shelf = f.type != TextFilterType::Peaking;
    const Range fRange = f.type == TextFilterType::LowShelf    ? ParameterLimits::lowShelfFrequency
                         : f.type == TextFilterType::HighShelf ? ParameterLimits::highShelfFrequency
                                                               : ParameterLimits::eqFrequency;
    EqBand& band = record.eq[c.band];
    band.frequency = nearestGridFrequency(f.frequency, fRange);
    band.q = shelf ? nearestShelfQCode(f.q) : nearestPeakingQCode(f.q);
    band.level = wholeDb(f.gainDb, ParameterLimits::eqGain);
    item.asSet = describeBand(band, c.band);

    noteValue(item, "Frequenz", hz(f.frequency), hz(band.frequency),
              f.frequency < fRange.lo || f.frequency > fRange.hi,
              std::to_string(fRange.lo) + ".." + std::to_string(fRange.hi) + " Hz");
    const double setQ = eqBandSection(band, c.band).q;
    const double qLo = shelf ? 0.3 : 0.5;
    const double qHi = shelf ? 0.7 : 10.0;
    noteValue(item, "Q", formatDecimal(f.q, 3), formatDecimal(setQ, 3), f.q < qLo || f.q > qHi,
              formatDecimal(qLo, 1) + ".." + formatDecimal(qHi, 1));
    noteValue(item, "Verstärkung", db(f.gainDb), db(band.level),
              f.gainDb < ParameterLimits::eqGain.lo || f.gainDb > ParameterLimits::eqGain.hi,
              range(ParameterLimits::eqGain, " dB"));
    item.status = item.notes.empty() ? ImportItemStatus::Exact : ImportItemStatus::Adjusted;
    return item;
}

ImportItem offItem(const TextEntry& e) {
    ImportItem item;
    item.lines = {e.line};
    item.asRead = describeRead(e.filter);
    item.status = ImportItemStatus::Off;
    item.notes.push_back("ausgeschaltet (OFF), nicht übernommen");
    return item;
}

ImportItem crossoverItem(const std::vector<const TextEntry*>& entries, bool high, int type,
                         int frequency, double differenceDb) {
    ImportItem item;
    std::string read;
    for (const TextEntry* e : entries) {
        item.lines.push_back(e->line);
        read += (read.empty() ? "" : "; ") + describeRead(e->filter);
    }
    item.asRead = read;
    item.asSet = std::string(high ? "Hochpass: " : "Tiefpass: ") +
                 std::string(filterTypeText(type)) +
                 (type == FilterOff ? "" : ", " + std::to_string(frequency) + " Hz");
    if (differenceDb >= ExactCrossoverDb) {
        item.notes.push_back("nächster Filter des Geräts, weicht bis " +
                             formatDecimal(differenceDb, 2) + " dB ab");
    }
    item.status = item.notes.empty() ? ImportItemStatus::Exact : ImportItemStatus::Adjusted;
    return item;
}

ImportItem valueItem(const std::vector<const TextEntry*>& entries, const std::string& read,
                     const std::string& set) {
    ImportItem item;
    for (const TextEntry* e : entries) item.lines.push_back(e->line);
    item.asRead = read;
    item.asSet = set;
    return item;
}

struct Collected {
    std::vector<EqChoice> eq;
    std::vector<const TextEntry*> highPass, lowPass, preamps, delays, off;
};

Collected collect(const std::vector<TextEntry>& entries) {
    Collected c;
    for (const TextEntry& e : entries) {
        if (e.kind == TextEntryKind::Preamp) {
            c.preamps.push_back(&e);
        } else if (e.kind == TextEntryKind::Delay) {
            c.delays.push_back(&e);
        } else if (!e.filter.enabled) {
            c.off.push_back(&e);
        } else if (isEq(e.filter)) {
            c.eq.push_back(EqChoice{&e, false, {}, -1});
        } else if (e.filter.type == TextFilterType::HighPass) {
            c.highPass.push_back(&e);
        } else {
            c.lowPass.push_back(&e);
        }
    }
    return c;
}

std::vector<AnalogSection> sectionsOf(const std::vector<const TextEntry*>& entries) {
    std::vector<AnalogSection> s;
    for (const TextEntry* e : entries) s.push_back(designed(e->filter));
    return s;
}

double sum(const std::vector<const TextEntry*>& entries) {
    double total = 0.0;
    for (const TextEntry* e : entries) total += e->value;
    return total;
}

// The largest difference, in dB, between the filters as read and as set,
// on 1000 points per decade from 20 Hz to 20 kHz. Only what the text sets
// counts; the rest of the channel is the same on both sides.
void measureDifference(const Collected& c, ImportReport& r) {
    std::vector<AnalogSection> design;
    for (const EqChoice& e : c.eq) design.push_back(designed(e.entry->filter));
    for (const AnalogSection& s : sectionsOf(c.highPass)) design.push_back(s);
    for (const AnalogSection& s : sectionsOf(c.lowPass)) design.push_back(s);
    const double designLevel = r.setsLevel ? sum(c.preamps) : 0.0;
    const double setLevel = r.setsLevel ? r.record.level : 0.0;
    const ChannelRecord& set = r.record;
    for (int i = 0; i <= 3000; ++i) {
        const double f = 20.0 * std::pow(10.0, i / 1000.0);
        double d = designLevel;
        for (const AnalogSection& s : design) d += magnitudeToDb(sectionMagnitude(s, f));
        double m = setLevel;
        if (r.setsEq) {
            for (int e = 0; e < EqBandCount; ++e) {
                m += magnitudeToDb(sectionMagnitude(eqBandSection(set.eq[e], e), f));
            }
        }
        if (r.setsHighPass) m += magnitudeToDb(highPassMagnitude(f, set.hpFrequency, set.hpType));
        if (r.setsLowPass) m += magnitudeToDb(lowPassMagnitude(f, set.lpFrequency, set.lpType));
        if (std::fabs(d - m) > r.maxDifferenceDb) {
            r.maxDifferenceDb = std::fabs(d - m);
            r.maxDifferenceHz = f;
        }
    }
}

}  // namespace

ImportReport mapOntoChannel(const std::vector<TextEntry>& entries, const ChannelRecord& current,
                            int channel) {
    ImportReport report;
    report.record = current;
    ChannelRecord& record = report.record;
    Collected c = collect(entries);

    if (!c.eq.empty()) {
        report.setsEq = true;
        chooseEqFilters(c.eq);
        assignBands(c.eq);
        bool used[EqBandCount] = {};
        for (const EqChoice& choice : c.eq) {
            if (choice.band >= 0) used[choice.band] = true;
        }
        for (const EqChoice& choice : c.eq) report.items.push_back(mapEqFilter(choice, record));
        for (int e = 0; e < EqBandCount; ++e) {
            if (used[e]) continue;
            record.eq[e].level = 0;
            report.freeBands.push_back(e);
        }
    }
    for (const bool high : {true, false}) {
        const auto& entriesOfSide = high ? c.highPass : c.lowPass;
        if (entriesOfSide.empty()) continue;
        const std::vector<AnalogSection> sections = sectionsOf(entriesOfSide);
        const CrossoverChoice choice = high ? fitHighPass(sections, current.hpFrequency)
                                            : fitLowPass(sections, current.lpFrequency);
        (high ? record.hpType : record.lpType) = choice.type;
        (high ? record.hpFrequency : record.lpFrequency) = choice.frequency;
        (high ? report.setsHighPass : report.setsLowPass) = true;
        report.items.push_back(crossoverItem(entriesOfSide, high, choice.type, choice.frequency,
                                             choice.maxDifferenceDb));
    }
    if (!c.preamps.empty()) {
        report.setsLevel = true;
        const double preamp = sum(c.preamps);
        record.level = wholeDb(preamp, ParameterLimits::level);
        ImportItem item = valueItem(c.preamps, "Preamp " + db(preamp), "Pegel " + db(record.level));
        noteValue(item, "Pegel", db(preamp), db(record.level),
                  preamp < ParameterLimits::level.lo || preamp > ParameterLimits::level.hi,
                  range(ParameterLimits::level, " dB"));
        item.status = item.notes.empty() ? ImportItemStatus::Exact : ImportItemStatus::Adjusted;
        report.items.push_back(std::move(item));
    }
    if (!c.delays.empty()) {
        report.setsDelay = true;
        const double ms = sum(c.delays);
        record.delayTaps = delayTapsFor(ms, channel);
        const ParameterLimits::Range taps = ParameterLimits::delayTaps(channel);
        const std::string setMs = formatDecimal(delayMilliseconds(record.delayTaps), 4) + " ms";
        ImportItem item =
            valueItem(c.delays, "Verzögerung " + formatDecimal(ms, 4) + " ms",
                      "Verzögerung " + std::to_string(record.delayTaps) + " Taps (" + setMs + ", " +
                          formatDecimal(record.delayTaps * MmPerTap, 1) + " mm)");
        const double exactTaps = ms / 1000.0 / SecondsPerTap;
        noteValue(item, "Verzögerung", formatDecimal(ms, 4) + " ms", setMs,
                  exactTaps < taps.lo - 0.5 || exactTaps > taps.hi + 0.5,
                  std::to_string(taps.lo) + ".." + std::to_string(taps.hi) + " Taps");
        item.status = item.notes.empty() ? ImportItemStatus::Exact : ImportItemStatus::Adjusted;
        report.items.push_back(std::move(item));
    }
    for (const TextEntry* e : c.off) report.items.push_back(offItem(*e));
    std::stable_sort(
        report.items.begin(), report.items.end(),
        [](const ImportItem& a, const ImportItem& b) { return a.lines.front() < b.lines.front(); });
    measureDifference(c, report);
    return report;
}
