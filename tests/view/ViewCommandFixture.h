#pragma once
// The whole program (ProgramRun) for tests of the main view's commands, plus
// what the commands need beyond start-up: answers for the file dialogs,
// simulated devices (in memory: a transfer is done when its command returns),
// and the user's clicks.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "forms/CUpDownCtrl.h"
#include "support/ChannelTabs.h"
#include "support/ProgramRun.h"
#include "ui/CChannelPanel.h"
#include "ui/CChannelTabCtrl.h"
#include "ui/CShadeButton.h"
#include "view/FileDialogs.h"

class ViewCommandTest : public ::testing::Test {
protected:
    // Starts the program; without attachDevice() first, no device answers
    // the start-up receive.
    void start() {
        ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
        forgetStartup();
    }
    // A factory-fresh device on COMn; on COM1 before start-up, the device
    // the program finds.
    void attachDevice(int n = 1) { line().attachDevice(n); }
    SimulatedPort& line() { return run.line; }

    // What start-up showed is the start-up tests' business.
    void forgetStartup() {
        ui.messages.clear();
        ui.statusTexts.clear();
        ui.sleeps.clear();
        ui.waitCursorShown = 0;
        run.dialogs.clear();
    }

    CSonaroView& view() { return run.view(); }
    ParameterImage& image() { return run.image(); }
    Document& document() { return run.document(); }
    CChannelTabCtrl& tabs() { return *view().channelTabs(); }
    CChannelPanel& panel(int c) { return *tabs().m_apPanels.at(static_cast<std::size_t>(c)); }
    QString title() { return run.frame().windowTitle(); }
    bool command(int id) { return run.frame().onCommand(id); }
    std::string dialogShown(std::size_t i) {
        return i < run.dialogs.size() ? run.dialogs[i].className.toStdString() : "";
    }

    // The user's clicks on the form's own buttons.
    void clickSend() { QTest::mouseClick(view().sendButton(), Qt::LeftButton); }
    void clickReceive() { QTest::mouseClick(view().receiveButton(), Qt::LeftButton); }
    void clickPreset(int preset) { QTest::mouseClick(view().presetButton(preset), Qt::LeftButton); }
    // What the user does in a panel's drop-down list: picks the item with
    // `text`.
    void pick(CChannelPanel& panel, int id, const QString& text) {
        auto* list = dynamic_cast<QComboBox*>(panel.control(id));
        ASSERT_NE(list, nullptr);
        const int index = list->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    // One step of a panel's spin, up or down.
    void stepSpin(CChannelPanel& panel, int spinId, bool up) {
        dynamic_cast<CUpDownCtrl&>(*panel.control(spinId)).step(up);
    }
    // The text a panel's field shows.
    static QString shown(CChannelPanel& panel, int id) {
        QWidget* control = panel.control(id);
        if (auto* edit = dynamic_cast<QLineEdit*>(control)) return edit->text();
        if (auto* list = dynamic_cast<QComboBox*>(control)) return list->currentText();
        return {};
    }
    // The checked preset button; exactly one must be.
    int checkedPresetButton() {
        int checked = -1;
        for (int i = 0; i < PresetCount; ++i) {
            if (view().presetButton(i)->isChecked()) {
                EXPECT_EQ(checked, -1) << "preset buttons " << checked << " and " << i;
                checked = i;
            }
        }
        return checked;
    }

    // Equal images, or the offsets where they differ.
    static ::testing::AssertionResult sameImage(const ParameterImage& actual,
                                                const ParameterImage& expected) {
        std::string differences;
        for (std::size_t i = 0; i < ParameterImageSize; ++i) {
            if (actual.bytes()[i] != expected.bytes()[i]) {
                differences += " " + std::to_string(i) + ":" + std::to_string(actual.bytes()[i]) +
                               "/" + std::to_string(expected.bytes()[i]);
            }
        }
        if (differences.empty()) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "offset:actual/expected" << differences;
    }

    // Declared first and so ended last: the program outlives the answers
    // and devices below unless a test ends it (run.end()).
    ProgramRun run;
    RecordingUserServices& ui = run.services;

    // Answers of the file dialogs, in order; nullopt is a cancel. A dialog
    // with no answer left fails the test.
    std::deque<std::optional<std::string>> filePaths;
    std::vector<FileDialogKind> fileDialogsShown;
    std::vector<std::string> fileDialogFolders;  // the folder each started in
    ScopedFilePathAnswer fileAnswer{
        [this](FileDialogKind kind, const std::string& folder) -> std::optional<std::string> {
            fileDialogsShown.push_back(kind);
            fileDialogFolders.push_back(folder);
            if (filePaths.empty()) {
                ADD_FAILURE() << "unexpected file dialog";
                return std::nullopt;
            }
            std::optional<std::string> path = filePaths.front();
            filePaths.pop_front();
            return path;
        }};
};
