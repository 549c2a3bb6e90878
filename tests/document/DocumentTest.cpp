// The document without a window: every operation is one named step that
// undo takes back whole and redo brings again, the panels' edits merge per
// field, the title follows the file, and a send puts on the line what the
// document then takes the device to hold.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "device/WireImage.h"
#include "document/Document.h"
#include "model/SettingsEdit.h"
#include "simulator/SimulatedPort.h"
#include "storage/ParameterFile.h"
#include "support/RecordingUserServices.h"
#include "support/ScopedEnv.h"
#include "support/ScratchDir.h"

namespace {

struct Seen final : DocumentObserver {
    int replaced = 0;
    std::vector<std::string> titles;
    const Document* document = nullptr;
    void onSettingsReplaced() override { ++replaced; }
    void onTitleChanged() override { titles.push_back(document->title()); }
};

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        seen.document = &document;
        document.setObserver(&seen);
        ASSERT_TRUE(document.startUp());
        document.startHistory();
    }

    // Everything an undo step keeps, as the document shows it.
    struct Shown {
        ParameterImage image;
        std::string file;
        std::string title;
        SideFile side;
    };
    Shown shown() const {
        return {document.image(), document.fileName(), document.title(), document.side()};
    }
    static void expectSame(const Shown& a, const Shown& b) {
        EXPECT_TRUE(sameSettings(a.image, b.image));
        EXPECT_EQ(a.file, b.file);
        EXPECT_EQ(a.title, b.title);
        EXPECT_TRUE(a.side == b.side);
    }

    RecordingUserServices services;
    ScratchDir dir{true};
    ScopedEnv dataFolder{"XDG_DATA_HOME", dir.file("data")};
    SimulatedPort line;
    Document document{line};
    Seen seen;
};

TEST_F(DocumentTest, EachOperationIsOneNamedStepThatUndoAndRedoPlayWhole) {
    ParameterImage other;
    applyDefaults(other);
    other.setPlotStartHz(100);
    ASSERT_EQ(saveParameterFile(other, dir.file("Kino.dat")), 0);
    writeFileBytes(dir.file("sitz1.frd"), "20 80\n20000 80\n");
    writeFileBytes(dir.file("sitz2.frd"), "20 70\n20000 70\n");
    struct Case {
        std::string step;
        std::function<void(Document&)> setUp;  // before: a step of its own
        std::function<void(Document&)> act;
    };
    const auto none = [](Document&) {};
    const Case cases[] = {
        {"Kanal 1 nach Kanal 2 kopieren",
         [](Document& d) { d.image().setField(0, 0, ChannelField::level, 4); },
         [](Document& d) { d.copyChannel(0, 1); }},
        {"Preset 1 nach Preset 4 kopieren",
         [](Document& d) { d.image().setField(0, 2, ChannelField::level, 3); },
         [](Document& d) { d.copyPreset(0, 3); }},
        {"Grafikoptionen", none, [](Document& d) { d.setPlotRange(50, 10000); }},
        {"Kanal 3 benennen", none, [](Document& d) { d.nameChannel(2, "Hochton links"); }},
        {"Messung normalisieren", none,
         [](Document& d) { d.toggleOverlayOption(Document::OverlayOption::Normalise); }},
        {"Automatisch anpassen Kanal 2", none,
         [](Document& d) {
             ChannelRecord fitted = d.image().record(0, 1);
             fitted.eq[2] = {1000, 4, -3};
             fitted.level = 2;
             d.applyFit(0, 1, fitted, Averaging::Db, 6);
         }},
        {"Gemeinsam normalisieren", none,
         [](Document& d) { d.toggleOverlayOption(Document::OverlayOption::SharedOffset); }},
        {"Vektorielle Mittelung", none, [](Document& d) { d.setAveraging(Averaging::Vector); }},
        {"Glättung 1/3 Oktave", none, [](Document& d) { d.setSmoothing(3); }},
        {"Messung sitz2.frd hinzufügen",
         [this](Document& d) { d.loadMeasurement(4, dir.file("sitz1.frd")); },
         [this](Document& d) { d.loadMeasurement(4, dir.file("sitz2.frd"), true); }},
        {"Öffnen von Kino.dat", none, [this](Document& d) { d.open(dir.file("Kino.dat")); }},
        {"Neu", [](Document& d) { d.setPlotRange(30, 8000); }, [](Document& d) { d.newFile(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        c.setUp(document);
        document.commitEdits();
        const std::size_t steps = document.history().size();
        const Shown before = shown();
        c.act(document);
        const Shown after = shown();
        EXPECT_EQ(document.history().size(), steps + 1);
        EXPECT_EQ(document.history().undoName(), c.step);
        document.undo();
        expectSame(shown(), before);
        EXPECT_EQ(document.history().redoName(), c.step);
        document.redo();
        expectSame(shown(), after);
    }
}

// A channel's files are averaged as chosen; normalised on its own each
// channel's midrange sits at 0 dB, with the shared offset all move by the
// loudest one's, so a tweeter 6 dB below the woofer stays 6 dB below.
TEST_F(DocumentTest, MeasurementsAreAveragedAndNormalisedAloneOrByOneSharedOffset) {
    writeFileBytes(dir.file("tief.frd"), "20 90\n20000 90\n");
    writeFileBytes(dir.file("hoch1.frd"), "20 80\n20000 80\n");
    writeFileBytes(dir.file("hoch2.frd"), "20 88\n20000 88\n");
    ASSERT_TRUE(document.loadMeasurement(0, dir.file("tief.frd")));
    ASSERT_TRUE(document.loadMeasurement(1, dir.file("hoch1.frd")));
    ASSERT_TRUE(document.loadMeasurement(1, dir.file("hoch2.frd"), true));
    EXPECT_FALSE(document.loadMeasurement(1, dir.file("hoch2.frd"), true));  // already there
    EXPECT_EQ(document.side().measurements[1].size(), 2u);
    MeasurementOverlay& overlay = document.overlay();
    OverlayOptions options;
    const struct {
        Averaging averaging;
        bool shared;
        double tweeterDb;  // the averaged level of 80 and 88 dB
        double offsetDb;   // added to the tweeter's curve
    } cases[] = {
        {Averaging::Db, false, 84.0, -84.0},
        {Averaging::Power, false, 85.6286, -85.6286},  // 10·log10((10^8 + 10^8.8) / 2)
        {Averaging::Db, true, 84.0, -90.0},
    };
    for (const auto& c : cases) {
        options.averaging = c.averaging;
        options.sharedOffset = c.shared;
        const Measurement* tweeter = overlay.combined(1, options);
        ASSERT_NE(tweeter, nullptr);
        EXPECT_NEAR(tweeter->db.front(), c.tweeterDb, 1e-3);
        EXPECT_NEAR(overlay.offsetDb(1, options), c.offsetDb, 1e-3);
        EXPECT_NEAR(overlay.offsetDb(0, options), -90.0, 1e-9);
    }
    options.normalise = false;
    EXPECT_EQ(overlay.offsetDb(1, options), 0.0);
}

TEST_F(DocumentTest, PanelEditsOfOneFieldAreOneStepAndNoneWhenBackWhereTheyStarted) {
    const ParameterImage start = document.image();
    const int level = start.field(0, 0, ChannelField::level);
    for (int step = 1; step <= 3; ++step) {
        document.image().setField(0, 0, ChannelField::level, level + step);
        document.commitEdits();
    }
    EXPECT_EQ(document.history().size(), 1u);
    document.image().setField(0, 0, ChannelField::level, level);
    document.commitEdits();
    EXPECT_EQ(document.history().size(), 0u);
    EXPECT_FALSE(document.history().canUndo());

    // Another field is another step; undo takes back only its own.
    document.image().setField(0, 0, ChannelField::level, level + 1);
    document.commitEdits();
    document.image().setField(0, 1, ChannelField::level, level + 2);
    document.commitEdits();
    EXPECT_EQ(document.history().size(), 2u);
    document.undo();
    EXPECT_EQ(document.image().field(0, 1, ChannelField::level),
              start.field(0, 1, ChannelField::level));
    EXPECT_EQ(document.image().field(0, 0, ChannelField::level), level + 1);
}

TEST_F(DocumentTest, AChangeThatChangesNothingIsNoStepAndTheHistoryKeepsItsNewest500) {
    EXPECT_FALSE(document.apply("Nichts", [](ParameterImage&) {}));
    EXPECT_EQ(document.history().size(), 0u);
    for (int i = 1; i <= 501; ++i) {
        EXPECT_TRUE(document.apply("Schritt " + std::to_string(i),
                                   [i](ParameterImage& s) { s.setPlotStartHz(20 + i); }));
    }
    EXPECT_EQ(document.history().size(), DocumentHistory::StepsKept);
    EXPECT_EQ(document.history().undoName(), "Schritt 501");
    while (document.history().canUndo()) document.undo();
    EXPECT_EQ(document.image().plotStartHz(), 21) << "the first step is gone";
}

TEST_F(DocumentTest, TheTitleFollowsTheFileAndUndoTakesBothBack) {
    EXPECT_EQ(document.title(), "Filtaro - Neue Datei");
    document.showStarted();
    const std::string startFile = document.fileName();
    ParameterImage saved;
    applyDefaults(saved);
    ASSERT_EQ(saveParameterFile(saved, dir.file("Bass")), 0);
    ASSERT_TRUE(document.open(dir.file("Bass")));
    // A name without a dot shows as "None".
    EXPECT_EQ(document.title(), "Klarwelle Filtaro - None");
    EXPECT_EQ(document.fileName(), dir.file("Bass"));
    document.undo();
    EXPECT_EQ(document.title(), "Klarwelle Filtaro");
    EXPECT_EQ(document.fileName(), startFile) << "the old settings are not headed for Bass";
    EXPECT_EQ(seen.titles,
              (std::vector<std::string>{"Filtaro - Neue Datei", "Klarwelle Filtaro",
                                        "Klarwelle Filtaro - None", "Klarwelle Filtaro"}));
}

TEST_F(DocumentTest, ASendPutsTheSettingsOnTheLineOnceAndTheDeviceIsKnownToHoldThem) {
    line.attachDevice(1);
    ASSERT_EQ(line.open("\\\\.\\COM1", 9600), CommOk);
    document.image().setField(1, 4, ChannelField::level, -3);
    ASSERT_EQ(document.send(), CommOk);
    EXPECT_EQ(document.lastSent(), encodeWireImage(document.image()));
    EXPECT_EQ(line.memory(1), document.lastSent()) << "what the device stored";
    ASSERT_TRUE(document.deviceSettings().has_value());
    EXPECT_EQ(encodeWireImage(*document.deviceSettings()), document.lastSent());
    std::vector<FieldDifference> differences;
    EXPECT_EQ(document.verifySend(differences), CommOk);
    EXPECT_TRUE(differences.empty());
    EXPECT_EQ(document.history().size(), 0u) << "a send changes no settings";
}

}  // namespace
