#pragma once
// The main window: menu, toolbar and status bar around the main view. Every
// command of the menu, the accelerators and the toolbar is routed by its id,
// the view first, then the frame (which hands About to the application), so
// the view's handlers take precedence while it exists. The view reports back
// through its signals: the frame takes over its title and status texts and
// brings the commands' states up to date when they may have changed.

#include <QMainWindow>
#include <QString>
#include <map>

#include "app/MainFrameResources.h"
#include "platform/UserServices.h"

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QStatusBar;
class QToolBar;
class ReadoutPane;
class CSonaroApp;
class CSonaroView;
struct Command;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    // Builds the bars and the (not yet started) main view. The window stays
    // hidden; the application shows it at the end of start-up.
    explicit CMainFrame(CSonaroApp& app);
    ~CMainFrame() override;

    CSonaroView* view() const { return m_pView; }
    QAction* action(int id) const;
    QToolBar* toolBar() const { return m_pToolBar; }
    QStatusBar* messageBar() const { return m_pStatusBar; }
    // The status-bar pane with the plot's cursor readout.
    ReadoutPane* readoutPane() const { return m_pReadoutPane; }

    // Runs the handler of command `id`; false when nobody handles it.
    bool onCommand(int id);
    // Brings checked and enabled states of the actions up to date (what the
    // framework did on idle).
    void updateCommandUi();

    // Shows `text` in the message pane of the status bar and repaints the bar
    // at once, so the text is visible while a blocking transfer runs.
    void setStatusText(const QString& text);
    // Shows how far the operation behind the status text has got, beside
    // it: a bar of bytes or ports, or the seconds a fixed wait has left.
    // Hidden when done reaches total, and by an empty status text (and not
    // shown beside none).
    void showProgress(ProgressUnit unit, int done, int total);
    QProgressBar* progressBar() const { return m_pProgress; }
    // A note that stays in the status bar for a while, whatever the status
    // texts do meanwhile.
    void showNotice(const QString& text);
    QLabel* noticePane() const { return m_pNoticePane; }
    // How a command ended, in the message pane until ResultMs have passed or
    // another status text replaces it: once the settings change, a "device
    // and program agree" must not stand there for good.
    void showResult(const QString& text);
    QLabel* messagePane() const { return m_pMessagePane; }

    // How long a notice stays, and a result.
    static constexpr int NoticeMs = 30000;
    static constexpr int ResultMs = 15000;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createMenu();
    // The menu or submenu `command` goes into.
    QMenu* menuOf(const Command& command);
    void createToolBar();
    void createStatusBar();
    QAction* makeAction(const Command& command);
    void setLockIndicator(QLabel* indicator, bool on);
    // Shows the message pane only when it has something to say.
    void showMessagePane();

    // The commands of the frame and the application (not the view's).
    using Handler = void (CMainFrame::*)();
    struct CommandEntry {
        int id;
        Handler handler;
    };
    static const CommandEntry* ownCommand(int id);
    void onViewToolbar();
    void onViewStatusBar();
    void onAppExit();
    void onAppAbout();

    CSonaroApp& m_app;
    CSonaroView* m_pView = nullptr;
    QToolBar* m_pToolBar = nullptr;
    QStatusBar* m_pStatusBar = nullptr;
    QLabel* m_pMessagePane = nullptr;
    QProgressBar* m_pProgress = nullptr;
    QLabel* m_pNoticePane = nullptr;
    ReadoutPane* m_pReadoutPane = nullptr;
    QLabel* m_pCapsIndicator = nullptr;
    QLabel* m_pNumIndicator = nullptr;
    QLabel* m_pScrollIndicator = nullptr;
    std::map<int, QAction*> m_actions;
    std::map<QString, QMenu*> m_menus;  // by path, "&Datei/&Exportieren"
};
