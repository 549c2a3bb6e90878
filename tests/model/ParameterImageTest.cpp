#include <gtest/gtest.h>

#include <cstring>

#include "model/ParameterImage.h"

namespace {

std::int32_t wordAt(const ParameterImage& image, std::size_t offset) {
    std::int32_t v;
    std::memcpy(&v, image.bytes().data() + offset, 4);  // the test host is little-endian
    return v;
}

TEST(ParameterImage, FieldsLieAtTheFileOffsetsLittleEndian) {
    ParameterImage image;
    image.setField(3, 5, eqLevelField(5), -12);
    image.setRedrawPending(1);
    image.setActivePreset(0x01020304);
    EXPECT_EQ(wordAt(image, 2776), -12);  // last field of preset 4, channel 6
    EXPECT_EQ(wordAt(image, 2780), 1);
    EXPECT_EQ(image.bytes()[0], 0x04);
    EXPECT_EQ(image.bytes()[3], 0x01);
    image.setField(1, 2, ChannelField::delayTaps, 2801);
    EXPECT_EQ(wordAt(image, 4 * (71 + 156 * 1 + 26 * 2 + 7)), 2801);
}

TEST(ParameterImage, OutOfRangeIndicesNeitherReadNorWriteOutsideTheBlock) {
    ParameterImage image;
    const ParameterImage before = image;
    for (int p : {-1, 4, 7, 1 << 30}) {
        image.setField(p, 0, 0, 99);
        EXPECT_EQ(image.field(p, 0, 0), 0);
    }
    for (int c : {-1, 6}) {
        image.setField(0, c, 0, 99);
        image.setChannelShown(c, 1);
        EXPECT_EQ(image.channelShown(c), 0);
    }
    image.setField(0, 0, 26, 99);
    image.setField(0, 0, -1, 99);
    EXPECT_EQ(image, before);
    EXPECT_EQ(image.record(9, 0), ChannelRecord{});
}

TEST(ParameterImage, WorkingDirectoryIsBoundedByItsField) {
    ParameterImage image;
    std::memset(image.bytes().data() + 16, 'x', 260);  // no terminator, as a file may bring
    image.bytes()[276] = 'y';
    EXPECT_EQ(image.workingDirectory(), std::string(260, 'x'));

    image.setWorkingDirectory(std::string(300, 'a'));
    EXPECT_EQ(image.workingDirectory(), std::string(259, 'a'));
    EXPECT_EQ(image.bytes()[275], 0);
    EXPECT_EQ(image.bytes()[276], 'y');
}

TEST(ParameterImage, DefaultsKeepDirectorySpareByteAndReserved) {
    ParameterImage image;
    image.bytes().fill(0x5A);
    image.setWorkingDirectory("/home/user");
    applyDefaults(image);

    EXPECT_EQ(image.activePreset(), 0);
    EXPECT_EQ(image.tabMarker(), 0);
    EXPECT_EQ(image.redrawPending(), 0);
    EXPECT_EQ(image.plotStartHz(), 20);
    EXPECT_EQ(image.plotEndHz(), 20000);
    EXPECT_EQ(image.sixChannels(), 1);
    for (int c = 0; c < ChannelCount; ++c) EXPECT_EQ(image.channelShown(c), 1);
    EXPECT_EQ(image.workingDirectory(), "/home/user");
    EXPECT_EQ(image.spareByte(), 0x5A);
    for (int p = 0; p < PresetCount; ++p) {
        for (int c = 0; c < ChannelCount; ++c) {
            const ChannelRecord r = image.record(p, c);
            EXPECT_EQ(r.reserved, 0x5A5A5A5A);
            EXPECT_EQ(r.hpFrequency, 20);
            EXPECT_EQ(r.lpFrequency, 150);
            EXPECT_EQ(r.level, 0);
            EXPECT_EQ(r.delayTaps, 0);
            const int freqs[] = {40, 80, 160, 400, 2000, 6000};
            for (int e = 0; e < EqBandCount; ++e) {
                EXPECT_EQ(r.eq[e], (EqBand{freqs[e], 2, 0}));
            }
        }
    }
}

TEST(ParameterImage, RecordRoundTripsAllTwentySixFields) {
    ParameterImage image;
    std::array<std::int32_t, ChannelRecordFieldCount> f{};
    for (int k = 0; k < ChannelRecordFieldCount; ++k) f[k] = 1000 + k;
    image.setRecord(2, 4, ChannelRecord::fromFields(f));
    for (int k = 0; k < ChannelRecordFieldCount; ++k) EXPECT_EQ(image.field(2, 4, k), 1000 + k);
    EXPECT_EQ(image.record(2, 4).toFields(), f);
}

}  // namespace
