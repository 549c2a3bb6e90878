#pragma once
// The options of "filtaro-cli fit" and the files they name, turned into the
// fit's input.

#include <string>
#include <vector>

#include "tools/cli/Cli.h"
#include "tuning/EqFit.h"
#include "tuning/Evidence.h"

inline const std::vector<std::string> FitValueOptions = {
    "--channel", "--preset",    "--measurement", "--average",      "--smooth",
    "--target",  "--range",     "--keep",        "--max-boost",    "--max-q",
    "--dips",    "--max-total", "--shelves",     "--target-level", "--out"};
inline const std::vector<std::string> FitFlagOptions = {"--no-level", "--ignore-crossover",
                                                        "--json"};

constexpr const char* FitUsage =
    "fit DATEI --channel K [--preset N] --measurement MESSUNG [--measurement MESSUNG2 ...] "
    "[--average power|db|vector] [--smooth none|1/24|1/12|1/6|1/3] "
    "[--target flat|tilt:DB|house:F1:DB1:F2:DB2|ZIELDATEI] [--range VON-BIS] [--keep EQ1,EQ2] "
    "[--max-boost DB] [--max-q Q] [--dips keep|fill] [--no-level] [--max-total DB] "
    "[--shelves auto|off] [--target-level DB] [--ignore-crossover] [--out AUSGABE.dat] [--json]";

constexpr const char* AlignUsage =
    "align DATEI --channels K1,K2[,K3] --measurement K1=MESSUNG1 --measurement K2=MESSUNG2 "
    "[--preset N] [--vary delay,level,crossover] [--hold K] [--region VON-BIS] "
    "[--target flat|tilt:DB|house:F1:DB1:F2:DB2|ZIELDATEI] [--types T1,T2] [--candidates N] "
    "[--out AUSGABE.dat] [--json]";

// What the options ask for, before any file is read.
struct FitRequest {
    std::vector<std::string> measurements;
    Averaging averaging = Averaging::Power;
    int smoothing = DefaultSmoothing;
    std::string targetFile;  // empty unless the target is a file
    FitTarget target;
    FitOptions options;
};

// "flat", "tilt:DB", "house:F1:DB1:F2:DB2" or a file name (then `targetFile`,
// read later); empty when it parsed, else the German message.
std::string parseTargetOption(const std::string& text, FitTarget& target, std::string& targetFile);

// "VON-BIS" in Hz; empty when it parsed, else the German message.
std::string parseRangeOption(const std::string& text, FrequencyRange& range);

// A measurement file read whole; empty on success, else the message naming it.
std::string readMeasurementFile(const std::string& path, Measurement& m);

// Empty when every option parsed; else the German message.
std::string parseFitOptions(const CliArgs& args, FitRequest& request);

// Reads the measurements (averaged and smoothed as asked) and the target
// file into `input`; empty on success, else the German message.
std::string readFitFiles(const FitRequest& request, FitInput& input);
