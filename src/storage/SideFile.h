#pragma once
// What the 2784-byte parameter file cannot hold lives in a side file next to
// it: NAME.dat -> NAME.filtaro.json. It keeps the channel names, the
// measurement files of each channel and the options of the measurement
// overlay:
//
//   {
//     "channels": [ { "name": "Bass links", "measurement": "mess/sitz1.txt",
//                     "measurements": ["mess/sitz1.txt", "mess/sitz2.txt"] }, ... six ],
//     "overlay": { "normalise": true, "predicted": false, "shared_offset": false,
//                  "averaging": "power", "smoothing": "1/12" }
//   }
//
// "measurement" is the first file of the list, as earlier versions of the
// program read and write it. The list counts only while its first entry is
// that file: a version that knows only "measurement" may have changed it
// and kept the list as a key it does not know, and then "measurement" alone
// is what the user chose last.
//
// It is read leniently: a key this program does not know (at any level) is
// kept and written back, and a value of the wrong kind counts as missing. A
// file that cannot be read as a side file (no JSON, no object, nested deeper
// than 32 levels, larger than 1 MiB, unreadable) is reported and then
// ignored, and never written over: see saveSideFile. It is written through
// the one save routine, like every file here.

#include <array>
#include <string>
#include <vector>

#include "model/MeasurementChoices.h"
#include "model/ParameterImage.h"

struct OverlayOptions {
    // Each measurement's 200 Hz..2 kHz average at 0 dB; with `sharedOffset`
    // all channels' measurements move by one offset instead, the loudest
    // one's, so that the drivers keep their level against each other.
    bool normalise = true;
    bool sharedOffset = false;
    bool predicted = false;  // also the measurement plus the channel's response
    // How a channel's measurements become one curve, drawn and fitted.
    Averaging averaging = Averaging::Power;
    int smoothing = DefaultSmoothing;  // per octave, 0: none
    friend bool operator==(const OverlayOptions&, const OverlayOptions&) = default;
};

// The measurement files of one channel (listening positions, repeats),
// first to last; empty when it has none.
using MeasurementList = std::vector<std::string>;

struct SideFile {
    std::array<std::string, ChannelCount> channelNames;
    // As stored: absolute, or relative to the side file's folder (see
    // measurementFilePath()).
    std::array<MeasurementList, ChannelCount> measurements;
    OverlayOptions overlay;
    // The file as read, so that what this program does not know survives a
    // save. Empty for a new side file.
    std::string original;

    friend bool operator==(const SideFile&, const SideFile&) = default;
};

enum class SideFileState { Missing, Read, Broken };

struct SideFileLoad {
    SideFileState state = SideFileState::Missing;
    SideFile data;        // defaults unless Read
    std::string message;  // Broken: the German text to show once
};

// Whether `data` holds anything worth a file: a name, a measurement, overlay
// options other than the defaults, or what an earlier file brought along.
bool sideFileHasContent(const SideFile& data);

// "dir/NAME.dat" -> "dir/NAME.filtaro.json".
std::string sideFilePath(const std::string& parameterFilePath);

SideFileLoad loadSideFile(const std::string& parameterFilePath);

// Writes the side file of `parameterFilePath`. A side file there that cannot
// be read as one is left as it is when `data` has nothing to keep
// (sideFileHasContent), and else first set aside whole as
// NAME.filtaro.json.defekt (or .2.defekt, ...; see DamagedFile.h); when that
// fails (or it is a folder), nothing is written and the result is false.
bool saveSideFile(const std::string& parameterFilePath, const SideFile& data);

// The file a stored measurement path names: relative paths are taken from
// the side file's folder.
std::string measurementFilePath(const std::string& parameterFilePath, const std::string& stored);

// How a measurement at `measurementPath` is stored in the side file of
// `parameterFilePath`: relative to the side file's folder (with '/') when it
// lies in or below that folder, so the two move together; else as given.
std::string storedMeasurementPath(const std::string& parameterFilePath,
                                  const std::string& measurementPath);
