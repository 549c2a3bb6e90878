#pragma once
// The main window: menu, toolbar and status bar around the main view. Every
// command of the menu, the accelerators, the toolbar and the form's buttons
// is routed by its id, the view first, then the frame, then the
// application, so the view's handlers take precedence while it exists.

#include <QMainWindow>
#include <map>

class QAction;
class QLabel;
class QStatusBar;
class QToolBar;
class CSonaroApp;
class CSonaroView;

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

    // Runs the handler of command `id`; false when nobody handles it.
    bool onCommand(int id);
    // Brings checked and enabled states of the actions up to date (what the
    // framework did on idle).
    void updateCommandUi();

    // "Grafikoptionen...": edits the plot's frequency range.
    void onGraphOptions();

    // Object name of the status bar and of its message pane (pane 0).
    static constexpr const char* StatusBarName = "59393";
    static constexpr const char* MessagePaneName = "pane0";

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createMenu();
    void createToolBar();
    void createStatusBar();
    QAction* makeAction(int id, const QString& text);
    void setLockIndicator(QLabel* indicator, bool on);
    // The commands of the frame and the application (not the view's).
    static bool handlesItself(int id);

    CSonaroApp& m_app;
    CSonaroView* m_pView = nullptr;
    QToolBar* m_pToolBar = nullptr;
    QStatusBar* m_pStatusBar = nullptr;
    QLabel* m_pCapsIndicator = nullptr;
    QLabel* m_pNumIndicator = nullptr;
    QLabel* m_pScrollIndicator = nullptr;
    std::map<int, QAction*> m_actions;
};
