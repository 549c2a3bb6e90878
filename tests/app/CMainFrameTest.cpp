#include <gtest/gtest.h>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>
#include <optional>
#include <vector>

#include "app/QtUserServices.h"
#include "plot/CResponsePlot.h"
#include "plot/ReadoutPane.h"
#include "simulator/SimulatedPort.h"
#include "support/ProgramRun.h"
#include "ui/CAboutDlg.h"
#include "view/CommandIds.h"

namespace {

QString menuTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* a : menu->actions()) {
        texts << (a->isSeparator() ? QStringLiteral("-")
                                   : QStringLiteral("%1=%2").arg(a->data().toInt()).arg(a->text()));
    }
    return texts.join(QLatin1Char('|'));
}

TEST(MainFrame, MenuHasTheGermanItemsWithTheirIdsAndShortcuts) {
    ProgramRun run;
    ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
    const QList<QAction*> menus = run.frame().menuBar()->actions();
    ASSERT_EQ(menus.size(), 5);
    EXPECT_EQ(menus[0]->text(), "&Datei");
    EXPECT_EQ(menuTexts(menus[0]->menu()),
              "57600=&Neu\tStrg+N|57601=Ö&ffnen...\tStrg+O|57603=S&peichern...\tStrg+S|"
              "32814=Sicherung &laden...|0=&Exportieren|-|57665=&Beenden");
    EXPECT_EQ(menuTexts(menus[0]->menu()->actions()[4]->menu()),
              "32844=Grafik als &PNG...|32845=Grafik als &SVG...|32846=Kurven als &CSV...|-|"
              "32861=&Filtereinstellungen...");
    EXPECT_EQ(menus[1]->text(), "&Ansicht");
    EXPECT_EQ(menuTexts(menus[1]->menu()),
              "32772=Grafikoptionen...|-|59392=&Symbolleiste|59393=S&tatusleiste|-|"
              "32840=&Betrag|32841=P&hase|32842=&Gruppenlaufzeit|-|32843=S&ummen L und R|"
              "0=&Kurven der Kanäle|-|32880=&Messung laden...|32884=Messung hin&zufügen...|"
              "32881=Messung &entfernen|32882=Messung &normalisieren (200 Hz – 2 kHz auf 0 dB)|"
              "32885=&Alle Messungen gemeinsam verschieben|32883=&Vorhersage zeigen|"
              "0=M&ittelung mehrerer Messungen|0=G&lättung der Messungen");
    EXPECT_EQ(menuTexts(menus[1]->menu()->actions()[18]->menu()),
              "32886=&Leistung|32887=in &dB|32888=&Vektoriell (mit Phase)");
    EXPECT_EQ(menuTexts(menus[1]->menu()->actions()[19]->menu()),
              "32891=&keine|32892=1/&24 Oktave|32893=1/&12 Oktave|32894=1/&6 Oktave|"
              "32895=1/&3 Oktave");
    EXPECT_TRUE(run.frame().action(CmdAveragePower)->isChecked());
    EXPECT_TRUE(run.frame().action(CmdSmoothNone + 2)->isChecked());
    EXPECT_FALSE(run.frame().action(CmdAutoFit)->isEnabled());
    // The views are one choice, the magnitude the first; the sums are off.
    EXPECT_TRUE(run.frame().action(CmdViewMagnitude)->isChecked());
    EXPECT_TRUE(run.frame().action(CmdViewPhase)->actionGroup()->isExclusive());
    EXPECT_FALSE(run.frame().action(CmdShowSums)->isChecked());
    // No measurement to remove yet; normalised, without the prediction.
    EXPECT_FALSE(run.frame().action(CmdRemoveMeasurement)->isEnabled());
    EXPECT_TRUE(run.frame().action(CmdNormaliseMeasurements)->isChecked());
    EXPECT_FALSE(run.frame().action(CmdShowPrediction)->isChecked());
    // The channel toggles of the toolbar, for the keyboard.
    EXPECT_EQ(menuTexts(menus[1]->menu()->actions()[10]->menu()),
              "32798=Kanal &1\tStrg+1|32799=Kanal &2\tStrg+2|32800=Kanal &3\tStrg+3|"
              "32801=Kanal &4\tStrg+4|32803=Kanal &5\tStrg+5|32804=Kanal &6\tStrg+6");
    EXPECT_EQ(run.frame().action(CmdShowChannel5)->shortcut(), QKeySequence("Ctrl+5"));
    EXPECT_EQ(run.frame().action(CmdShowChannel5)->toolTip(), "Kanal 5");
    // The titles as ever, with the mnemonics that were free.
    EXPECT_EQ(menus[2]->text(), "&Bearbeiten");
    // Nothing to undo yet: the items stand as the menu table has them.
    EXPECT_EQ(menuTexts(menus[2]->menu()),
              "32810=&Rückgängig\tStrg+Z|32811=&Wiederholen\tStrg+Y|-|"
              "32806=&Kanal kopieren...|32807=&Preset kopieren...|-|"
              "32860=Filter &importieren...|32862=Kanal be&nennen...|-|"
              "32900=&Automatisch anpassen...|32901=&Übergang ausrichten...");
    EXPECT_EQ(menus[3]->text(), "&Kommunikation");
    EXPECT_EQ(menuTexts(menus[3]->menu()),
              "32771=&Schnittstelle...|32805=&Gerät suchen|-|32812=Mit Gerät &vergleichen|"
              "32813=Nach dem Senden &prüfen");
    EXPECT_EQ(menus[4]->text(), "&?");
    EXPECT_EQ(menuTexts(menus[4]->menu()), "57664=Inf&o über Filtaro...");

    EXPECT_EQ(run.frame().action(CmdFileNew)->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(run.frame().action(CmdFileOpen)->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(run.frame().action(CmdFileSave)->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(run.frame().action(CmdEditUndo)->shortcuts(),
              QList<QKeySequence>{QKeySequence("Ctrl+Z")});
    EXPECT_EQ(run.frame().action(CmdEditRedo)->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
    EXPECT_FALSE(run.frame().action(CmdEditUndo)->isEnabled());
    EXPECT_TRUE(run.frame().action(CmdVerifyAfterSend)->isChecked()) << "on by default";
    EXPECT_EQ(run.frame().action(CmdFileNew)->statusTip(), "Zurücksetzen aller Daten.");
    EXPECT_EQ(run.frame().action(CmdFileNew)->toolTip(), "Neu");
    EXPECT_EQ(run.frame().action(CmdFileOpen)->statusTip(), "Öffnet vorhandes Preset.");
    EXPECT_EQ(run.frame().action(CmdComPort)->statusTip(), "Einstellen des seriellen Ports");
    EXPECT_EQ(run.frame().action(CmdGraphOptions)->statusTip(), "Stellt die Grafikansicht ein.");
    EXPECT_EQ(run.frame().action(CmdAppExit)->statusTip(),
              "Verläßt die Anwendung; fragt, ob Dokumente gespeichert werden sollen.");
    EXPECT_EQ(run.frame().action(CmdShowChannel5)->statusTip(), "");
    EXPECT_EQ(run.frame().action(CmdDeviceSearch)->statusTip(), "");
}

TEST(MainFrame, ToolbarAndStatusBarHoldTheirButtonsAndPanesAndToggle) {
    ProgramRun run;
    ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
    QList<int> ids;
    for (const QAction* a : run.frame().toolBar()->actions()) {
        ids << (a->isSeparator() ? 0 : a->data().toInt());
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->icon().isNull()) << a->data().toInt();
        }
    }
    EXPECT_EQ(ids, (QList<int>{57600, 57601, 57603, 0, 32798, 32799, 32800, 32801, 32803, 32804, 0,
                               32810, 32811, 0, 32843}));
    EXPECT_TRUE(run.frame().action(CmdShowSums)->isCheckable());
    for (int id : {CmdShowChannel1, CmdShowChannel4, CmdShowChannel6}) {
        EXPECT_TRUE(run.frame().action(id)->isCheckable());
    }
    EXPECT_EQ(run.frame().toolBar()->iconSize(), QSize(16, 15));

    QStatusBar* bar = run.frame().messageBar();
    EXPECT_EQ(bar->objectName(), "59393");
    EXPECT_EQ(bar->findChild<QLabel*>("pane0")->text(), "Bereit");
    EXPECT_EQ(bar->findChild<QLabel*>("59137")->text(), "UF");
    EXPECT_EQ(bar->findChild<QLabel*>("59138")->text(), "NUM");
    EXPECT_EQ(bar->findChild<QLabel*>("59139")->text(), "RF");
    // The cursor readout's pane, empty until the mouse is over the plot; it
    // never widens the window, however many values it has to show.
    ReadoutPane* readout = run.frame().readoutPane();
    ASSERT_NE(readout, nullptr);
    EXPECT_EQ(readout->parent(), bar);
    EXPECT_EQ(readout->sizePolicy().horizontalPolicy(), QSizePolicy::Ignored);
    run.frame().show();
    QCoreApplication::processEvents();
    const QSize frameSize = run.frame().size();
    run.view().plot()->setCursorPoint(300);
    readout->repaint();
    EXPECT_EQ(readout->entriesShown(), 6);
    QCoreApplication::processEvents();
    EXPECT_EQ(run.frame().size(), frameSize);

    EXPECT_TRUE(run.frame().action(CmdViewToolbar)->isChecked());
    EXPECT_TRUE(run.frame().onCommand(CmdViewToolbar));
    EXPECT_FALSE(run.frame().toolBar()->isVisible());
    EXPECT_FALSE(run.frame().action(CmdViewToolbar)->isChecked());
    EXPECT_TRUE(run.frame().onCommand(CmdViewStatusBar));
    EXPECT_FALSE(run.frame().messageBar()->isVisible());
    EXPECT_FALSE(run.frame().action(CmdViewStatusBar)->isChecked());
    EXPECT_TRUE(run.frame().onCommand(CmdViewToolbar));
    EXPECT_TRUE(run.frame().toolBar()->isVisible());
    // The frame's and the application's own commands are always available.
    for (int id : {CmdGraphOptions, CmdAppAbout, CmdAppExit}) {
        EXPECT_TRUE(run.frame().action(id)->isEnabled()) << id;
    }
    EXPECT_FALSE(run.frame().onCommand(CmdFilePrintSetup)) << "nothing handles it";
}

TEST(StatusText, GoesNowhereBeforeTheMainWindowExists) {
    qtTestApp();
    QtUserServices services;
    services.setStatusText("Daten werden übertragen");  // no application object
    CSonaroApp app(&services);                          // no main window yet
    services.setStatusText("Daten werden übertragen");
    EXPECT_EQ(app.mainFrame(), nullptr);
}

TEST(StatusText, TextsAndProgressOfCoreAndViewShowInTheStatusBarAtOnce) {
    qtTestApp();
    ScratchDir dir(true);
    SimulatedPort noDevice;
    ScopedModalAnswer answer(acceptDialog);
    QtUserServices services;
    services.setAutoAnswer(true);  // the start-up's port message goes to standard error
    CSonaroApp app(&services, noDevice);
    ASSERT_EQ(app.initInstance(), CSonaroApp::Startup::Running);
    CMainFrame& frame = *app.mainFrame();
    auto* pane = frame.messageBar()->findChild<QLabel*>("pane0");
    services.setStatusText("Daten werden empfangen");
    EXPECT_EQ(pane->text(), "Daten werden empfangen");
    services.setStatusText("");
    EXPECT_EQ(pane->text(), "");
    emit frame.view()->statusTextChanged(QStringLiteral("Suche an COM 1"));
    EXPECT_EQ(pane->text(), "Suche an COM 1");
    // With the status bar hidden the text still lands; nothing fails.
    frame.onCommand(CmdViewStatusBar);
    services.setStatusText("Daten werden übertragen");
    EXPECT_EQ(pane->text(), "Daten werden übertragen");
    frame.onCommand(CmdViewStatusBar);

    // Progress stands beside the text until the work is done or the text
    // is cleared.
    QProgressBar* bar = frame.progressBar();
    struct Shown {
        ProgressUnit unit;
        int done, total;
        const char* text;  // nullptr: hidden
    };
    const Shown steps[] = {
        {ProgressUnit::Bytes, 96, 624, "96 von 624 Bytes"},
        {ProgressUnit::Bytes, 624, 624, nullptr},
        {ProgressUnit::Ports, 11, 255, "11 von 255 Ports"},
        {ProgressUnit::Milliseconds, 0, 6000, "noch 6 s"},
        {ProgressUnit::Milliseconds, 2500, 6000, "noch 4 s"},
        {ProgressUnit::Milliseconds, 5900, 6000, "noch 1 s"},
    };
    for (const Shown& step : steps) {
        services.progress(step.unit, step.done, step.total);
        EXPECT_EQ(bar->isVisible(), step.text != nullptr) << step.done;
        if (step.text) {
            EXPECT_EQ(bar->text(), step.text);
        }
    }
    services.setStatusText("");
    EXPECT_FALSE(bar->isVisible());
    services.progress(ProgressUnit::Bytes, 48, 624);
    EXPECT_FALSE(bar->isVisible()) << "no progress beside no status text";

    // A wait of a second or more counts down in tenths.
    std::vector<int> countdown;
    services.setProgressSink([&](ProgressUnit unit, int done, int total) {
        EXPECT_EQ(unit, ProgressUnit::Milliseconds);
        EXPECT_EQ(total, 1000);
        countdown.push_back(done);
    });
    services.sleepMs(1000);
    EXPECT_EQ(countdown, (std::vector<int>{0, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000}));
    countdown.clear();
    services.sleepMs(20);
    EXPECT_TRUE(countdown.empty()) << "a short wait shows nothing";

    // Without a person the question takes its default answer.
    EXPECT_EQ(services.askYesNo("Trotzdem senden?", "Achtung", MessageIcon::Warning, Answer::No),
              Answer::No);
    EXPECT_EQ(services.askYesNo("?", "Achtung", MessageIcon::Warning, Answer::Yes), Answer::Yes);
}

TEST(MessageBox, ShowsTheNormalCursorWhileTheWaitCursorIsUp) {
    qtTestApp();
    QtUserServices services;
    std::vector<std::optional<Qt::CursorShape>> seen;
    ScopedModalAnswer answer([&](QDialog& box) {
        const QCursor* cursor = QApplication::overrideCursor();
        seen.push_back(cursor ? std::optional(cursor->shape()) : std::nullopt);
        box.accept();
        return box.result();
    });
    services.messageBox("Bereit", "Erfolg", MessageIcon::None);  // nothing is busy
    {
        WaitCursor busy;
        services.messageBox("Schnittstelle antwortet nicht!", "Übertragungsfehler",
                            MessageIcon::Stop);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor)
            << "busy again after the box";
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(seen, (std::vector<std::optional<Qt::CursorShape>>{std::nullopt, Qt::ArrowCursor}));
}

TEST(About, OpensFromTheMenuAndAMoveMarksTheImageForRedraw) {
    ProgramRun run;
    ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
    run.image().setRedrawPending(0);
    run.hook = [&](QDialog& dialog, int& result) {
        dialog.move(dialog.pos() + QPoint(40, 30));
        dialog.show();
        dialog.move(dialog.pos() + QPoint(40, 30));
        result = acceptDialog(dialog);
        return true;
    };
    const std::size_t before = run.dialogs.size();
    EXPECT_TRUE(run.frame().onCommand(CmdAppAbout));
    ASSERT_EQ(run.dialogs.size(), before + 1);
    EXPECT_EQ(run.dialogs.back().className, "CAboutDlg");
    EXPECT_EQ(run.dialogs.back().title, "Info über Filtaro");
    EXPECT_EQ(run.image().redrawPending(), 1);
}

}  // namespace
