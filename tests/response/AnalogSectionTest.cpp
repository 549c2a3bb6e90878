#include <gtest/gtest.h>

#include "response/AnalogSection.h"
#include "response/EqResponse.h"
#include "response/FilterResponse.h"

namespace {

double product(const std::vector<AnalogSection>& sections, double f) {
    double m = 1.0;
    for (const AnalogSection& s : sections) m *= sectionMagnitude(s, f);
    return m;
}

TEST(AnalogSection, ACrossoverTypeAndAnEqBandAreTheSectionsTheyAreMadeOf) {
    // Sections per type code -1..10: none for "off" and unknown codes.
    const std::size_t counts[] = {0, 0, 1, 1, 2, 2, 1, 2, 2, 2, 2, 0};
    for (int type = -1; type <= 10; ++type) {
        EXPECT_EQ(highPassSections(1000, type).size(), counts[type + 1]) << type;
        EXPECT_EQ(lowPassSections(1000, type).size(), counts[type + 1]) << type;
        for (double f : {20.0, 500.0, 1000.0, 2000.0, 20000.0}) {
            EXPECT_NEAR(product(highPassSections(1000, type), f), highPassMagnitude(f, 1000, type),
                        1e-12)
                << type << " " << f;
            EXPECT_NEAR(product(lowPassSections(1000, type), f), lowPassMagnitude(f, 1000, type),
                        1e-12)
                << type << " " << f;
        }
    }
    for (int band = 0; band < EqBandCount; ++band) {
        for (int q : {1, 7, 20, 21, 23}) {
            const EqBand eq{2000, q, -7};
            for (double f : {20.0, 1990.0, 2000.0, 15000.0}) {
                EXPECT_EQ(sectionMagnitude(eqBandSection(eq, band), f),
                          eqMagnitude(f, 2000, q, -7, band))
                    << band << " " << q << " " << f;
            }
        }
    }
    EXPECT_EQ(eqBandSection({2000, 22, 3}, 5).type, SectionType::HighShelf);
    EXPECT_EQ(eqBandSection({2000, 22, 3}, 4).type, SectionType::LowShelf);
    EXPECT_DOUBLE_EQ(eqBandSection({2000, 22, 3}, 4).q, 0.5);
}

}  // namespace
