#include "interchange/ChannelImport.h"

#include <algorithm>
#include <cmath>

#include "interchange/CrossoverFit.h"
#include "interchange/DecimalText.h"
#include "interchange/FieldMapping.h"
#include "interchange/ShelfFit.h"
#include "model/DelayUnits.h"
#include "model/ParameterLimits.h"
#include "model/ParameterTexts.h"
#include "response/AnalogSection.h"
#include "response/EqResponse.h"
#include "response/FilterResponse.h"

namespace {

using ParameterLimits::Range;
using Curve = std::array<double, FitPointCount>;

// EQ5 is the band that shelves low on the panel; EQ6 (HighShelfBand) high.
constexpr int LowShelfBand = 4;
// A crossover or shelf that differs by less than this counts as set exactly.
constexpr double ExactFitDb = 0.01;
// A converted Q this close (relatively) to a Q code is that code.
constexpr double SameQ = 1e-3;

std::string hz(double f) {
    return formatReadValue(f, 2) + " Hz";
}
std::string db(double g) {
    const std::string s = formatReadValue(g, 2);
    return (s == "0" || s[0] == '-' ? s : "+" + s) + " dB";
}
std::string qText(double q) {
    return formatReadValue(q, 3);
}
std::string range(Range r, const char* unit) {
    return formatSignedDecimal(r.lo, 0) + ".." + formatSignedDecimal(r.hi, 0) + unit;
}

bool isEq(const TextFilter& f) {
    return f.type == TextFilterType::Peaking || f.type == TextFilterType::LowShelf ||
           f.type == TextFilterType::HighShelf;
}

BandKind bandKind(const TextFilter& f) {
    return f.type == TextFilterType::LowShelf    ? BandKind::LowShelf
           : f.type == TextFilterType::HighShelf ? BandKind::HighShelf
                                                 : BandKind::Peaking;
}

std::string describeRead(const TextFilter& f) {
    std::string s = f.typeName + " " + hz(f.frequency);
    if (isEq(f)) s += ", " + db(f.gainDb);
    if (f.slopeDbPerOctave > 0.0) s += ", " + formatDecimal(f.slopeDbPerOctave, 2) + " dB/Okt.";
    std::vector<std::string> aside;
    if (f.qGiven) {
        s += ", Q " + qText(f.q);
    } else {
        aside.push_back("entspricht Q " + qText(f.q));
    }
    if (f.cornerFrequency) aside.push_back("Eckfrequenz, Mitte bei " + hz(f.section.frequency));
    for (std::size_t i = 0; i < aside.size(); ++i) s += (i ? "; " : " (") + aside[i];
    return aside.empty() ? s : s + ")";
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
           formatDecimal(eqBandSection(b, band).q, 2);
}

// Adds the note for a value that was set as `set` from `read`; `clamped`
// when `read` lay outside what the field allows. False when nothing changed.
bool noteValue(ImportItem& item, const std::string& what, const std::string& read,
               const std::string& set, bool clamped, const std::string& limits) {
    if (read == set) return false;
    item.notes.push_back(clamped ? what + " " + read + " auf " + limits + " begrenzt: " + set
                                 : what + " " + read + " gerundet auf " + set);
    return true;
}

// One EQ filter of the text and the device band it becomes.
struct EqFilter {
    const TextEntry* entry = nullptr;
    EqBand band;
    double fitDb = 0.0;  // shelves: how far the device shelf is from it
    // A shelf whose text also gives the IIR filter of one of the device's
    // shelves at each common sample rate: that is what the program plays.
    bool deviceShelf = false;
    bool chosen = false;
    bool candidate = true;  // considered by the band choice
    int bandIndex = -1;
};

int shelfBand(BandKind kind) {
    return kind == BandKind::HighShelf ? HighShelfBand : LowShelfBand;
}

void mapEqFilter(EqFilter& e) {
    const TextFilter& f = e.entry->filter;
    if (f.type == TextFilterType::Peaking) {
        e.band.frequency = nearestGridFrequency(f.section.frequency, ParameterLimits::eqFrequency);
        e.band.level = wholeDb(f.gainDb, ParameterLimits::eqGain);
        e.band.q = nearestPeakingQCode(devicePeakingQ(f.section.q, e.band.level));
        return;
    }
    if (const auto exact =
            deviceShelfOf(e.entry->rateBiquads, f.type == TextFilterType::LowShelf)) {
        e.band = *exact;
        e.deviceShelf = true;
        return;
    }
    const DeviceShelfFit fit = nearestDeviceShelf(f.section);
    e.band = fit.band;
    e.fitDb = fit.maxDifferenceDb;
}

AnalogBiquad deviceBand(const EqBand& band, BandKind kind) {
    return analogPrototype(eqBandSection(band, kind == BandKind::Peaking ? 0 : shelfBand(kind)));
}

// The filter as the text's program plays it.
AnalogBiquad designOf(const EqFilter& e) {
    return e.deviceShelf ? deviceBand(e.band, bandKind(e.entry->filter))
                         : analogPrototype(e.entry->filter.section);
}

// The lines an entry stands for: its own, and those of the IIR filters the
// text gives for it at single sample rates (an export of this program).
std::vector<int> linesOf(const TextEntry& e) {
    std::vector<int> lines = e.rateBiquadLines;
    lines.push_back(e.line);
    return lines;
}

// What became of the IIR filters of an entry, when it has any.
void noteRateBiquads(ImportItem& item, const TextEntry& e, bool used) {
    if (e.rateBiquadLines.empty()) return;
    item.notes.push_back(used ? "die IIR-Filter gelten nur bei ihren Abtastraten; sie sind genau "
                                "dieser Shelf des Geräts"
                              : "die IIR-Filter gelten nur bei ihren Abtastraten; übernommen ist "
                                "die Zeile " +
                                    std::to_string(e.line));
}

ImportItem eqItem(const EqFilter& e) {
    const TextFilter& f = e.entry->filter;
    ImportItem item;
    item.lines = linesOf(*e.entry);
    item.asRead = describeRead(f);
    item.asSet = describeBand(e.band, e.bandIndex);
    bool adjusted = false;
    if (f.type == TextFilterType::Peaking) {
        const Range fRange = ParameterLimits::eqFrequency;
        adjusted |= noteValue(item, "Frequenz", hz(f.frequency), hz(e.band.frequency),
                              f.frequency < fRange.lo || f.frequency > fRange.hi,
                              std::to_string(fRange.lo) + ".." + std::to_string(fRange.hi) + " Hz");
        // The Q as the device counts it, at the gain the band gets (a band
        // at 0 dB does nothing, whatever its Q).
        const double deviceQ = devicePeakingQ(f.q, e.band.level);
        const double setQ = eqBandSection(e.band, e.bandIndex).q;
        const std::string converted =
            "Q " + qText(f.q) + " entspricht beim Gerät Q " + qText(deviceQ);
        if (e.band.level == 0) {
        } else if (std::fabs(setQ / deviceQ - 1.0) <= SameQ) {
            if (qText(deviceQ) != qText(f.q)) item.notes.push_back(converted);
        } else {
            adjusted = true;
            const bool clamped = deviceQ < 0.5 * (1.0 - SameQ) || deviceQ > 10.0 * (1.0 + SameQ);
            item.notes.push_back(converted +
                                 (clamped ? ", auf 0.5..10 begrenzt: " : ", gerundet auf ") +
                                 formatDecimal(setQ, 2));
        }
        adjusted |= noteValue(
            item, "Verstärkung", db(f.gainDb), db(e.band.level),
            f.gainDb < ParameterLimits::eqGain.lo || f.gainDb > ParameterLimits::eqGain.hi,
            range(ParameterLimits::eqGain, " dB"));
    } else if (e.fitDb >= ExactFitDb && !e.deviceShelf) {
        adjusted = true;
        item.notes.push_back("nächster Shelf des Geräts, weicht bis " + formatDecimal(e.fitDb, 2) +
                             " dB ab");
    }
    noteRateBiquads(item, *e.entry, e.deviceShelf);
    item.status = adjusted ? ImportItemStatus::Adjusted : ImportItemStatus::Exact;
    return item;
}

ImportItem droppedItem(const EqFilter& e, const std::string& reason) {
    ImportItem item;
    item.lines = linesOf(*e.entry);
    item.asRead = describeRead(e.entry->filter);
    item.status = ImportItemStatus::Dropped;
    item.notes.push_back(reason);
    noteRateBiquads(item, *e.entry, false);
    return item;
}

ImportItem offItem(const TextEntry& e) {
    ImportItem item;
    item.lines = linesOf(e);
    item.asRead = describeRead(e.filter);
    item.status = ImportItemStatus::Off;
    item.notes.push_back("ausgeschaltet (OFF), nicht übernommen");
    noteRateBiquads(item, e, false);
    return item;
}

ImportItem crossoverItem(const std::vector<const TextEntry*>& entries, bool high, int type,
                         int frequency, double differenceDb) {
    ImportItem item;
    std::string read;
    for (const TextEntry* e : entries) {
        for (const int line : linesOf(*e)) item.lines.push_back(line);
        read += (read.empty() ? "" : "; ") + describeRead(e->filter);
        noteRateBiquads(item, *e, false);
    }
    item.asRead = read;
    item.asSet = std::string(high ? "Hochpass: " : "Tiefpass: ") +
                 std::string(filterTypeText(type)) +
                 (type == FilterOff ? "" : ", " + std::to_string(frequency) + " Hz");
    if (differenceDb >= ExactFitDb) {
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
    std::vector<EqFilter> eq;
    std::vector<const TextEntry*> highPass, lowPass, preamps, delays, off;
    Curve eqDesignDb{};  // the EQ filters' sum on the fit grid, once the bands are chosen
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
            EqFilter f;
            f.entry = &e;
            c.eq.push_back(f);
        } else if (e.filter.type == TextFilterType::HighPass) {
            c.highPass.push_back(&e);
        } else {
            c.lowPass.push_back(&e);
        }
    }
    return c;
}

std::vector<CookbookFilter> sectionsOf(const std::vector<const TextEntry*>& entries) {
    std::vector<CookbookFilter> s;
    for (const TextEntry* e : entries) s.push_back(e->filter.section);
    return s;
}

double sum(const std::vector<const TextEntry*>& entries) {
    double total = 0.0;
    for (const TextEntry* e : entries) total += e->value;
    return total;
}

// The band choice: which EQ filters go onto the six bands. Marks the chosen
// ones and returns how they were chosen.
BandChoice chooseEqFilters(std::vector<EqFilter>& eq, Curve& designDb) {
    if (static_cast<int>(eq.size()) > BandChoiceCandidateLimit) {
        std::vector<std::size_t> order(eq.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return std::fabs(eq[a].entry->filter.gainDb) > std::fabs(eq[b].entry->filter.gainDb);
        });
        for (std::size_t k = BandChoiceCandidateLimit; k < order.size(); ++k) {
            eq[order[k]].candidate = false;
        }
    }
    for (EqFilter& e : eq) {
        if (e.candidate) mapEqFilter(e);
    }
    std::vector<AnalogBiquad> design;
    for (const EqFilter& e : eq) design.push_back(designOf(e));
    for (int j = 0; j < FitPointCount; ++j) designDb[j] = productDb(design, fitFrequencies()[j]);

    std::vector<BandCandidate> candidates;
    for (std::size_t i = 0; i < eq.size(); ++i) {
        EqFilter& e = eq[i];
        if (!e.candidate) continue;
        BandCandidate c;
        c.index = static_cast<int>(i);
        c.kind = bandKind(e.entry->filter);
        const AnalogBiquad band = deviceBand(e.band, c.kind);
        for (int j = 0; j < FitPointCount; ++j) {
            c.bandDb[j] = 10.0 * std::log10(powerAt(band, fitFrequencies()[j]));
        }
        candidates.push_back(c);
    }
    BandChoice choice = chooseBands(designDb, candidates);
    for (const int i : choice.chosen) eq[static_cast<std::size_t>(i)].chosen = true;
    return choice;
}

// Shelves onto their bands, peaking filters in text order onto the bands left.
void assignBands(std::vector<EqFilter>& eq) {
    bool used[EqBandCount] = {};
    for (EqFilter& e : eq) {
        if (!e.chosen) continue;
        const BandKind kind = bandKind(e.entry->filter);
        if (kind != BandKind::Peaking) {
            e.bandIndex = shelfBand(kind);
            used[e.bandIndex] = true;
        }
    }
    int next = 0;
    for (EqFilter& e : eq) {
        if (!e.chosen || e.bandIndex >= 0) continue;
        while (used[next]) ++next;
        e.bandIndex = next;
        used[next] = true;
    }
}

std::string dropReason(const EqFilter& e, const std::vector<EqFilter>& eq) {
    if (!e.candidate) {
        return "nicht übernommen: nicht unter den " + std::to_string(BandChoiceCandidateLimit) +
               " Filtern mit den größten Verstärkungen";
    }
    const BandKind kind = bandKind(e.entry->filter);
    int chosen = 0;
    bool sameShelf = false;
    for (const EqFilter& other : eq) {
        if (!other.chosen) continue;
        ++chosen;
        sameShelf |= kind != BandKind::Peaking && bandKind(other.entry->filter) == kind;
    }
    if (sameShelf) {
        return kind == BandKind::LowShelf ? "nicht übernommen: nur ein Tiefen-Shelf möglich (EQ5)"
                                          : "nicht übernommen: nur ein Höhen-Shelf möglich (EQ6)";
    }
    if (chosen == EqBandCount) {
        return "nicht übernommen: alle sechs Bänder belegt";
    }
    return "nicht übernommen: ohne diesen Filter kommt die Einstellung der Vorlage näher";
}

// The difference between the design and a channel: on the fit grid, then at
// ten times its density around its largest peaks, so that the narrowest
// filters' peaks are not missed and a text of many thousands of filters
// still costs only a few hundred evaluations of each.
class Difference {
public:
    Difference(const ImportReport& r, const ChannelRecord& record)
        : m_report(r), m_design(r.design), m_record(record) {}

    DesignDifference measure() const {
        DesignDifference out;
        std::array<double, FitPointCount> d{};
        double squares = 0.0;
        for (int j = 0; j < FitPointCount; ++j) {
            // The EQ filters' sum there is known from the band choice.
            const double f = fitFrequencies()[j];
            d[j] =
                m_design.levelDb + m_design.eqDb[j] + productDb(m_design.passes, f) - channelDb(f);
            squares += d[j] * d[j];
        }
        out.rmsDb = std::sqrt(squares / FitPointCount);
        std::vector<int> peaks;
        for (int j = 0; j < FitPointCount; ++j) {
            const double here = std::fabs(d[j]);
            if ((j == 0 || here >= std::fabs(d[j - 1])) &&
                (j + 1 == FitPointCount || here >= std::fabs(d[j + 1]))) {
                peaks.push_back(j);
            }
            note(out, fitFrequencies()[j], d[j]);
        }
        constexpr std::size_t RefinedPeaks = 8;
        std::stable_sort(peaks.begin(), peaks.end(),
                         [&](int a, int b) { return std::fabs(d[a]) > std::fabs(d[b]); });
        if (peaks.size() > RefinedPeaks) peaks.resize(RefinedPeaks);
        for (const int j : peaks) {
            for (int k = 10 * std::max(j - 1, 0); k <= 10 * std::min(j + 1, FitPointCount - 1);
                 ++k) {
                const double f = 20.0 * std::pow(10.0, k / 1000.0);
                note(out, f, m_design.db(f) - channelDb(f));
            }
        }
        return out;
    }

private:
    static void note(DesignDifference& out, double f, double difference) {
        if (std::fabs(difference) > out.maxDb) {
            out.maxDb = std::fabs(difference);
            out.maxHz = f;
        }
    }

    // The channel at f, in dB. Only what the text sets counts; the rest of
    // the channel is the same on both sides.
    double channelDb(double f) const {
        const ChannelRecord& set = m_record;
        double m = m_report.setsLevel ? set.level : 0.0;
        if (m_report.setsEq) {
            for (int e = 0; e < EqBandCount; ++e) {
                m += magnitudeToDb(sectionMagnitude(eqBandSection(set.eq[e], e), f));
            }
        }
        if (m_report.setsHighPass) {
            m += magnitudeToDb(highPassMagnitude(f, set.hpFrequency, set.hpType));
        }
        if (m_report.setsLowPass) {
            m += magnitudeToDb(lowPassMagnitude(f, set.lpFrequency, set.lpType));
        }
        return m;
    }

    const ImportReport& m_report;
    const ImportDesign& m_design;
    const ChannelRecord& m_record;
};

// The text's filters as their program plays them, for the comparison.
ImportDesign designOf(const Collected& c, const ImportReport& r) {
    ImportDesign design;
    for (const EqFilter& e : c.eq) design.eq.push_back(designOf(e));
    for (const auto* side : {&c.highPass, &c.lowPass}) {
        for (const CookbookFilter& s : sectionsOf(*side))
            design.passes.push_back(analogPrototype(s));
    }
    design.levelDb = r.setsLevel ? sum(c.preamps) : 0.0;
    design.eqDb = c.eqDesignDb;
    return design;
}

void mapEq(Collected& c, ImportReport& report) {
    report.setsEq = true;
    report.eqFilterCount = static_cast<int>(c.eq.size());
    const BandChoice choice = chooseEqFilters(c.eq, c.eqDesignDb);
    report.bandChoice = choice.method;
    report.bandSetsTried = choice.setsTried;
    assignBands(c.eq);
    bool used[EqBandCount] = {};
    std::size_t dropped = 0;
    for (const EqFilter& e : c.eq) {
        if (e.chosen) {
            used[e.bandIndex] = true;
            report.record.eq[e.bandIndex] = e.band;
            report.items.push_back(eqItem(e));
        } else if (dropped++ < ImportItemListLimit) {
            report.items.push_back(droppedItem(e, dropReason(e, c.eq)));
        } else {
            ++report.moreDropped;
        }
    }
    for (int e = 0; e < EqBandCount; ++e) {
        if (used[e]) continue;
        report.record.eq[e].level = 0;
        report.freeBands.push_back(e);
    }
}

}  // namespace

ImportReport mapOntoChannel(const std::vector<TextEntry>& entries, const ChannelRecord& current,
                            int channel) {
    ImportReport report;
    report.record = current;
    ChannelRecord& record = report.record;
    Collected c = collect(entries);

    if (!c.eq.empty()) mapEq(c, report);
    for (const bool high : {true, false}) {
        const auto& entriesOfSide = high ? c.highPass : c.lowPass;
        if (entriesOfSide.empty()) continue;
        const std::vector<CookbookFilter> sections = sectionsOf(entriesOfSide);
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
            valueItem(c.delays, "Verzögerung " + formatReadValue(ms, 4) + " ms",
                      "Verzögerung " + std::to_string(record.delayTaps) + " Taps (" + setMs + ", " +
                          formatDecimal(record.delayTaps * MmPerTap, 1) + " mm)");
        const double exactTaps = ms / 1000.0 / SecondsPerTap;
        noteValue(item, "Verzögerung", formatReadValue(ms, 4) + " ms", setMs,
                  exactTaps < taps.lo - 0.5 || exactTaps > taps.hi + 0.5,
                  std::to_string(taps.lo) + ".." + std::to_string(taps.hi) + " Taps");
        item.status = item.notes.empty() ? ImportItemStatus::Exact : ImportItemStatus::Adjusted;
        report.items.push_back(std::move(item));
    }
    for (std::size_t i = 0; i < c.off.size(); ++i) {
        if (i < ImportItemListLimit) {
            report.items.push_back(offItem(*c.off[i]));
        } else {
            ++report.moreOff;
        }
    }
    std::stable_sort(
        report.items.begin(), report.items.end(),
        [](const ImportItem& a, const ImportItem& b) { return a.lines.front() < b.lines.front(); });
    report.design = designOf(c, report);
    const DesignDifference difference = designDifference(report, report.record);
    report.maxDifferenceDb = difference.maxDb;
    report.maxDifferenceHz = difference.maxHz;
    report.rmsDifferenceDb = difference.rmsDb;
    return report;
}

double ImportDesign::db(double f) const {
    return levelDb + productDb(eq, f) + productDb(passes, f);
}

DesignDifference designDifference(const ImportReport& report, const ChannelRecord& record) {
    return Difference(report, record).measure();
}
