#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "plotmodel/CurveCsv.h"

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(CurveCsv, HeaderNamesEveryColumnWithItsUnit) {
    ResponseValues a{}, b{};
    EXPECT_EQ(linesOf(curvesCsv({{channelCurveName(0), &a}, {"Summe L", &b}}, "dB")).front(),
              "Frequenz [Hz],Kanal 1 [dB],Summe L [dB]");
    EXPECT_EQ(linesOf(curvesCsv({{channelCurveName(5), &a}}, "°")).front(),
              "Frequenz [Hz],Kanal 6 [deg]");
    // Names of the user's own choosing are quoted where CSV needs it.
    EXPECT_EQ(linesOf(curvesCsv({{"Hoch, links", &a}, {"Bass \"Sub\"", &b}}, "ms")).front(),
              "Frequenz [Hz],\"Hoch, links [ms]\",\"Bass \"\"Sub\"\" [ms]\"");
    EXPECT_EQ(curvesCsv({}, "dB", 0, 1), "Frequenz [Hz]\n2\n");
}

TEST(CurveCsv, OneLinePerGridPointWithTheShortestExactNumbers) {
    ResponseValues a{}, b{};
    a[0] = 0.5f;
    b[0] = -180.0f;
    a[100] = -3.0103f;
    b[100] = 1.0f / 3.0f;
    a[300] = 12.25f;
    b[300] = -1000.0f;
    a[1999] = 1e-7f;
    const auto lines = linesOf(curvesCsv({{"A", &a}, {"B", &b}}, "dB"));
    ASSERT_EQ(lines.size(), 2001u);
    EXPECT_EQ(lines[1], "2,0.5,-180");
    EXPECT_EQ(lines[101], "20,-3.0103,0.33333334");
    EXPECT_EQ(lines[301], "2000,12.25,-1000");
    EXPECT_EQ(lines[401], "20000,0,0");
    EXPECT_EQ(lines[2000], "1.9544745e+20,1e-07,0");
    // A range of points; out-of-grid bounds are clamped.
    EXPECT_EQ(curvesCsv({{"A", &a}}, "dB", 100, 102),
              "Frequenz [Hz],A [dB]\n20,-3.0103\n20.46586,0\n");
    EXPECT_EQ(linesOf(curvesCsv({{"A", &a}}, "dB", -5, 9999)).size(), 2001u);
    EXPECT_EQ(curvesCsv({{"A", &a}}, "dB", 7, 3), "Frequenz [Hz],A [dB]\n");
}

}  // namespace
