#include <gtest/gtest.h>
#include <yaml-cpp/yaml.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <numbers>
#include <set>

#include "interchange/FilterExport.h"
#include "interchange/FilterImport.h"
#include "interchange/YamlWriter.h"
#include "model/FrequencyGrid.h"
#include "model/ParameterImage.h"
#include "model/ParameterTexts.h"
#include "response/ChannelResponse.h"
#include "response/EqResponse.h"

namespace {

ChannelRecord defaultRecord() {
    ParameterImage image;
    applyDefaults(image);
    return image.record(0, 0);
}

// Six channels with every crossover type the text formats can express,
// shelves, peaking bands away from the default places, levels and delays.
std::vector<ExportChannel> busyChannels() {
    const int hpTypes[] = {FilterButterworth24,   FilterBessel12, FilterBessel24,
                           FilterLinkwitzRiley12, FilterOff,      FilterLinkwitzRiley24};
    const int lpTypes[] = {FilterButterworth12, FilterLinkwitzRiley24, FilterOff,
                           FilterBessel24,      FilterBessel12,        FilterLinkwitzRiley12};
    std::vector<ExportChannel> channels;
    for (int c = 0; c < ChannelCount; ++c) {
        ChannelRecord r = defaultRecord();
        r.level = c - 3;
        r.input = c % 3;
        r.reserved = 1000 + c;
        r.delayTaps = c < 4 ? 37 * c : 2801 - c;
        r.hpType = hpTypes[c];
        r.hpFrequency = 15 + 5 * c * c;
        r.lpType = lpTypes[c];
        r.lpFrequency = 19500 - 3000 * c;
        for (int e = 0; e < EqBandCount; ++e) {
            r.eq[e] = {frequencyGrid()[5 + (29 * e + 7 * c) % 180], 1 + (7 * e + c) % 20,
                       (e + c) % 19 - 12};
        }
        if (c % 2 == 0) r.eq[4] = {100, 21 + c % 3, 4};
        if (c % 3 == 0) r.eq[5] = {12000, 23 - c % 2, -5};
        channels.push_back({c, "Weg " + std::to_string(c + 1), r});
    }
    return channels;
}

// The record an import starts from: defaults, with what no export carries
// (input, the reserved field, the corner of a filter that is off) as in `r`.
ChannelRecord importTarget(const ChannelRecord& r) {
    ChannelRecord t = defaultRecord();
    t.input = r.input;
    t.reserved = r.reserved;
    if (r.hpType == FilterOff) t.hpFrequency = r.hpFrequency;
    if (r.lpType == FilterOff) t.lpFrequency = r.lpFrequency;
    return t;
}

ChannelRecord importBack(const std::string& text, const ExportChannel& c,
                         std::string_view block = {}) {
    const FilterImport r = importFilterText(text, importTarget(c.record), c.index, block);
    EXPECT_EQ(r.status, FilterImportStatus::Ready);
    EXPECT_TRUE(r.report.issues.empty()) << r.report.issues.front().reason;
    return r.report.record;
}

// The device's model of a channel's crossover and EQ, in dB.
double deviceDb(const ChannelRecord& r, double f) {
    return magnitudeToDb(channelMagnitude(f, r));
}

TEST(FilterExport, ImportOfAnApoExportGivesBackTheSameChannel) {
    const std::vector<ExportChannel> channels = busyChannels();
    for (const ExportChannel& c : channels) {
        const ExportText apo = exportApo({c}, 1);
        EXPECT_TRUE(apo.warnings.empty());
        EXPECT_NE(apo.text.find("# Preset 2, Kanal " + std::to_string(c.index + 1) + " \"Weg"),
                  std::string::npos);
        // Shelves travel as the device's own coefficients.
        EXPECT_EQ(importBack(apo.text, c), c.record) << apo.text;

        // REW's file has the filters but neither level nor delay, and its
        // shelves are the nearest cookbook shelves: they come back as a
        // device shelf close to the original.
        const ChannelRecord back = importBack(exportRew(c, 1).text, c);
        ChannelRecord expected = c.record;
        expected.level = importTarget(c.record).level;
        expected.delayTaps = importTarget(c.record).delayTaps;
        for (const int e : {4, 5}) {
            if (isShelvingQCode(e, c.record.eq[e].q)) expected.eq[e] = back.eq[e];
        }
        EXPECT_EQ(back, expected) << exportRew(c, 1).text;
        for (int k = 0; k <= 300; ++k) {
            const double f = 20.0 * std::pow(10.0, k / 100.0);
            EXPECT_NEAR(deviceDb(back, f), deviceDb(c.record, f), 1.0) << c.index << " " << f;
        }
    }
    // The whole preset: one block per channel.
    const ExportText preset = exportApo(channels, 0);
    const FilterImport choose = importFilterText(preset.text, defaultRecord(), 0);
    EXPECT_EQ(choose.status, FilterImportStatus::ChooseBlock);
    EXPECT_EQ(choose.blocks, (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
    for (const ExportChannel& c : channels) {
        EXPECT_EQ(importBack(preset.text, c, std::to_string(c.index + 1)), c.record) << c.index;
    }
}

TEST(FilterExport, WhatAFormatCannotExpressIsLeftOutWithAWarning) {
    ExportChannel c{2, "Mitte", defaultRecord()};
    c.record.hpType = FilterButterworth18;  // second order Q 1 and a first-order section
    c.record.hpFrequency = 100;
    c.record.lpType = FilterFirstOrder;
    c.record.lpFrequency = 3000;
    c.record.eq[2] = {500, 0, 3};  // Q code 0, from a damaged file
    const ExportText apo = exportApo({c}, 0);
    EXPECT_NE(apo.text.find("Filter 1: ON HPQ Fc 100 Hz Q 1\n"), std::string::npos) << apo.text;
    EXPECT_NE(apo.text.find("# Hochpass 1. Ordnung bei 100 Hz: in Equalizer APO nicht"),
              std::string::npos);
    ASSERT_EQ(apo.warnings.size(), 3u);
    EXPECT_EQ(apo.warnings[1],
              "Kanal 3 \"Mitte\": Tiefpass 1. Ordnung bei 3000 Hz ist in Equalizer APO nicht "
              "darstellbar und fehlt.");
    EXPECT_EQ(apo.warnings[2],
              "Kanal 3 \"Mitte\": EQ3 bei 500 Hz hat keine gültigen Werte und fehlt.");
    EXPECT_EQ(exportRew(c, 0).warnings.size(), 3u);
    EXPECT_EQ(exportCamillaDsp({c}, 0).warnings.size(), 1u);
}

TEST(FilterExport, CamillaDspConfigurationHasTheDocumentedStructure) {
    std::vector<ExportChannel> channels = busyChannels();
    channels[0].name = "Bass \"links\": 100% #1\nneu";
    channels[0].record.hpType = FilterButterworth18;
    channels[5].record.lpType = FilterBessel12;  // its section at 1.26 fc: above 22050 Hz
    channels[5].record.lpFrequency = 19500;
    const int rate = 44100;
    const ExportText config = exportCamillaDsp(channels, 2, rate);
    ASSERT_EQ(config.warnings.size(), 1u);
    EXPECT_EQ(config.warnings[0],
              "Kanal 6 \"Weg 6\": Tiefpass bei 24570 Hz liegt nicht unter der halben Abtastrate "
              "(22050 Hz) und fehlt.");

    const YAML::Node root = YAML::Load(config.text);
    EXPECT_EQ(root["devices"]["samplerate"].as<int>(), rate);
    EXPECT_EQ(root["devices"]["capture"]["channels"].as<int>(), 2);
    EXPECT_EQ(root["devices"]["playback"]["channels"].as<int>(), 6);
    EXPECT_EQ(root["title"].as<std::string>(), "Filtaro Preset 3");

    ASSERT_TRUE(root["mixers"].IsMap());
    ASSERT_EQ(root["mixers"].size(), 1u);
    const std::string mixerName = root["mixers"].begin()->first.as<std::string>();
    const YAML::Node mixer = root["mixers"][mixerName];
    EXPECT_EQ(mixer["channels"]["in"].as<int>(), 2);
    EXPECT_EQ(mixer["channels"]["out"].as<int>(), 6);
    ASSERT_EQ(mixer["mapping"].size(), 6u);
    for (int c = 0; c < ChannelCount; ++c) {
        const YAML::Node m = mixer["mapping"][c];
        EXPECT_EQ(m["dest"].as<int>(), c);
        std::set<int> sources;
        for (const YAML::Node& s : m["sources"]) sources.insert(s["channel"].as<int>());
        const int input = channels[c].record.input;
        const std::set<int> expected = input == 2 ? std::set<int>{0, 1} : std::set<int>{input};
        EXPECT_EQ(sources, expected) << c;
    }

    const YAML::Node filters = root["filters"];
    const std::set<std::string> biquads = {"Peaking",    "Highpass",  "Lowpass",
                                           "HighpassFO", "LowpassFO", "Free"};
    for (const auto& f : filters) {
        const std::string type = f.second["type"].as<std::string>();
        ASSERT_TRUE(type == "Gain" || type == "Delay" || type == "Biquad") << type;
        if (type == "Biquad") {
            const YAML::Node p = f.second["parameters"];
            EXPECT_EQ(biquads.count(p["type"].as<std::string>()), 1u);
            if (p["type"].as<std::string>() == "Free") {
                for (const char* k : {"a1", "a2", "b0", "b1", "b2"}) EXPECT_TRUE(p[k]) << k;
                continue;
            }
            EXPECT_LT(p["freq"].as<double>(), rate / 2.0);
            if (p["gain"]) {
                EXPECT_NE(p["gain"].as<double>(), 0.0);  // 0 dB bands are left out
            }
        }
    }

    const YAML::Node pipeline = root["pipeline"];
    ASSERT_EQ(pipeline.size(), 7u);
    EXPECT_EQ(pipeline[0]["type"].as<std::string>(), "Mixer");
    EXPECT_EQ(pipeline[0]["name"].as<std::string>(), mixerName);
    for (int c = 0; c < ChannelCount; ++c) {
        const YAML::Node step = pipeline[c + 1];
        EXPECT_EQ(step["type"].as<std::string>(), "Filter");
        EXPECT_EQ(step["channels"].as<std::vector<int>>(), std::vector<int>{c});
        const auto names = step["names"].as<std::vector<std::string>>();
        for (const std::string& n : names) EXPECT_TRUE(filters[n]) << n;
        const YAML::Node gain = filters[names.at(0)];
        EXPECT_EQ(gain["type"].as<std::string>(), "Gain");
        EXPECT_EQ(gain["parameters"]["gain"].as<double>(), channels[c].record.level);
        const YAML::Node delay = filters[names.at(1)]["parameters"];
        EXPECT_EQ(delay["unit"].as<std::string>(), "ms");
        EXPECT_NEAR(delay["delay"].as<double>(),
                    channels[c].record.delayTaps * SecondsPerTap * 1000.0, 1e-12);
    }
    EXPECT_EQ(pipeline[1]["description"].as<std::string>(),
              "Kanal 1 \"Bass \"links\": 100% #1 neu\"");
    const auto first = pipeline[1]["names"].as<std::vector<std::string>>();
    EXPECT_EQ(filters[first.at(2)]["parameters"]["type"].as<std::string>(), "Highpass");
    EXPECT_EQ(filters[first.at(3)]["parameters"]["type"].as<std::string>(), "HighpassFO");
}

// The cookbook's digital formulas, written out here from its text, for the
// types the exports use; the biquad's magnitude in dB at f.
double cookbookDb(const std::string& type, double f0, double gainDb, double q, double fs,
                  double f) {
    const double a = std::pow(10.0, gainDb / 40.0);
    const double w0 = 2 * std::numbers::pi * f0 / fs;
    const double c = std::cos(w0), alpha = std::sin(w0) / (2 * q);
    double b[3], d[3];
    if (type == "Peaking") {
        const double bb[] = {1 + alpha * a, -2 * c, 1 - alpha * a};
        const double dd[] = {1 + alpha / a, -2 * c, 1 - alpha / a};
        std::copy(bb, bb + 3, b);
        std::copy(dd, dd + 3, d);
    } else if (type == "Highpass" || type == "Lowpass") {
        const double s = type == "Highpass" ? 1 : -1;
        const double bb[] = {(1 + s * c) / 2, -s * (1 + s * c), (1 + s * c) / 2};
        const double dd[] = {1 + alpha, -2 * c, 1 - alpha};
        std::copy(bb, bb + 3, b);
        std::copy(dd, dd + 3, d);
    } else {  // first order, CamillaDSP's documentation: k = tan(w0 / 2)
        const double k = std::tan(w0 / 2);
        const bool high = type == "HighpassFO";
        const double bb[] = {high ? 1 : k, high ? -1 : k, 0};
        const double dd[] = {1 + k, k - 1, 0};
        std::copy(bb, bb + 3, b);
        std::copy(dd, dd + 3, d);
    }
    const std::complex<double> z = std::polar(1.0, -2 * std::numbers::pi * f / fs);
    return 20 * std::log10(
                    std::abs((b[0] + b[1] * z + b[2] * z * z) / (d[0] + d[1] * z + d[2] * z * z)));
}

TEST(FilterExport, WhatCamillaDspAndApoPlayIsTheDevicesFilter) {
    // Channels whose filters lie well below half the rate: there every
    // section as the programs compute it must be the device's own.
    std::vector<ExportChannel> channels = busyChannels();
    for (ExportChannel& c : channels) {
        c.record.lpType = FilterOff;
        for (int e = 0; e < EqBandCount; ++e) {
            c.record.eq[e].frequency = std::min(c.record.eq[e].frequency, 1000);
        }
    }
    const int rate = 96000;
    const YAML::Node root = YAML::Load(exportCamillaDsp(channels, 0, rate).text);
    for (const ExportChannel& c : channels) {
        const auto names = root["pipeline"][c.index + 1]["names"].as<std::vector<std::string>>();
        for (const double f : {20.0, 63.0, 200.0, 700.0, 2000.0, 5000.0}) {
            double played = 0.0;
            for (const std::string& n : names) {
                const YAML::Node filter = root["filters"][n];
                if (filter["type"].as<std::string>() != "Biquad") continue;
                const YAML::Node p = filter["parameters"];
                const std::string type = p["type"].as<std::string>();
                if (type == "Free") {
                    const std::complex<double> z =
                        std::polar(1.0, -2 * std::numbers::pi * f / rate);
                    played +=
                        20 * std::log10(std::abs(
                                 (p["b0"].as<double>() + p["b1"].as<double>() * z +
                                  p["b2"].as<double>() * z * z) /
                                 (1.0 + p["a1"].as<double>() * z + p["a2"].as<double>() * z * z)));
                } else {
                    played += cookbookDb(type, p["freq"].as<double>(),
                                         p["gain"] ? p["gain"].as<double>() : 0.0,
                                         p["q"] ? p["q"].as<double>() : 1.0, rate, f);
                }
            }
            EXPECT_NEAR(played, deviceDb(c.record, f), 0.1) << c.index << " " << f;
        }
    }
    // APO's peaking lines, as analog cookbook prototypes: exactly the bands.
    const ExportText apo = exportApo({channels[0]}, 0);
    const ChannelRecord& r = channels[0].record;
    std::size_t pos = 0;
    for (int e = 0; e < EqBandCount; ++e) {
        if (isShelvingQCode(e, r.eq[e].q)) continue;
        pos = apo.text.find("ON PK Fc ", pos);
        ASSERT_NE(pos, std::string::npos);
        double f0 = 0, gain = 0, q = 0;
        ASSERT_EQ(std::sscanf(apo.text.c_str() + pos, "ON PK Fc %lf Hz Gain %lf dB Q %lf", &f0,
                              &gain, &q),
                  3);
        ++pos;
        const double a = std::pow(10.0, gain / 40.0);
        for (const double x : {0.3, 0.8, 1.0, 1.25, 4.0}) {
            const std::complex<double> s(0, x);
            const double cookbook =
                20 *
                std::log10(std::abs((s * s + s * (a / q) + 1.0) / (s * s + s / (a * q) + 1.0)));
            EXPECT_NEAR(
                cookbook,
                magnitudeToDb(eqMagnitude(x * f0, r.eq[e].frequency, r.eq[e].q, r.eq[e].level, e)),
                0.01)
                << e << " " << x;
        }
    }
}

TEST(FilterExport, EveryExportSaysHowFarTheProgramPlaysFromTheDevice) {
    ExportChannel c{0, "", defaultRecord()};
    c.record.lpType = FilterButterworth24;
    c.record.lpFrequency = 15500;
    c.record.hpType = FilterButterworth12;
    c.record.hpFrequency = 30;
    const ExportText at48 = exportCamillaDsp({c}, 0, 48000);
    ASSERT_EQ(at48.fidelity.size(), 1u);
    // Near half the rate the biquads fall far below the analog model.
    EXPECT_EQ(at48.fidelity[0].rfind("Kanal 1: bis ", 0), 0u) << at48.fidelity[0];
    EXPECT_NE(at48.fidelity[0].find("; oberhalb "), std::string::npos) << at48.fidelity[0];
    EXPECT_NE(at48.fidelity[0].find(" Abweichung bei 48 kHz"), std::string::npos);
    EXPECT_NE(at48.text.find("q: 0.71\n"), std::string::npos) << "the model's Q as written";
    const ExportText at192 = exportCamillaDsp({c}, 0, 192000);
    EXPECT_EQ(at192.fidelity[0].find("oberhalb"), std::string::npos) << at192.fidelity[0];
    EXPECT_EQ(exportApo({c}, 0, 44100).fidelity.size(), 1u);
    const ExportText rew = exportRew(c, 0);
    ASSERT_EQ(rew.fidelity.size(), 1u);
    EXPECT_EQ(rew.fidelity[0].find(" bei "), std::string::npos) << "REW's filters are analog";
}

TEST(YamlWriter, QuotesEveryStringAndKeysThatCouldBeReadAsSomethingElse) {
    YamlNode root = YamlNode::map();
    root.add("on", YamlNode::string("yes"));
    root.add("plain_key", YamlNode::number(0.1 + 0.2));
    root.add("mit Leerzeichen", YamlNode::string("a: b # c\t\x01"));
    root.add("leer", YamlNode::map());
    YamlNode& list = root.add("liste", YamlNode::sequence());
    list.push(YamlNode::integer(-3));
    list.push(YamlNode::map()).add("x", YamlNode::boolean(true));
    const std::string text = root.emit({"Kommentar"});
    EXPECT_EQ(text.substr(0, 12), "# Kommentar\n");
    const YAML::Node n = YAML::Load(text);
    EXPECT_EQ(n["on"].as<std::string>(), "yes");
    EXPECT_EQ(n["plain_key"].as<double>(), 0.1 + 0.2);
    EXPECT_EQ(n["mit Leerzeichen"].as<std::string>(), "a: b # c\t\x01");
    EXPECT_TRUE(n["leer"].IsMap());
    EXPECT_EQ(n["liste"][0].as<int>(), -3);
    EXPECT_TRUE(n["liste"][1]["x"].as<bool>());
}

}  // namespace
