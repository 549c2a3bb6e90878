#include "view/CSonaroView.h"

#include <QAction>
#include <QButtonGroup>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTimerEvent>
#include <filesystem>

#include "device/CommError.h"
#include "device/DevicePort.h"
#include "device/PresetTransfer.h"
#include "forms/DialogBuilder.h"
#include "forms/ModalRunner.h"
#include "model/ParameterImage.h"
#include "platform/CurrentDirectory.h"
#include "platform/UserServices.h"
#include "platform/Utf8Path.h"
#include "plot/CResponsePlot.h"
#include "res/DialogTemplates.h"
#include "res/ResourceIds.h"
#include "storage/Ini.h"
#include "storage/ParameterFile.h"
#include "storage/PlotOptions.h"
#include "ui/CChannelPanel.h"
#include "ui/CChannelTabCtrl.h"
#include "ui/CShadeButton.h"
#include "ui/CWelcomeDlg.h"
#include "view/CommandIds.h"
#include "view/FileFailureTexts.h"
#include "view/MeasurementOverlay.h"
#include "view/ViewLayout.h"

namespace {

constexpr const char* TabCaptions[6] = {"Ch. 1 ", "Ch. 2 ", "Ch. 3 ", "Ch. 4 ", "Ch. 5 ", "Ch. 6 "};

constexpr const char* StartupLoadFailed =
    "Datei Filtaro.dat konnte nicht geöffnet werden!\nProgramm wird beendet.";
constexpr const char* ConnectHardware = "Bitte erst Hardware anschließen und Programm neu starten.";
constexpr const char* StartupFileTitle = "Achtung";

// Shading of the send and receive buttons.
constexpr int ShadeType = 7;
constexpr int ShadeGranularity = 8;
constexpr int ShadeHighlight = 10;
constexpr int ShadeTintAmount = 0;
constexpr unsigned ShadeTint = 0;  // black

LayoutSize sizeOf(const QWidget* w) {
    return {w->width(), w->height()};
}

void place(QWidget* w, const LayoutRect& r) {
    w->setGeometry(r.left, r.top, r.width(), r.height());
    w->update();
}

}  // namespace

CSonaroView::CSonaroView(Session& session, QWidget* parent)
    : QWidget(parent),
      m_session(session),
      m_pResponses(std::make_unique<ChannelResponses>()),
      m_pComplex(std::make_unique<ComplexResponses>()),
      m_pHistory(std::make_unique<SettingsHistory>(
          [this] { return currentState(); },
          [this](const SettingsState& state) { showState(state); })),
      m_backups([this](const std::string& message) {
          emit noticeShown(QString::fromStdString(message));
      }),
      m_pOverlay(std::make_unique<MeasurementOverlay>()) {
    DialogBuilder builder(mainFormTemplate);
    builder.use<CResponsePlot>(PlotId)
        .use<CShadeButton>(CmdSend)
        .use<CShadeButton>(CmdReceive)
        .use<CChannelTabCtrl>(TabId);
    const DialogControls controls = builder.build(this);
    m_pPlot = controls.get<CResponsePlot>(PlotId);
    m_pSend = controls.get<CShadeButton>(CmdSend);
    m_pReceive = controls.get<CShadeButton>(CmdReceive);
    m_pTabs = controls.get<CChannelTabCtrl>(TabId);
    m_pPresetFrame = controls.get<QGroupBox>(PresetFrameId);
    for (int i = 0; i < 4; ++i) {
        m_presetButtons[i] = controls.get<QRadioButton>(CmdPreset1 + i);
    }
    // The form shrinks with the frame down to the size at which its fixed
    // controls would start to cover each other; the frame adds its bars.
    const LayoutSize minimum = minimumViewSize(layoutInput(0, 0));
    setMinimumSize(minimum.width, minimum.height);
    setFocusPolicy(Qt::StrongFocus);

    m_pSend->setToolTip(QStringLiteral("An das Gerät senden"));
    m_pReceive->setToolTip(QStringLiteral("Vom Gerät empfangen"));
    connect(m_pSend, &QAbstractButton::clicked, this, [this] { onButtonCommand(CmdSend); });
    connect(m_pReceive, &QAbstractButton::clicked, this, [this] { onButtonCommand(CmdReceive); });
    for (int i = 0; i < 4; ++i) {
        connect(m_presetButtons[i], &QAbstractButton::clicked, this,
                [this, i] { onButtonCommand(CmdPreset1 + i); });
    }
    connect(m_pTabs, &CChannelTabCtrl::selChange, this, &CSonaroView::onTabSelChange);
    connect(m_pTabs, &CChannelTabCtrl::nameRequested, this, &CSonaroView::nameChannel);
    connect(m_pHistory.get(), &SettingsHistory::changed, this, &CSonaroView::commandStatesChanged);
    // One click on send or receive is one transfer, even when it is the first
    // of a double click.
    m_pSend->installEventFilter(this);
    m_pReceive->installEventFilter(this);
    connect(m_pPlot, &CResponsePlot::pixelRatioChanged, this,
            [this] { layoutControls(width(), height()); });
}

CSonaroView::~CSonaroView() {
    if (m_nTimer != 0) {
        killTimer(m_nTimer);
    }
    saveAtProgramEnd();
}

bool CSonaroView::onInitialUpdate() {
    // No undo steps until the settings of the start are on screen.
    ++m_nChangeScopes;
    writeControls();
    startRedrawing();
    if (!startFromDefaults()) {
        return false;
    }
    recordWorkingDirectory();
    openConfiguredPort();
    placeMainWindow();
    drawFirstPlot();
    shadeTransferButtons();
    const bool deviceAnswered = receiveDevicePresets();
    CWelcomeDlg welcome;
    createChannelPanels();
    loadSideFileOf(m_session.fileName);
    showDevicePresetsOrAskForHardware(deviceAnswered, welcome);
    --m_nChangeScopes;
    m_pHistory->reset();
    runModal(welcome);
    return true;
}

// The plot's drawing resources and the view kept in FILTARO.INI, then the
// redraw timer, which runs for the view's whole life.
void CSonaroView::startRedrawing() {
    m_pPlot->init();
    m_plotView.quantity = quantityFromName(plotViewName()).value_or(ResponseQuantity::Magnitude);
    m_nTimer = startTimer(RedrawPeriodMs);
}

// The one ParameterImage, all zero bytes, gets the defaults, which are
// written to "Filtaro.dat" and read back: the settings of the previous run
// are not restored, but kept as a backup first. A Filtaro.dat that cannot
// be kept so is not written over (see StartupFile): the defaults then stay
// in the image only. False when the file cannot be read back.
bool CSonaroView::startFromDefaults() {
    m_session.startupDirectory = currentDirectory();
    m_session.image = std::make_unique<ParameterImage>();
    m_session.fileName = defaultFilePath();
    const std::string notice = m_startupFile.prepare(defaultFilePath(), m_backups);
    if (!notice.empty()) {
        userServices().messageBox(notice, StartupFileTitle, MessageIcon::Warning);
    }
    newRoutine(NewVariant::Startup);
    if (m_startupFile.kept()) {
        return true;
    }
    if (loadParameterFile(*m_session.image, defaultFilePath()) != 1) {
        userServices().messageBox(StartupLoadFailed, ErrorTitle, MessageIcon::None);
        m_session.image.reset();
        return false;
    }
    return true;
}

// Files record the directory the program started in; the save at program
// end goes to the current file, wherever that is.
void CSonaroView::recordWorkingDirectory() {
    m_session.image->setWorkingDirectory(m_session.startupDirectory);
}

// The configured port at the configured rate; a failure shows up with the
// receive that follows.
void CSonaroView::openConfiguredPort() {
    const IniSettings ini = loadIniSettings();
    if (m_session.port.open(devicePathForPort(ini.portName), ini.baudRate) == CommOk) {
        userServices().sleepMs(PortSettleMs);
    }
}

// Position and size of the main window, which stays hidden until start-up
// ends.
void CSonaroView::placeMainWindow() {
    QWidget* mainWindow = window();
    mainWindow->move(MainWindowX, MainWindowY);
    mainWindow->resize(MainWindowWidth, MainWindowHeight);
    mainWindow->raise();
    // A hidden window gets its resize only when shown; lay the form out now.
    if (QLayout* frameLayout = mainWindow->layout()) {
        frameLayout->activate();
    }
    layoutControls(width(), height());
}

void CSonaroView::drawFirstPlot() {
    ParameterImage& image = *m_session.image;
    image.setTabMarker(0);
    image.setActivePreset(0);
    image.setRedrawPending(1);
    drawPlot();
}

void CSonaroView::shadeTransferButtons() {
    m_pSend->setShade(ShadeType, ShadeGranularity, ShadeHighlight, ShadeTintAmount, ShadeTint);
    m_pSend->setIcon(SendIconId);
    m_pReceive->setShade(ShadeType, ShadeGranularity, ShadeHighlight, ShadeTintAmount, ShadeTint);
    m_pReceive->setIcon(ReceiveIconId);
}

// The device's presets; a failure has shown its message already.
bool CSonaroView::receiveDevicePresets() {
    if (receiveAllPresets(*m_session.image, m_session.port) != CommOk) {
        return false;
    }
    rememberDeviceSettings(*m_session.image);
    return true;
}

void CSonaroView::createChannelPanels() {
    m_session.image->setSixChannels(1);
    for (int i = 0; i < 6; ++i) {
        m_pTabs->insertItem(i, QString::fromLatin1(TabCaptions[i]));
    }
    m_pTabs->createPanels(m_session.image.get());
    // Ctrl+Z in a panel's field undoes the last change of the settings, not
    // the last keystroke of the field.
    for (QLineEdit* edit : m_pTabs->findChildren<QLineEdit*>()) {
        edit->installEventFilter(this);
    }
    arrangeTabOrder();
}

// Tab goes from the plot to the channel tabs and the panel shown, the preset
// buttons, then receive and send, the two that act on the device, last.
void CSonaroView::arrangeTabOrder() {
    QWidget* last = m_pPlot;
    const auto then = [&last](QWidget* next) {
        QWidget::setTabOrder(last, next);
        last = next;
    };
    then(m_pTabs->tabBar());
    for (CChannelPanel* panel : m_pTabs->m_apPanels) {
        // The template's controls, not the lists' drop-down windows.
        for (QWidget* control : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (control->focusPolicy() & Qt::TabFocus) then(control);
        }
    }
    for (QRadioButton* button : m_presetButtons) then(button);
    then(m_pReceive);
    then(m_pSend);
}

void CSonaroView::showDevicePresetsOrAskForHardware(bool deviceAnswered, CWelcomeDlg& welcome) {
    if (deviceAnswered) {
        refreshPanels();
    } else {
        welcome.m_strMessage = QString::fromUtf8(ConnectHardware);
    }
}

void CSonaroView::newRoutine(NewVariant variant) {
    ParameterImage* image = this->image();
    if (!image) {
        return;
    }
    applyDefaults(*image);
    if (variant == NewVariant::User) {
        refreshPanels();
    }
    setPresetStates(0);
    if (variant == NewVariant::User) {
        if (CChannelPanel* first = m_pTabs->m_apPanels[0]) {
            if (auto* delayText = qobject_cast<QLabel*>(first->control(IdDelayText))) {
                delayText->clear();
            }
        }
        switchToFirstChannel();
    }
    emit titleChanged(QString::fromUtf8(TitleNewFile));
    writeControls();
    m_startupFile.write(defaultFilePath(), *image);
}

std::string CSonaroView::defaultFilePath() const {
    if (m_session.startupDirectory.empty()) {
        return DefaultFileName;
    }
    return utf8FromPath(pathFromUtf8(m_session.startupDirectory) / DefaultFileName);
}

void CSonaroView::switchToFirstChannel() {
    m_pTabs->switchToTab(0);
}

void CSonaroView::setPresetStates(int selected) {
    for (int i = 0; i < 4; ++i) {
        m_anPresetState[i] = i == selected ? 0 : 1;
    }
}

void CSonaroView::writeControls() {
    for (int i = 0; i < 4; ++i) {
        QRadioButton* button = m_presetButtons[i];
        const QSignalBlocker block(button);
        // Each button is a radio group of its own, and an exclusive group
        // refuses to uncheck its only button.
        QButtonGroup* group = button->group();
        if (group) {
            group->setExclusive(false);
        }
        button->setChecked(m_anPresetState[i] == 0);
        if (group) {
            group->setExclusive(true);
        }
    }
}

void CSonaroView::readControls() {
    for (int i = 0; i < 4; ++i) {
        m_anPresetState[i] = m_presetButtons[i]->isChecked() ? 0 : 1;
    }
}

void CSonaroView::refreshPanels() {
    for (CChannelPanel* panel : m_pTabs->m_apPanels) {
        if (panel) {
            panel->refreshFromImage();
        }
    }
}

void CSonaroView::drawPlot() {
    // Before start-up and after the end there is no image: nothing to draw.
    if (const ParameterImage* image = this->image()) {
        PlotContent content =
            plotContent(*image, m_plotView, *m_pResponses, complexResponsesInUse());
        content.channelNames = m_session.side.channelNames;
        addOverlayCurves(content);
        m_pPlot->drawView(*image, content);
        m_pPlot->blit();
    }
}

const ComplexResponses* CSonaroView::complexResponsesInUse() const {
    return needsComplexResponses(m_plotView) ? m_pComplex.get() : nullptr;
}

bool CSonaroView::redrawStep() {
    ParameterImage* image = this->image();
    if (!image || image->redrawPending() != 1) {
        return false;
    }
    // Every edit sets the flag: what the panels changed since the last step
    // becomes one now.
    commitEdits();
    // The magnitude path always: the default plot and the check before a
    // send use it. The complex path only for what the view shows besides.
    computeResponses(*image, *m_pResponses);
    if (needsComplexResponses(m_plotView)) {
        computeComplexResponses(*image, *m_pComplex);
    }
    drawPlot();
    image->setRedrawPending(0);
    ++m_nRedrawCount;
    emit commandStatesChanged();
    emit redrawn();
    return true;
}

void CSonaroView::timerEvent(QTimerEvent* event) {
    QWidget::timerEvent(event);
    // Qt keeps at most one tick of a timer pending, so a long computation
    // never leaves a backlog to work off.
    redrawStep();
}

void CSonaroView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutControls(event->size().width(), event->size().height());
}

ViewLayoutInput CSonaroView::layoutInput(int cx, int cy) const {
    ViewLayoutInput in;
    in.cx = cx;
    in.cy = cy;
    in.tab = sizeOf(m_pTabs);
    in.presetFrame = sizeOf(m_pPresetFrame);
    for (int i = 0; i < 4; ++i) {
        in.presetButtons[i] = sizeOf(m_presetButtons[i]);
    }
    in.send = sizeOf(m_pSend);
    in.receive = sizeOf(m_pReceive);
    return in;
}

void CSonaroView::layoutControls(int cx, int cy) {
    if (!m_pPlot || !m_pSend || !m_pReceive || !m_pTabs || !m_pPresetFrame) {
        return;
    }
    for (const QRadioButton* button : m_presetButtons) {
        if (!button) {
            return;
        }
    }
    const ViewLayout out = computeViewLayout(layoutInput(cx, cy));

    place(m_pPlot, out.plot);
    place(m_pTabs, out.tab);
    for (int i = 0; i < 4; ++i) {
        place(m_presetButtons[i], out.presetButtons[i]);
    }
    place(m_pPresetFrame, out.presetFrame);
    place(m_pSend, out.send);
    place(m_pReceive, out.receive);

    m_pPlot->init();
    update();
    if (ParameterImage* image = this->image()) {
        image->setRedrawPending(1);
    }
    drawPlot();
}

void CSonaroView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    if (ParameterImage* image = this->image()) {
        image->setRedrawPending(1);
    }
}

void CSonaroView::onTabSelChange(int index) {
    if (ParameterImage* image = this->image(); image && index >= 0 && index <= 2) {
        image->setTabMarker(index);
    }
    // "Messung entfernen" is about the selected channel.
    emit commandStatesChanged();
}

void CSonaroView::saveAtProgramEnd() {
    ParameterImage* image = this->image();
    if (!image) {
        return;  // start-up ended early: nothing to keep
    }
    image->setTabMarker(0);
    image->setActivePreset(0);
    // The current file, which the user opened or saved (or "Filtaro.dat" in
    // the start-up directory); never the directory a file brought along,
    // which another run, perhaps on another machine, recorded.
    const std::string path = m_session.fileName.empty() ? defaultFilePath() : m_session.fileName;
    // Filtaro.dat is the program's own: never written through a link, and
    // not over what the start-up kept unless the user says so.
    const bool own = path == defaultFilePath();
    if (own && !m_startupFile.mayWriteAtProgramEnd(path, *image, m_backups)) {
        m_session.image.reset();
        return;
    }
    if ((own ? saveOwnParameterFile(*image, path) : saveParameterFile(*image, path)) != 0) {
        userServices().messageBox(FileSaveFailedText, ErrorTitle, MessageIcon::Stop);
    } else {
        saveSideFileOf(path);
    }
    m_session.image.reset();
}

const CSonaroView::CommandEntry* CSonaroView::findCommand(int id) {
    for (const CommandEntry& entry : commandTable()) {
        if (id >= entry.firstId && id <= entry.lastId) {
            return &entry;
        }
    }
    return nullptr;
}

bool CSonaroView::onCommand(int id) {
    const CommandEntry* entry = findCommand(id);
    if (!entry) {
        return false;
    }
    // Edits the timer has not taken in yet are a step before the command's.
    commitEdits();
    (this->*entry->handler)(id);
    return true;
}

bool CSonaroView::onUpdateCommand(int id, QAction& action) {
    const CommandEntry* entry = findCommand(id);
    if (!entry) {
        return false;
    }
    action.setEnabled(true);
    if (entry->update) {
        (this->*entry->update)(id, action);
    }
    return true;
}

bool CSonaroView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick &&
        (watched == m_pSend || watched == m_pReceive)) {
        return true;  // the release that follows clicks nothing either
    }
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
            pressed == QKeySequence(Qt::CTRL | Qt::Key_Y) ||
            pressed == QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)) {
            return true;  // not the field's: the window's shortcut takes the key
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CSonaroView::onButtonCommand(int id) {
    onCommand(id);
    emit commandStatesChanged();
}
