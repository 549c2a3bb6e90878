#include <gtest/gtest.h>

#include <cmath>

#include "interchange/Measurement.h"

namespace {

TEST(Measurement, ReadsEachFormatToTheSameValues) {
    const char* files[] = {
        // REW's text export.
        "* Measurement data measured by REW V5.20.13\n"
        "* Source: Umik-1, Hörplatz\n"
        "* Freq(Hz), SPL(dB), Phase(degrees)\n"
        "20.000000, 71.250, -12.5\n"
        "1000.000000, 80.000, 3.25\n"
        "19500.000000, 77.500, -170\n",
        // FRD: blanks, a column title line, CRLF.
        "Frequency  dB  Phase\r\n"
        "20   71.25   -12.5\r\n"
        "1000 80.0    3.25\r\n"
        "19500 77.5 -170\r\n",
        // A German spreadsheet: semicolons and decimal commas.
        "20;71,25;-12,5\n1000;80;3,25\n19500;77,5;-170\n",
        // Tabs with decimal commas, blanks with decimal commas.
        "20\t71,25\t-12,5\n1000\t80\t3,25\n19500\t77,5\t-170\n",
        "# Hochtöner\n20 71,25 -12,5\n1000 80 +3,25\n\n19500 77,5 -170\n",
    };
    for (const char* text : files) {
        const MeasurementRead r = parseMeasurement(text);
        ASSERT_TRUE(r.ok) << r.message() << "\n" << text;
        EXPECT_EQ(r.measurement.frequencies, (std::vector<double>{20, 1000, 19500})) << text;
        EXPECT_EQ(r.measurement.db, (std::vector<double>{71.25, 80, 77.5})) << text;
        EXPECT_EQ(r.measurement.phaseDegrees, (std::vector<double>{-12.5, 3.25, -170})) << text;
    }
    const MeasurementRead twoColumns = parseMeasurement("20,71.5\n30,72\n");
    ASSERT_TRUE(twoColumns.ok);
    EXPECT_EQ(twoColumns.measurement.db, (std::vector<double>{71.5, 72}));
    EXPECT_TRUE(twoColumns.measurement.phaseDegrees.empty());
}

TEST(Measurement, RefusesWithTheLineThatCannotBeRead) {
    const std::pair<const char*, int> cases[] = {
        {"* x\n20 70\n30 abc\n", 3},
        {"20 70 1 2\n30 71 x 2\n", 2},
        {"20 70 1\n30 70\n", 2},
        {"20 70\n20 71\n", 2},
        {"20 70\n10 71\n", 2},
        {"0 70\n10 71\n", 1},
        {"20 70\n30\n", 2},
        {"20;70\n30;71,5,5\n", 2},
        {"20,70,1,2\n30,x,1,2\n", 2},
        {"* nur Kopf\n", 0},
        {"20 70\n", 0},
    };
    for (const auto& [text, line] : cases) {
        const MeasurementRead r = parseMeasurement(text);
        EXPECT_FALSE(r.ok) << text;
        EXPECT_EQ(r.errorLine, line) << text;
        EXPECT_FALSE(r.error.empty());
    }
    EXPECT_EQ(parseMeasurement("20 70\n30 x\n").message(), "Zeile 2: \"x\" ist keine Zahl");
    EXPECT_EQ(parseMeasurement("20,70,1,2\n30,x,1,2\n").message(), "Zeile 2: \"x\" ist keine Zahl");
    // A message box quotes a sentence, not a megabyte.
    EXPECT_EQ(parseMeasurement("20 70\n30 " + std::string(1 << 20, 'x') + "\n").message(),
              "Zeile 2: \"" + std::string(40, 'x') + "…\" ist keine Zahl");
}

// Files of the shapes measuring programs write: several curves side by side,
// Klippel's quoted thousands, a table after the values.
TEST(Measurement, ReadsWideFilesKlippelsNumbersAndStopsBeforeTablesAfterTheValues) {
    struct Case {
        const char* text;
        std::vector<double> frequencies, db, phase;
        int endLine;
    };
    const Case cases[] = {
        // A room export of four measurements: frequency, then level and
        // phase of each; the titles say where the phase is.
        {"Freq,SPL 1,Phase 1,SPL 2,Phase 2,SPL 3,Phase 3,SPL 4\n"
         "20,71.5,-12,70,3,69,4,68\n1000,80,170,79,5,78,6,77\n",
         {20, 1000},
         {71.5, 80},
         {-12, 170},
         0},
        // Left and right levels: the third column is no phase.
        {"Frequency,Left,Right,Left phase,Right phase\n20,71.5,70,-12,3\n1000,80,79,170,5\n",
         {20, 1000},
         {71.5, 80},
         {},
         0},
        {"Freq dB Right\n20 71.5 70\n1000 80 79\n", {20, 1000}, {71.5, 80}, {}, 0},
        // No titles: a third column that wraps at 180 degrees is a phase.
        {"20\t71.5\t-170\t1\n500\t75\t175\t1\n1000\t80\t90\t1\n",
         {20, 500, 1000},
         {71.5, 75, 80},
         {-170, 175, 90},
         0},
        {"20\t71.5\t70\t1\n1000\t80\t79\t1\n", {20, 1000}, {71.5, 80}, {}, 0},
        // Klippel: quoted titles, from 1 kHz on a quoted thousands separator;
        // a lone comma stays a decimal comma.
        {"\"Frequency [Hz]\"\t\"SPL [dB]\"\n"
         "934.5\t83,1\n\"1,034.91\"\t83.55\n\"12,000.5\"\t80.25\n",
         {934.5, 1034.91, 12000.5},
         {83.1, 83.55, 80.25},
         {},
         0},
        {"\"f\",\"dB\"\n\"934.5\",\"83.1\"\n\"1,034.91\",\"83.55\"\n",
         {934.5, 1034.91},
         {83.1, 83.55},
         {},
         0},
        // A table after the values ends them.
        {"20 70\n30 71\n\nMittelwert\n200 75\n", {20, 30}, {70, 71}, {}, 4},
        {"20 70\n30 71\nEnde\n", {20, 30}, {70, 71}, {}, 3},
        {"20 70\n30 71\n\n10 60\n5 50\n", {20, 30}, {70, 71}, {}, 4},
    };
    for (const Case& c : cases) {
        const MeasurementRead r = parseMeasurement(c.text);
        ASSERT_TRUE(r.ok) << r.message() << "\n" << c.text;
        EXPECT_EQ(r.measurement.frequencies, c.frequencies) << c.text;
        EXPECT_EQ(r.measurement.db, c.db) << c.text;
        EXPECT_EQ(r.measurement.phaseDegrees, c.phase) << c.text;
        EXPECT_EQ(r.endLine, c.endLine) << c.text;
        EXPECT_EQ(r.notice.empty(), c.endLine == 0) << c.text;
    }
    EXPECT_EQ(parseMeasurement("20 70\n30 71\n\nMittelwert\n").notice,
              "Die Messwerte enden in Zeile 2; ab Zeile 4 (eine Zeile ohne Zahlen) ist nichts "
              "gelesen.");
}

TEST(Measurement, MidrangeAverageIsTakenOverLogFrequency) {
    Measurement m;
    // 10 log10(f) rises by the same amount per decade; from 20 Hz to 20 kHz
    // with more points at the top than at the bottom.
    for (double f : {20.0, 150.0, 700.0, 1000.0, 1200.0, 1500.0, 1800.0, 2500.0, 20000.0}) {
        m.frequencies.push_back(f);
        m.db.push_back(10.0 * std::log10(f));
    }
    double average = 0.0;
    ASSERT_TRUE(midrangeAverageDb(m, average));
    // The log-frequency mean of 10 log10 f over 200..2000 Hz is 10 log10(632.5).
    EXPECT_NEAR(average, 5.0 * (std::log10(200.0) + std::log10(2000.0)), 1e-9);

    const Measurement bass{{10, 50, 150}, {90, 95, 80}, {}};
    EXPECT_FALSE(midrangeAverageDb(bass, average));
}

TEST(Measurement, PredictedCurveAddsTheResponseBetweenItsGridPoints) {
    ChannelResponse response;
    for (int j = 0; j < ChannelResponse::pointCount; ++j) response.db[j] = 0.01f * j;
    const auto at = [](double j) { return 2.0 * std::pow(10.0, j / 100.0); };
    EXPECT_NEAR(responseDbAt(response, at(300)), 3.0, 1e-6);
    EXPECT_NEAR(responseDbAt(response, at(300.5)), 3.005, 1e-6);
    EXPECT_FLOAT_EQ(responseDbAt(response, 1.0), 0.0f);
    EXPECT_FLOAT_EQ(responseDbAt(response, 1e30), response.db[1999]);

    const Measurement m{{at(100), at(250.25)}, {80, 70}, {}};
    const std::vector<double> predicted = predictedDb(m, response, -75.0);
    EXPECT_NEAR(predicted[0], 80 - 75 + 1.0, 1e-6);
    EXPECT_NEAR(predicted[1], 70 - 75 + 2.5025, 1e-6);
}

}  // namespace
