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
#include <QTimerEvent>

#include "device/DevicePort.h"
#include "forms/DialogBuilder.h"
#include "forms/ModalRunner.h"
#include "platform/UserServices.h"
#include "plot/CResponsePlot.h"
#include "res/DialogTemplates.h"
#include "res/ResourceIds.h"
#include "storage/Ini.h"
#include "storage/PlotOptions.h"
#include "ui/CChannelPanel.h"
#include "ui/CChannelTabCtrl.h"
#include "ui/CShadeButton.h"
#include "ui/CWelcomeDlg.h"
#include "view/CommandIds.h"
#include "view/CommandTable.h"
#include "view/Commands.h"
#include "view/KeyboardFocus.h"
#include "view/ViewLayout.h"

namespace {

constexpr const char* TabCaptions[6] = {"Ch. 1 ", "Ch. 2 ", "Ch. 3 ", "Ch. 4 ", "Ch. 5 ", "Ch. 6 "};

constexpr int RedrawPeriodMs = 10;
constexpr int MainWindowX = 100;
constexpr int MainWindowY = 0;
constexpr int MainWindowWidth = 1200;
constexpr int MainWindowHeight = 700;
// Controls of template 101 that are no command buttons.
constexpr int PlotId = 1123;
constexpr int TabId = 1023;
constexpr int PresetFrameId = 1049;

constexpr const char* ConnectHardware = "Bitte erst Hardware anschließen und Programm neu starten.";

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

CSonaroView::CSonaroView(Document& document, QWidget* parent)
    : QWidget(parent),
      m_document(document),
      m_pResponses(std::make_unique<ChannelResponses>()),
      m_pComplex(std::make_unique<ComplexResponses>()) {
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
    // The form's buttons are commands like the menu's.
    const auto button = [this](int id) {
        return [this, id] {
            onCommand(id);
            emit commandStatesChanged();
        };
    };
    connect(m_pSend, &QAbstractButton::clicked, this, button(CmdSend));
    connect(m_pReceive, &QAbstractButton::clicked, this, button(CmdReceive));
    for (int i = 0; i < 4; ++i) {
        connect(m_presetButtons[i], &QAbstractButton::clicked, this, button(CmdPreset1 + i));
    }
    connect(m_pTabs, &CChannelTabCtrl::selChange, this, &CSonaroView::onTabSelChange);
    connect(m_pTabs, &CChannelTabCtrl::nameRequested, this,
            [this](int channel) { nameChannel(*this, channel); });
    // One click on send or receive is one transfer, even when it is the first
    // of a double click.
    m_pSend->installEventFilter(this);
    m_pReceive->installEventFilter(this);
    connect(m_pPlot, &CResponsePlot::pixelRatioChanged, this,
            [this] { layoutControls(width(), height()); });
    m_document.setObserver(this);
}

CSonaroView::~CSonaroView() {
    if (m_nTimer != 0) {
        killTimer(m_nTimer);
    }
    m_document.saveAtProgramEnd();
    m_document.setObserver(nullptr);
}

bool CSonaroView::onInitialUpdate() {
    writeControls();
    // The plot's drawing resources and the view kept in FILTARO.INI, then
    // the redraw timer, which runs for the view's whole life.
    m_pPlot->init();
    m_plotView.quantity = quantityFromName(plotViewName()).value_or(ResponseQuantity::Magnitude);
    m_nTimer = startTimer(RedrawPeriodMs);
    if (!m_document.startUp()) {
        return false;
    }
    setPresetStates(0);
    writeControls();
    openConfiguredPort();
    placeMainWindow();
    ParameterImage& image = m_document.image();
    image.setTabMarker(0);
    image.setActivePreset(0);
    image.setRedrawPending(1);
    drawPlot();
    for (CShadeButton* button : {m_pSend, m_pReceive}) {
        button->setShade(ShadeType, ShadeGranularity, ShadeHighlight, ShadeTintAmount, ShadeTint);
        button->setIcon(button == m_pSend ? SendIconId : ReceiveIconId);
    }
    const bool deviceAnswered = m_document.receiveAtStartUp();
    CWelcomeDlg welcome;
    createChannelPanels();
    m_document.loadSideFileAtStartUp();
    if (deviceAnswered) {
        refreshPanels();
    } else {
        welcome.m_strMessage = QString::fromUtf8(ConnectHardware);
    }
    // No undo steps until the settings of the start are on screen.
    m_document.startHistory();
    runModal(welcome);
    return true;
}

// The configured port at the configured rate; a failure shows up with the
// receive that follows.
void CSonaroView::openConfiguredPort() {
    const IniSettings ini = loadIniSettings();
    if (m_document.port().open(devicePathForPort(ini.portName), ini.baudRate) == CommOk) {
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

void CSonaroView::createChannelPanels() {
    m_document.image().setSixChannels(1);
    for (int i = 0; i < 6; ++i) {
        m_pTabs->insertItem(i, QString::fromLatin1(TabCaptions[i]));
    }
    m_pTabs->createPanels(&m_document.image());
    // Ctrl+Z in a panel's field undoes the last change of the settings, not
    // the last keystroke of the field.
    for (QLineEdit* edit : m_pTabs->findChildren<QLineEdit*>()) {
        edit->installEventFilter(this);
    }
    arrangeViewTabOrder(m_pPlot, *m_pTabs, m_presetButtons, m_pReceive, m_pSend);
}

// --- What the document reports ---------------------------------------------

void CSonaroView::onSettingsReplaced() {
    setPresetStates(m_document.image().activePreset());
    writeControls();
    refreshPanels();
}

void CSonaroView::onTitleChanged() {
    emit titleChanged(QString::fromStdString(m_document.title()));
}

void CSonaroView::onChannelNamesChanged() {
    for (int c = 0; c < ChannelCount; ++c) {
        m_pTabs->setChannelName(c, channelName(c));
    }
}

void CSonaroView::onHistoryChanged() {
    emit commandStatesChanged();
}

void CSonaroView::onNotice(const std::string& text) {
    emit noticeShown(QString::fromStdString(text));
}

// --- What the commands show ---------------------------------------------------

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

void CSonaroView::refreshPanels() {
    for (CChannelPanel* panel : m_pTabs->m_apPanels) {
        if (panel) {
            panel->refreshFromImage();
        }
    }
}

QString CSonaroView::channelName(int channel) const {
    if (channel < 0 || channel >= ChannelCount) return {};
    return QString::fromStdString(sideFile().channelNames[static_cast<std::size_t>(channel)]);
}

void CSonaroView::setPlotView(const PlotViewChoice& view) {
    m_plotView = view;
    m_document.redraw();
}

void CSonaroView::setPlotPreview(PlotPreview preview) {
    m_nextPreview = std::move(preview);
    m_document.redraw();
}

// --- The plot -------------------------------------------------------------------

void CSonaroView::drawPlot() {
    const ParameterImage& image = m_document.image();
    PlotContent content = plotContent(image, m_plotView, *m_pResponses, complexResponsesInUse());
    content.channelNames = sideFile().channelNames;
    m_document.overlay().addCurves(content, sideFile().overlay, *m_pResponses);
    m_measuredSums = {};
    if (m_plotView.sums && m_plotView.quantity != ResponseQuantity::GroupDelay) {
        m_measuredSums = m_document.overlay().measuredSumCurves(image, image.activePreset(),
                                                                *m_pComplex, sideFile().overlay);
        addMeasuredSums(content, m_measuredSums);
    }
    m_preview = m_nextPreview;
    addPreviewCurves(content, m_preview);
    m_pPlot->drawView(image, content);
    m_pPlot->blit();
}

const ComplexResponses* CSonaroView::complexResponsesInUse() const {
    return needsComplexResponses(m_plotView) ? m_pComplex.get() : nullptr;
}

bool CSonaroView::redrawStep() {
    ParameterImage& image = m_document.image();
    if (image.redrawPending() != 1) {
        return false;
    }
    // Every edit sets the flag: what the panels changed since the last step
    // becomes one now.
    m_document.commitEdits();
    // The magnitude path always: the default plot and the check before a
    // send use it. The complex path only for what the view shows besides.
    computeResponses(image, *m_pResponses);
    if (needsComplexResponses(m_plotView)) {
        computeComplexResponses(image, *m_pComplex);
    }
    drawPlot();
    image.setRedrawPending(0);
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
    // Resizes come while the form's controls are still being built.
    if (!m_pPlot || !m_pSend || !m_pReceive || !m_pTabs || !m_pPresetFrame || !m_presetButtons[3]) {
        return;
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
    m_document.redraw();
    drawPlot();
}

void CSonaroView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    m_document.redraw();
}

void CSonaroView::onTabSelChange(int index) {
    if (index >= 0 && index <= 2) {
        m_document.image().setTabMarker(index);
    }
    // "Messung entfernen" is about the selected channel.
    emit commandStatesChanged();
}

// --- Command routing -------------------------------------------------------------

bool CSonaroView::onCommand(int id) {
    const Command* command = findCommand(id);
    if (!command || !command->run) {
        return false;
    }
    // Edits the timer has not taken in yet are a step before the command's.
    m_document.commitEdits();
    command->run(*this, id);
    return true;
}

bool CSonaroView::onUpdateCommand(int id, QAction& action) {
    const Command* command = findCommand(id);
    if (!command || !command->run) {
        return false;
    }
    action.setEnabled(true);
    if (command->rule) {
        command->rule(*this, id, action);
    }
    return true;
}

bool CSonaroView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick &&
        (watched == m_pSend || watched == m_pReceive)) {
        return true;  // the release that follows clicks nothing either
    }
    if (event->type() == QEvent::ShortcutOverride &&
        isWindowUndoKey(*static_cast<QKeyEvent*>(event))) {
        return true;  // not the field's: the window's shortcut takes the key
    }
    return QWidget::eventFilter(watched, event);
}
