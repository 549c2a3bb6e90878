#include "tools/cli/CliFitOptions.h"

#include <algorithm>

#include "interchange/DecimalText.h"
#include "interchange/Measurement.h"
#include "storage/FileMessages.h"
#include "storage/TextFile.h"

std::string parseTargetOption(const std::string& text, FitTarget& t, std::string& targetFile) {
    if (text == "flat") {
        t.shape = TargetShape::Flat;
        return {};
    }
    const std::vector<std::string> parts = splitList(text, ':');
    if (parts.front() == "tilt" && parts.size() == 2) {
        const auto db = parseDecimal(parts[1]);
        if (!db) return "Die Neigung muss eine Zahl sein (tilt:DB, dB je Oktave).";
        t.shape = TargetShape::Tilt;
        t.tiltDbPerOctave = *db;
        return {};
    }
    if (parts.front() == "house" && parts.size() == 5) {
        const auto f1 = parseDecimal(parts[1]);
        const auto db1 = parseDecimal(parts[2]);
        const auto f2 = parseDecimal(parts[3]);
        const auto db2 = parseDecimal(parts[4]);
        if (!f1 || !db1 || !f2 || !db2) {
            return "Die Hauskurve braucht vier Zahlen (house:F1:DB1:F2:DB2).";
        }
        t.shape = TargetShape::House;
        t.house = {*f1, *db1, *f2, *db2};
        return {};
    }
    if (parts.front() == "tilt" || parts.front() == "house") {
        return "Ziel " + text +
               " verstanden als tilt:DB oder house:F1:DB1:F2:DB2? Die Zahl der "
               "Werte stimmt nicht.";
    }
    t.shape = TargetShape::Curve;
    targetFile = text;
    return {};
}

std::string parseRangeOption(const std::string& text, FrequencyRange& range) {
    // The first '-' after the first character separates (no negative frequencies).
    const std::size_t dash = text.find('-', 1);
    const auto lo = dash == std::string::npos ? std::nullopt : parseDecimal(text.substr(0, dash));
    const auto hi = dash == std::string::npos ? std::nullopt : parseDecimal(text.substr(dash + 1));
    if (!lo || !hi || !(*lo > 0.0) || !(*hi > *lo)) {
        return "Der Bereich muss VON-BIS in Hz sein, VON kleiner als BIS (etwa 100-10000).";
    }
    range = FrequencyRange{*lo, *hi};
    return {};
}

namespace {

std::string parseKeep(const std::string& text, FitOptions& options) {
    for (std::string part : splitList(text, ',')) {
        std::transform(part.begin(), part.end(), part.begin(),
                       [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
        if (part.size() != 3 || part.compare(0, 2, "EQ") != 0 || part[2] < '1' || part[2] > '6') {
            return "--keep nennt Bänder als EQ1 bis EQ6, durch Kommas getrennt.";
        }
        options.keep[part[2] - '1'] = true;
    }
    return {};
}

}  // namespace

std::string parseFitOptions(const CliArgs& args, FitRequest& r) {
    r.measurements = args.values("--measurement");
    if (const auto v = args.value("--average")) {
        const std::optional<Averaging> averaging = averagingFromName(*v);
        if (!averaging) return "Die Mittelung muss power, db oder vector sein.";
        r.averaging = *averaging;
    }
    if (const auto v = args.value("--smooth")) {
        const std::optional<int> smoothing = smoothingFromName(*v);
        if (!smoothing) return "Die Glättung muss none, 1/24, 1/12, 1/6 oder 1/3 sein.";
        r.smoothing = *smoothing;
    }
    if (const auto v = args.value("--target")) {
        if (std::string problem = parseTargetOption(*v, r.target, r.targetFile); !problem.empty()) {
            return problem;
        }
    }
    if (const auto v = args.value("--range")) {
        FrequencyRange range;
        if (std::string problem = parseRangeOption(*v, range); !problem.empty()) return problem;
        r.options.range = range;
    }
    if (const auto v = args.value("--keep")) {
        if (std::string problem = parseKeep(*v, r.options); !problem.empty()) return problem;
    }
    if (const auto v = args.value("--max-boost")) {
        const auto db = parseIntArg(*v, 0, 6);
        if (!db) return "Die größte Anhebung je Band muss eine ganze Zahl von 0 bis 6 dB sein.";
        r.options.maxBoostDb = *db;
    }
    if (const auto v = args.value("--max-total")) {
        const auto db = parseDecimal(*v);
        if (!db || *db < 0.0 || *db > 24.0) {
            return "Die größte Anhebung insgesamt muss zwischen 0 und 24 dB liegen.";
        }
        r.options.maxTotalBoostDb = *db;
    }
    if (const auto v = args.value("--max-q")) {
        const auto q = parseDecimal(*v);
        if (!q || *q < 0.5 || *q > 10.0) return "Die größte Güte muss zwischen 0.5 und 10 liegen.";
        r.options.maxQ = *q;
    }
    if (const auto v = args.value("--dips")) {
        if (*v != "keep" && *v != "fill") return "--dips muss keep oder fill sein.";
        r.options.dips = *v == "keep" ? DipHandling::LeaveAlone : DipHandling::Fill;
    }
    if (const auto v = args.value("--shelves")) {
        if (*v != "auto" && *v != "off") return "--shelves muss auto oder off sein.";
        r.options.shelves = *v == "auto" ? ShelfUse::IfHelpful : ShelfUse::Never;
    }
    if (const auto v = args.value("--target-level")) {
        const auto db = parseDecimal(*v);
        if (!db || *db < -60.0 || *db > 60.0)
            return "Der Zielpegel muss zwischen -60 und 60 dB liegen.";
        r.target.levelDb = *db;
    }
    r.options.useLevel = !args.flag("--no-level");
    r.target.followsCrossover = !args.flag("--ignore-crossover");
    return {};
}

std::string readMeasurementFile(const std::string& path, Measurement& m) {
    const auto text = readTextFile(path, MeasurementFileLimit);
    if (!text) return fileOpenFailure(path, 0, MeasurementFileLimit);
    MeasurementRead read = parseMeasurement(*text);
    if (!read.ok) return path + ": " + read.message();
    m = std::move(read.measurement);
    return {};
}

std::string readFitFiles(const FitRequest& request, FitInput& input) {
    std::vector<Measurement> measurements(request.measurements.size());
    for (std::size_t k = 0; k < measurements.size(); ++k) {
        if (std::string problem = readMeasurementFile(request.measurements[k], measurements[k]);
            !problem.empty()) {
            return problem;
        }
    }
    const EvidenceCurve evidence =
        combineMeasurements(measurements, request.averaging, request.smoothing);
    if (!evidence.ok) return evidence.error;
    input.measurement = evidence.curve;
    input.target = request.target;
    input.options = request.options;
    // With a fixed target level the measurement's midrange sits at 0 dB, as
    // the overlay shows it; with a free one the offset does not matter.
    double midrange = 0.0;
    if (input.target.levelDb && midrangeAverageDb(input.measurement, midrange)) {
        input.measurementOffsetDb = -midrange;
    }
    if (!request.targetFile.empty()) {
        if (std::string problem = readMeasurementFile(request.targetFile, input.target.curve);
            !problem.empty()) {
            return problem;
        }
    }
    return {};
}
