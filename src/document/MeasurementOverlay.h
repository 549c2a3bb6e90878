#pragma once
// The measurements drawn with the channels. For each channel the side file
// names measurement files (full paths, several for several listening
// positions) and the overlay's options; this object keeps what those files
// hold, read once, combines each channel's files into one curve (averaged
// and smoothed as the options say, tuning/Evidence.h) and turns that into
// the plot's overlay curves:
// - magnitude view: the combined level, dotted in the channel's colour,
//   moved so that its 200 Hz..2 kHz average sits at 0 dB when normalising
//   (or, with the shared offset, by the one offset that puts the loudest
//   channel's average there); with the prediction on, also the curve plus
//   the channel's response, dashed;
// - phase view: the measured phase of the channel's first file, wrapped to
//   +-180 degrees, where the file has one (a prediction of the phase would
//   need the loudspeaker's acoustic delay, which a measurement file does not
//   tell);
// - group-delay view: nothing (a measured group delay is the derivative of
//   a noisy phase and would only cover the model's curves).
// Only the channels whose curves the plot shows get their overlay. Vector
// averaging needs the phase of every file; where one lacks it the overlay
// averages the power instead.
//
// With the sums shown, the sums the measurements predict are drawn beside
// the model's (MeasuredSumCurves.h, from tuning/MeasuredSum.h). They take
// each channel's first file, the one the phase view shows: averaging phase
// over listening positions would sum what no seat hears, and the timing
// reference belongs to one measurement session. The channels keep the
// files' level ratio, normalised or not: when normalising, all of them are
// moved by the one shared offset.

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "interchange/Measurement.h"
#include "model/ParameterImage.h"
#include "plotmodel/MeasuredSumCurves.h"
#include "plotmodel/PlotView.h"
#include "response/ChannelResponse.h"
#include "storage/SideFile.h"
#include "tuning/MeasuredPhase.h"

// One measurement file of a channel as read.
struct MeasurementFile {
    std::string path;
    const Measurement* data = nullptr;  // whole; null when it could not be read
};

class MeasurementOverlay {
public:
    // The files of channel `c`, first to last, read or not.
    std::vector<MeasurementFile> files(int c) const;

    // Brings the measurements in line with `paths` (full paths): a file
    // named anew is read, one no longer named is dropped. A file that cannot
    // be read leaves its place empty and yields one German message, which is
    // not repeated while it stays named.
    std::vector<std::string> follow(const std::array<MeasurementList, ChannelCount>& paths);

    // The file at `path` as already read: the next follow() takes it
    // instead of reading it again.
    void take(const std::string& path, const Measurement& full);

    // Channel `c`'s files combined with the options' averaging and
    // smoothing, at their whole resolution; null when it has none that
    // could be read.
    const Measurement* combined(int c, const OverlayOptions& options);
    // What the options add to channel `c`'s combined curve to draw it: the
    // negative of its own 200 Hz..2 kHz average, or the offset shared by all
    // channels, or 0.
    double offsetDb(int c, const OverlayOptions& options);

    // Adds the overlay curves of the channels `content` shows, in its view.
    // The curves borrow values kept here until the next call.
    void addCurves(PlotContent& content, const OverlayOptions& options,
                   const ChannelResponses& magnitudes);

    // The sums L and R the measurements predict for the channels of preset
    // `preset` of `image` as `responses` (computeComplexResponses) give them;
    // a side without a channel whose first file has phase stays empty.
    MeasuredSumCurves measuredSumCurves(const ParameterImage& image, int preset,
                                        const ComplexResponses& responses,
                                        const OverlayOptions& options);

private:
    struct File {
        std::string path;
        std::optional<Measurement> data;
    };
    struct Channel {
        std::vector<File> files;
        // The combined curve of `averaging` and `smoothing`, whole and thinned.
        bool combinedValid = false;
        Averaging averaging = Averaging::Power;
        int smoothing = 0;
        std::optional<Measurement> combined;
        Measurement drawn;
        std::optional<double> midrangeDb;
        // The first readable file's phase, thinned and wrapped, and whole
        // for the measured sums.
        Measurement phaseCurve;
        std::vector<double> wrappedPhase;
        std::optional<MeasuredPhase> measuredPhase;
        std::vector<double> predicted;  // of the last addCurves()
    };
    // Reads the phase curve of the channel's files anew.
    static void preparePhase(Channel& channel);

    // The offset of sharedNormalisationOffset() over all channels' combined
    // curves, kept for the files and the averaging and smoothing it was
    // found for: every redraw asks for it, and it reads every point.
    double sharedOffsetDb(const OverlayOptions& options);
    struct SharedOffset {
        bool valid = false;
        Averaging averaging = Averaging::Power;
        int smoothing = 0;
        double db = 0.0;
    };

    std::array<Channel, ChannelCount> m_channels;
    std::map<std::string, Measurement> m_taken;
    SharedOffset m_shared;
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
