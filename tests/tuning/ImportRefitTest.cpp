// The refit of an imported filter text on the device's grid, against the
// text's filters as Equalizer APO plays them.

#include <gtest/gtest.h>

#include <cmath>

#include "interchange/FilterImport.h"
#include "tuning/ImportRefit.h"

namespace {

ImportReport imported(const char* text) {
    ChannelRecord channel;
    for (int e = 0; e < EqBandCount; ++e) channel.eq[e] = {1000, 2, 0};
    FilterImport result = importFilterText(text, channel, 0);
    EXPECT_EQ(result.status, FilterImportStatus::Ready);
    return result.report;
}

TEST(ImportRefit, FitsTheWholeTextOnTheGridAndNeverFallsBehindTheRounding) {
    const struct {
        const char* what;
        const char* text;
        double rmsBelowDb;  // of the refit
    } cases[] = {
        // Device peaking bands written in the cookbook's Q (Q_device =
        // Q_cookbook · 10^(G/40)): the grid holds them exactly.
        {"device bands",
         "Filter: ON PK Fc 1000 Hz Gain -6 dB Q 2.8251\n"
         "Filter: ON PK Fc 100 Hz Gain 3 dB Q 0.8413\n",
         0.05},
        // Off the grid, more filters than bands, shelves and a preamp.
        {"a room correction",
         "Preamp: -3.7 dB\nFilter 1: ON PK Fc 63.5 Hz Gain -6.2 dB Q 4.3\n"
         "Filter 2: ON PK Fc 237 Hz Gain -3.1 dB Q 1.8\n"
         "Filter 3: ON PK Fc 1130 Hz Gain 2.4 dB Q 2.7\n"
         "Filter 4: ON PK Fc 3390 Hz Gain -4.7 dB Q 5.5\n"
         "Filter 5: ON LSC Fc 105 Hz Gain 4.5 dB Q 0.71\n"
         "Filter 6: ON HSC Fc 7800 Hz Gain -2.5 dB Q 0.6\n"
         "Filter 7: ON PK Fc 9100 Hz Gain 1.5 dB Q 1.2\n",
         0.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ImportReport report = imported(c.text);
        const ImportRefit refit = refitImport(report);
        ASSERT_TRUE(refit.ok) << refit.message;
        EXPECT_LT(refit.difference.rmsDb, c.rmsBelowDb);
        EXPECT_LE(refit.difference.rmsDb, report.rmsDifferenceDb + 1e-6);
        EXPECT_GE(refit.difference.maxDb, refit.difference.rmsDb);
        // What the import set besides the bands stays; the level within the panel.
        EXPECT_EQ(refit.record.delayTaps, report.record.delayTaps);
        EXPECT_EQ(refit.record.hpType, report.record.hpType);
        EXPECT_GE(refit.record.level, -6);
        EXPECT_LE(refit.record.level, 6);
    }
    // A text that sets no equaliser has nothing to refit.
    const ImportRefit none = refitImport(imported("Preamp: -2 dB\n"));
    EXPECT_FALSE(none.ok);
    EXPECT_FALSE(none.message.empty());
}

}  // namespace
