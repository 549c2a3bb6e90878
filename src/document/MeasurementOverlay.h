#pragma once
// The measurements drawn with the channels. For each channel the view names
// a measurement file (a full path, or none) and the overlay's options; this
// object keeps what those files hold, read once and thinned for drawing,
// and turns them into the plot's overlay curves:
// - magnitude view: the measured level, dotted in the channel's colour,
//   moved so that its 200 Hz..2 kHz average sits at 0 dB when normalising;
//   with the prediction on, also the measurement plus the channel's
//   response, dashed;
// - phase view: the measured phase, wrapped to +-180 degrees, where the file
//   has one (a prediction of the phase would need the loudspeaker's
//   acoustic delay, which a measurement file does not tell);
// - group-delay view: nothing (a measured group delay is the derivative of
//   a noisy phase and would only cover the model's curves).
// Only the channels whose curves the plot shows get their overlay.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "interchange/Measurement.h"
#include "model/ParameterImage.h"
#include "plotmodel/PlotView.h"
#include "response/ChannelResponse.h"
#include "storage/SideFile.h"

class MeasurementOverlay {
public:
    // The file of channel `c` as read and thinned; nothing when there is
    // none or it could not be read.
    const Measurement* measurement(int c) const;

    // Brings the measurements in line with `paths` (full paths, empty for
    // none): a file named anew is read, one no longer named is dropped. A
    // file that cannot be read leaves its channel without a measurement and
    // yields one German message, which is not repeated until the path
    // changes again.
    std::vector<std::string> follow(const std::array<std::string, ChannelCount>& paths);

    // Takes the file at `path` for channel `c` without reading it again.
    void take(int c, const std::string& path, const Measurement& full);

    // Adds the overlay curves of the channels `content` shows, in its view.
    // The curves borrow values kept here until the next call.
    void addCurves(PlotContent& content, const OverlayOptions& options,
                   const ChannelResponses& magnitudes);

private:
    struct Loaded {
        std::string path;  // what was asked for, read or not
        std::optional<Measurement> data;
        std::optional<double> midrangeDb;
        std::vector<double> wrappedPhase;
        std::vector<double> predicted;  // of the last addCurves()
    };
    std::array<Loaded, ChannelCount> m_channels;
};

// Reads a measurement file for the window: the file, then its points. A
// file that cannot be opened or holds no measurement is refused with a German
// message naming it (and the line that could not be read).
struct MeasurementFileRead {
    std::optional<Measurement> measurement;
    std::string message;  // when refused
    std::string notice;   // when read, but its values ended before the file did
};
MeasurementFileRead readMeasurementFile(const std::string& path);
