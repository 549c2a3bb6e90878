#include "app/CMainFrame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

#include "app/CSonaroApp.h"
#include "app/MainFrameResources.h"
#include "plot/CResponsePlot.h"
#include "plot/ReadoutPane.h"
#include "res/Icons.h"
#include "view/CSonaroView.h"
#include "view/CommandIds.h"
#include "view/CommandTable.h"

namespace {

// The status-bar prompt of a command's prompt entry, and the tooltip after
// its "\n".
QString promptPart(const char* entry) {
    return entry ? QString::fromUtf8(entry).section(QLatin1Char('\n'), 0, 0) : QString();
}

QString tipPart(const char* entry) {
    return entry ? QString::fromUtf8(entry).section(QLatin1Char('\n'), 1, 1) : QString();
}

// Object names of the status bar (its window id) and of its message pane.
constexpr const char* StatusBarName = "59393";
constexpr const char* MessagePaneName = "pane0";
constexpr const char* ProgressName = "progress";
constexpr const char* NoticePaneName = "notice";
constexpr int ProgressWidth = 180;
constexpr const char* ReadoutPaneName = "readout";
// The readout pane's share of the bar against the message pane's 1.
constexpr int ReadoutPaneStretch = 8;

// The text inside the progress bar.
QString progressText(ProgressUnit unit, int done, int total) {
    switch (unit) {
        case ProgressUnit::Bytes:
            return QStringLiteral("%1 von %2 Bytes").arg(done).arg(total);
        case ProgressUnit::Ports:
            return QStringLiteral("%1 von %2 Ports").arg(done).arg(total);
        case ProgressUnit::Milliseconds:
            break;
    }
    const int left = (total - done + 999) / 1000;  // whole seconds, rounded up
    return QStringLiteral("noch %1 s").arg(left);
}

}  // namespace

CMainFrame::CMainFrame(CSonaroApp& app) : m_app(app) {
    setWindowTitle(QString::fromUtf8(ApplicationTitle));
    createMenu();
    createToolBar();
    createStatusBar();
    m_pView = new CSonaroView(app.document(), this);
    setCentralWidget(m_pView);
    connect(m_pView, &CSonaroView::titleChanged, this, &QWidget::setWindowTitle);
    connect(m_pView, &CSonaroView::statusTextChanged, this, &CMainFrame::setStatusText);
    connect(m_pView, &CSonaroView::commandStatesChanged, this, &CMainFrame::updateCommandUi);
    connect(m_pView, &CSonaroView::noticeShown, this, &CMainFrame::showNotice);
    connect(m_pView, &CSonaroView::resultShown, this, &CMainFrame::showResult);
    // The plot's cursor readout, after the message pane and its progress;
    // empty while the cursor is hidden.
    m_pReadoutPane = new ReadoutPane(*m_pView->plot(), m_pStatusBar);
    m_pReadoutPane->setObjectName(QString::fromLatin1(ReadoutPaneName));
    m_pStatusBar->addWidget(m_pReadoutPane, ReadoutPaneStretch);
    connect(m_pView->plot(), &CResponsePlot::readoutChanged, this, &CMainFrame::showMessagePane);
    QApplication::instance()->installEventFilter(this);
}

CMainFrame::~CMainFrame() {
    QApplication::instance()->removeEventFilter(this);
    // The readout pane reads the view's plot, so it goes first, and so do
    // the frame's ties to the plot.
    delete m_pReadoutPane;
    m_pReadoutPane = nullptr;
    disconnect(m_pView->plot(), nullptr, this, nullptr);
    // The view's destructor saves the image and may still show a message;
    // it goes while the frame is whole.
    delete m_pView;
    m_pView = nullptr;
}

QAction* CMainFrame::makeAction(const Command& command) {
    const int id = command.id;
    QString text = QString::fromUtf8(command.text ? command.text : "");
    if (command.shortcut) {
        // The menu names the key as German keyboards label it.
        text += QLatin1Char('\t') + QString::fromLatin1(command.shortcut)
                                        .replace(QStringLiteral("Ctrl"), QStringLiteral("Strg"));
    }
    auto* action = new QAction(text, this);
    action->setData(id);
    action->setStatusTip(promptPart(command.prompt));
    if (const QString tip = tipPart(command.prompt); !tip.isEmpty()) {
        action->setToolTip(tip);
    }
    connect(action, &QAction::triggered, this, [this, id] { onCommand(id); });
    m_actions[id] = action;
    return action;
}

QAction* CMainFrame::action(int id) const {
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

QMenu* CMainFrame::menuOf(const Command& command) {
    // "&Datei/&Exportieren": the submenu of a menu; each is made where its
    // first command stands.
    const QString path = QString::fromUtf8(command.menu);
    QMenu*& menu = m_menus[path];
    if (!menu) {
        const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
        if (slash < 0) {
            menu = menuBar()->addMenu(path);
        } else {
            Command parent = command;
            const QByteArray parentPath = path.left(slash).toUtf8();
            parent.menu = parentPath.constData();
            menu = menuOf(parent)->addMenu(path.mid(slash + 1));
        }
    }
    return menu;
}

void CMainFrame::createMenu() {
    for (const Command& command : commands()) {
        if (!command.menu) {
            continue;
        }
        QMenu* menu = menuOf(command);
        if (command.separatorBefore) {
            menu->addSeparator();
        }
        QAction* a = makeAction(command);
        menu->addAction(a);
        for (const char* key : {command.shortcut, command.otherShortcut}) {
            if (key) a->setShortcuts(a->shortcuts() << QKeySequence(QString::fromLatin1(key)));
        }
    }
    // The plot's views are one choice: shown with radio marks.
    auto* views = new QActionGroup(this);
    for (int id : {CmdViewMagnitude, CmdViewPhase, CmdViewGroupDelay}) {
        action(id)->setCheckable(true);
        views->addAction(action(id));
    }
    action(CmdViewToolbar)->setCheckable(true);
    action(CmdViewStatusBar)->setCheckable(true);
    // F10 opens the menu bar, as in other programs.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, [this] {
        if (!menuBar()->actions().isEmpty()) {
            menuBar()->setActiveAction(menuBar()->actions().constFirst());
        }
    });
}

void CMainFrame::createToolBar() {
    m_pToolBar = new QToolBar(this);
    m_pToolBar->setObjectName(QString::number(CmdViewToolbar));
    m_pToolBar->setWindowTitle(QStringLiteral("Symbolleiste"));
    m_pToolBar->setIconSize(QSize(ToolbarButtonWidth, ToolbarButtonHeight));
    m_pToolBar->setMovable(true);
    m_pToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    int picture = 0;  // the bitmap holds the buttons without the separator
    for (int id : toolbarButtons()) {
        if (id == 0) {
            m_pToolBar->addSeparator();
            continue;
        }
        QAction* a = action(id);
        if (const int channel = channelOfShowCommand(id); channel >= 0) {
            a->setCheckable(true);
            a->setToolTip(QStringLiteral("Kanal %1").arg(channel + 1));
            a->setIconVisibleInMenu(false);  // the menu shows the check mark
        }
        a->setIcon(toolbarButtonIcon(picture++));
        m_pToolBar->addAction(a);
    }
    addToolBar(Qt::TopToolBarArea, m_pToolBar);
}

void CMainFrame::createStatusBar() {
    m_pStatusBar = new QStatusBar(this);
    m_pStatusBar->setObjectName(QString::fromLatin1(StatusBarName));
    m_pMessagePane = new QLabel(QString::fromUtf8(IdlePrompt), m_pStatusBar);
    m_pMessagePane->setObjectName(QString::fromLatin1(MessagePaneName));
    m_pStatusBar->addWidget(m_pMessagePane, 1);
    m_pProgress = new QProgressBar(m_pStatusBar);
    m_pProgress->setObjectName(QString::fromLatin1(ProgressName));
    m_pProgress->setFixedWidth(ProgressWidth);
    m_pProgress->setMaximumHeight(m_pMessagePane->sizeHint().height());
    m_pProgress->setTextVisible(true);
    m_pProgress->hide();
    m_pStatusBar->addWidget(m_pProgress);
    m_pNoticePane = new QLabel(m_pStatusBar);
    m_pNoticePane->setObjectName(QString::fromLatin1(NoticePaneName));
    m_pNoticePane->hide();
    m_pStatusBar->addPermanentWidget(m_pNoticePane);
    auto indicator = [this](int id, const char* text) {
        auto* label = new QLabel(QString::fromLatin1(text), m_pStatusBar);
        label->setObjectName(QString::number(id));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("NUM")) + 8);
        m_pStatusBar->addPermanentWidget(label);
        setLockIndicator(label, false);
        return label;
    };
    m_pCapsIndicator = indicator(IndicatorCaps, IndicatorCapsText);
    m_pNumIndicator = indicator(IndicatorNum, IndicatorNumText);
    m_pScrollIndicator = indicator(IndicatorScroll, IndicatorScrollText);
    setStatusBar(m_pStatusBar);
}

void CMainFrame::setLockIndicator(QLabel* indicator, bool on) {
    indicator->setEnabled(on);
    indicator->setProperty("lockOn", on);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    // The lock states cannot be asked portably; each press of a lock key
    // while the program has the keyboard toggles its indicator.
    if (event->type() == QEvent::KeyPress && watched == QApplication::focusWindow()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            QLabel* indicator = key->key() == Qt::Key_CapsLock     ? m_pCapsIndicator
                                : key->key() == Qt::Key_NumLock    ? m_pNumIndicator
                                : key->key() == Qt::Key_ScrollLock ? m_pScrollIndicator
                                                                   : nullptr;
            if (indicator) {
                setLockIndicator(indicator, !indicator->property("lockOn").toBool());
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

const CMainFrame::CommandEntry* CMainFrame::ownCommand(int id) {
    static constexpr CommandEntry table[] = {
        {CmdViewToolbar, &CMainFrame::onViewToolbar},
        {CmdViewStatusBar, &CMainFrame::onViewStatusBar},
        {CmdAppExit, &CMainFrame::onAppExit},
        {CmdAppAbout, &CMainFrame::onAppAbout},
    };
    for (const CommandEntry& entry : table) {
        if (entry.id == id) {
            return &entry;
        }
    }
    return nullptr;
}

bool CMainFrame::onCommand(int id) {
    bool handled = m_pView && m_pView->onCommand(id);
    if (!handled) {
        if (const CommandEntry* entry = ownCommand(id)) {
            (this->*entry->handler)();
            handled = true;
        }
    }
    updateCommandUi();
    return handled;
}

void CMainFrame::updateCommandUi() {
    // As in the framework, a command that nobody handles is greyed out.
    for (const auto& [id, a] : m_actions) {
        if (!(m_pView && m_pView->onUpdateCommand(id, *a))) {
            a->setEnabled(ownCommand(id) != nullptr);
        }
    }
    action(CmdViewToolbar)->setChecked(!m_pToolBar->isHidden());
    action(CmdViewStatusBar)->setChecked(!m_pStatusBar->isHidden());
}

void CMainFrame::onViewToolbar() {
    m_pToolBar->setVisible(!m_pToolBar->isVisible());
}

void CMainFrame::onViewStatusBar() {
    m_pStatusBar->setVisible(!m_pStatusBar->isVisible());
}

void CMainFrame::onAppExit() {
    close();
}

void CMainFrame::onAppAbout() {
    m_app.onAppAbout();
}

void CMainFrame::setStatusText(const QString& text) {
    m_pStatusBar->clearMessage();  // a menu prompt still showing would hide the pane
    m_pMessagePane->setText(text);
    showMessagePane();
    if (text.isEmpty()) {
        m_pProgress->hide();
    }
    // The caller is about to block the event loop; paint now.
    m_pStatusBar->repaint();
}

void CMainFrame::showMessagePane() {
    // Without a text, or with only the idle prompt while the cursor readout
    // is shown, the pane leaves its room to the readout.
    const QString text = m_pMessagePane->text();
    const bool readout = m_pView && m_pView->plot()->cursorPoint() >= 0;
    m_pMessagePane->setVisible(!text.isEmpty() &&
                               !(readout && text == QString::fromUtf8(IdlePrompt)));
}

void CMainFrame::showProgress(ProgressUnit unit, int done, int total) {
    // Progress belongs to the operation the status text names; the start-up
    // receive names none and shows none.
    if (total <= 0 || done >= total || m_pMessagePane->text().isEmpty()) {
        m_pProgress->hide();
    } else {
        m_pProgress->setRange(0, total);
        m_pProgress->setValue(unit == ProgressUnit::Milliseconds ? total - done : done);
        // A literal text: the counts are in it already.
        m_pProgress->setFormat(
            progressText(unit, done, total).replace(QLatin1Char('%'), QStringLiteral("%%")));
        m_pProgress->show();
    }
    // Progress comes while the event loop stands still; paint now.
    m_pStatusBar->repaint();
}

void CMainFrame::showNotice(const QString& text) {
    m_pNoticePane->setText(text);
    m_pNoticePane->show();
    m_pStatusBar->repaint();
    QTimer::singleShot(NoticeMs, m_pNoticePane, [pane = m_pNoticePane, text] {
        if (pane->text() == text) pane->hide();
    });
}

void CMainFrame::showResult(const QString& text) {
    setStatusText(text);
    QTimer::singleShot(ResultMs, this, [this, text] {
        if (m_pMessagePane->text() == text) setStatusText(QString());
    });
}
