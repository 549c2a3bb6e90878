#include <gtest/gtest.h>

#include <climits>

#include "device/WireImage.h"
#include "model/FrequencyGrid.h"
#include "model/ParameterImage.h"

namespace {

ChannelRecord defaultRecord() {
    ParameterImage image;
    applyDefaults(image);
    return image.record(0, 0);
}

TEST(WireCodes, OutOfRangeLevelsAndGains) {
    // Levels -6..+6 and gains -12..+6 map to 0..12 and 0..18; all else to 0.
    const int levels[][2] = {{-6, 0}, {6, 12}, {7, 0}, {INT_MIN, 0}};
    for (const auto& [db, code] : levels) EXPECT_EQ(levelToCode(db), code) << db;
    const int gains[][2] = {{-12, 0}, {6, 18}, {7, 0}, {INT_MAX, 0}};
    for (const auto& [db, code] : gains) EXPECT_EQ(eqLevelToCode(db), code) << db;
    const int levelBack[][2] = {{0, -6}, {12, 6}, {13, 0}, {-1, 0}};
    for (const auto& [code, db] : levelBack) EXPECT_EQ(codeToLevel(code), db) << code;
    const int gainBack[][2] = {{0, -12}, {18, 6}, {19, 0}, {255, 0}};
    for (const auto& [code, db] : gainBack) EXPECT_EQ(codeToEqLevel(code), db) << code;
}

TEST(WireRecord, DefaultRecordEncodesToTheDevicesFactoryBytes) {
    const WireRecord expected = {0x06, 0x05, 0x00, 0x1E, 0x00, 0x00, 0x00, 0x00, 0x14,
                                 0x01, 0x0C, 0x24, 0x01, 0x0C, 0x34, 0x01, 0x0C, 0x50,
                                 0x01, 0x0C, 0x78, 0x01, 0x0C, 0x98, 0x01, 0x0C};
    EXPECT_EQ(encodeWireRecord(defaultRecord()), expected);
    const WireImage image = defaultWireImage();
    for (int p = 0; p < PresetCount; ++p) {
        for (int c = 0; c < ChannelCount; ++c) EXPECT_EQ(wireRecordAt(image, p, c), expected);
    }
}

TEST(WireRecord, FieldEdgeValues) {
    ChannelRecord r = defaultRecord();
    r.lpFrequency = 40;
    r.hpFrequency = 15;
    EXPECT_EQ(encodeWireRecord(r)[WireLpFrequency], 0);
    EXPECT_EQ(encodeWireRecord(r)[WireHpFrequency], 0);
    r.lpFrequency = 19500;
    r.hpFrequency = 10000;
    EXPECT_EQ(encodeWireRecord(r)[WireLpFrequency], 159);
    EXPECT_EQ(encodeWireRecord(r)[WireHpFrequency], 165);
    r.level = -6;
    r.eq[2].level = -12;
    EXPECT_EQ(encodeWireRecord(r)[WireLevel], 0);
    EXPECT_EQ(encodeWireRecord(r)[wireEqLevelByte(2)], 0);
    r.level = 6;
    r.eq[2].level = 6;
    EXPECT_EQ(encodeWireRecord(r)[WireLevel], 12);
    EXPECT_EQ(encodeWireRecord(r)[wireEqLevelByte(2)], 18);
    r.delayTaps = 2801;
    EXPECT_EQ(encodeWireRecord(r)[WireDelayHigh], 10);
    EXPECT_EQ(encodeWireRecord(r)[WireDelayLow], 241);
    r.delayTaps = 300;
    EXPECT_EQ(encodeWireRecord(r)[WireDelayHigh], 1);
    EXPECT_EQ(encodeWireRecord(r)[WireDelayLow], 44);
    // From 20000 Hz on the grid code is 0 before the field's origin is taken off.
    r.hpFrequency = r.lpFrequency = r.eq[0].frequency = 20000;
    const WireRecord w = encodeWireRecord(r);
    EXPECT_EQ(w[WireHpFrequency], 0);
    EXPECT_EQ(w[WireLpFrequency], 231);
    EXPECT_EQ(w[wireEqFrequencyByte(0)], 251);
}

TEST(WireRecord, ExtremeValuesWrapToTheirLowByteWithoutOverflow) {
    ChannelRecord r;
    r.level = r.hpFrequency = r.lpFrequency = INT_MIN;
    r.hpType = 0x1234;
    r.lpType = -1;
    r.input = 258;
    r.delayTaps = INT_MIN;
    for (auto& band : r.eq) band = {INT_MAX, INT_MIN, INT_MAX};
    const WireRecord w = encodeWireRecord(r);
    EXPECT_EQ(w[WireHpType], 0x34);
    EXPECT_EQ(w[WireLpType], 0xFF);
    EXPECT_EQ(w[WireInput], 2);
    EXPECT_EQ(w[WireDelayHigh], 0);
    EXPECT_EQ(w[WireDelayLow], 0);
    EXPECT_EQ(w[wireEqQByte(0)], 0xFF);  // INT_MIN - 1, low 8 bits
}

TEST(WireRecord, GridFrequenciesAtOrAboveEachFieldsOriginSurviveTheRoundTrip) {
    for (int hz : frequencyGrid()) {
        ChannelRecord r = defaultRecord();
        r.hpFrequency = hz;
        if (hz >= 40) r.lpFrequency = hz;
        if (hz >= 20) {
            for (auto& band : r.eq) band.frequency = hz;
        }
        ChannelRecord back;
        decodeWireRecord(encodeWireRecord(r), back);
        EXPECT_EQ(back, r) << hz;
    }
}

TEST(WireRecord, ValuesOffTheWireComeBackAsTheDecodedByte) {
    ChannelRecord r = defaultRecord();
    r.hpFrequency = 57;
    r.lpFrequency = 30;
    r.level = 7;
    r.delayTaps = 2801;
    r.eq[4].q = 23;
    r.eq[0].frequency = 19;
    const WireRecord w = encodeWireRecord(r);
    EXPECT_EQ(w[WireLpFrequency], 246);
    EXPECT_EQ(w[wireEqFrequencyByte(0)], 255);
    EXPECT_EQ(w[wireEqQByte(4)], 22);
    ChannelRecord back = r;
    decodeWireRecord(w, back);
    EXPECT_EQ(back.hpFrequency, 55);
    EXPECT_EQ(back.lpFrequency, 0);
    EXPECT_EQ(back.level, -6);
    EXPECT_EQ(back.delayTaps, 2801);
    EXPECT_EQ(back.eq[4].q, 23);
    EXPECT_EQ(back.eq[0].frequency, 0);

    WireRecord all{};
    all.fill(0xFF);
    decodeWireRecord(all, back);
    EXPECT_EQ(back.delayTaps, 65535);
    EXPECT_EQ(back.hpType, 255);
    EXPECT_EQ(back.eq[5].q, 256);
}

TEST(WireImage, IsOrderedChannelFirstAndKeepsReservedAndHeader) {
    EXPECT_EQ(wireRecordOffset(2, 1), 156u);  // channel 2, preset 3 counted from 1
    ParameterImage image;
    applyDefaults(image);
    for (int p = 0; p < PresetCount; ++p) {
        for (int c = 0; c < ChannelCount; ++c) {
            image.setField(p, c, ChannelField::delayTaps, 16 * p + c);  // unique per record
            image.setField(p, c, ChannelField::reserved, 1000 + 10 * p + c);
        }
    }
    const WireImage wire = encodeWireImage(image);
    EXPECT_EQ(wire[156 + WireDelayLow], 16 * 2 + 1);
    EXPECT_EQ(wire[WireImageSize - WireRecordSize + WireDelayLow], 16 * 3 + 5);

    ParameterImage target;
    target.setSixChannels(0);
    target.setActivePreset(3);
    target.setWorkingDirectory("/keep");
    for (int p = 0; p < PresetCount; ++p) {
        for (int c = 0; c < ChannelCount; ++c) {
            target.setField(p, c, ChannelField::reserved, -7 - p - c);
        }
    }
    decodeWireImage(wire, target);
    for (int p = 0; p < PresetCount; ++p) {
        for (int c = 0; c < ChannelCount; ++c) {
            ChannelRecord want = image.record(p, c);
            want.reserved = -7 - p - c;
            EXPECT_EQ(target.record(p, c), want) << p << ' ' << c;
        }
    }
    EXPECT_EQ(target.sixChannels(), 0);
    EXPECT_EQ(target.activePreset(), 3);
    EXPECT_EQ(target.workingDirectory(), "/keep");
    EXPECT_EQ(target.redrawPending(), 0);
}

}  // namespace
