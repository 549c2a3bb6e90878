// The sums the measurements predict, as the overlay hands them to the plot,
// against a known answer: two drivers measured flat at 90 dB, one 90 degrees
// ahead of the other, behind two channels set alike, sum to that channel's
// response times sqrt(2) at +45 degrees, 3.01 dB above one driver.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "document/MeasurementOverlay.h"
#include "response/TestRecords.h"
#include "support/ScratchDir.h"

namespace {

// Flat at `db` from 20 Hz to 20 kHz, with `phase` degrees everywhere or none.
std::string flatFile(double db, const char* phase) {
    std::string text = "* Freq(Hz), SPL(dB)" + std::string(phase ? ", Phase(degrees)" : "") + "\n";
    for (double hz : {20.0, 63.0, 200.0, 630.0, 2000.0, 6300.0, 20000.0}) {
        text += std::to_string(hz) + ", " + std::to_string(db);
        if (phase) text += std::string(", ") + phase;
        text += '\n';
    }
    return text;
}

double wrapped(double degrees) {
    return std::remainder(degrees, 360.0);
}

TEST(MeasuredSumCurves, TwoDriversInQuadratureSumToTheKnownAnswerAndChannelsWithoutPhaseAreNamed) {
    ScratchDir dir;
    writeFileBytes(dir.file("a.txt"), flatFile(90.0, "0"));
    writeFileBytes(dir.file("b.txt"), flatFile(90.0, "90"));
    writeFileBytes(dir.file("c.frd"), flatFile(90.0, nullptr));
    // Channels 1 and 2 alike on L, 3 on L and 4 on R without phase, 5 and 6
    // on no side.
    ParameterImage image;
    applyDefaults(image);
    const int inputs[] = {0, 0, 0, 1, 7, 7};
    for (int c = 0; c < ChannelCount; ++c) {
        ChannelRecord r = neutralRecord(c < 2 ? -3 : 0);
        r.hpType = 9;
        r.hpFrequency = 300;
        r.lpType = 4;
        r.lpFrequency = 4000;
        r.delayTaps = 25;
        r.input = inputs[c];
        image.setRecord(0, c, r);
    }
    auto responses = std::make_unique<ComplexResponses>();
    computeComplexResponses(image, *responses);

    MeasurementOverlay overlay;
    std::array<MeasurementList, ChannelCount> files;
    files[0] = {dir.file("a.txt")};
    files[1] = {dir.file("b.txt"), dir.file("a.txt")};  // the first file counts
    files[2] = {dir.file("c.frd")};
    files[3] = {dir.file("c.frd")};
    ASSERT_TRUE(overlay.follow(files).empty());

    const struct {
        bool normalise;
        double offsetDb;                       // what the sum's level carries of the files'
    } cases[] = {{false, 90.0}, {true, 0.0}};  // normalised: the loudest at 0 dB
    for (const auto& c : cases) {
        OverlayOptions options;
        options.normalise = c.normalise;
        const MeasuredSumCurves sums = overlay.measuredSumCurves(image, 0, *responses, options);
        const MeasuredSumCurve& left = sums[SideLeft];
        EXPECT_EQ(left.channels, (std::vector<int>{0, 1}));
        EXPECT_EQ(left.leftOut, (std::vector<int>{2}));
        EXPECT_EQ(left.name, "Summe L (gemessen, ohne Kanal 3)");
        EXPECT_TRUE(sums[SideRight].empty());
        EXPECT_EQ(sums[SideRight].leftOut, (std::vector<int>{3}));
        // The grid points from 20 Hz to 20 kHz, each on its own frequency.
        ASSERT_FALSE(left.empty());
        EXPECT_GE(left.hz.front(), 20.0);
        EXPECT_LE(left.hz.back(), 20000.0);
        EXPECT_GT(left.hz.size(), 290u);
        const ResponseCurves& h = responses->channels[0];
        for (std::size_t k = 0; k < left.hz.size(); ++k) {
            const int j = left.first + static_cast<int>(k);
            ASSERT_EQ(left.hz[k], responseGridFrequency(j));
            EXPECT_NEAR(left.db[k], h.db[j] + c.offsetDb + 10.0 * std::log10(2.0), 1e-3) << j;
            EXPECT_NEAR(wrapped(left.phaseDegrees[k] - h.phaseDegrees[j] - 45.0), 0.0, 1e-3) << j;
        }
    }

    // The shared offset follows the files: channel 3 now 6 dB louder.
    OverlayOptions shared;
    shared.sharedOffset = true;
    EXPECT_NEAR(overlay.offsetDb(0, shared), -90.0, 1e-9);
    writeFileBytes(dir.file("laut.frd"), flatFile(96.0, nullptr));
    files[2] = {dir.file("laut.frd")};
    ASSERT_TRUE(overlay.follow(files).empty());
    EXPECT_NEAR(overlay.offsetDb(0, shared), -96.0, 1e-9);
}

}  // namespace
