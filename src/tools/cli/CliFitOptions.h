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

// What the options ask for, before any file is read.
struct FitRequest {
    std::vector<std::string> measurements;
    Averaging averaging = Averaging::Power;
    int smoothing = 12;
    std::string targetFile;  // empty unless the target is a file
    FitTarget target;
    FitOptions options;
};

// Empty when every option parsed; else the German message.
std::string parseFitOptions(const CliArgs& args, FitRequest& request);

// Reads the measurements (averaged and smoothed as asked) and the target
// file into `input`; empty on success, else the German message.
std::string readFitFiles(const FitRequest& request, FitInput& input);
