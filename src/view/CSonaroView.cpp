#include "view/CSonaroView.h"

#include <QAction>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QRadioButton>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QTimerEvent>

#include "app/CMainFrame.h"
#include "app/CSonaroApp.h"
#include "device/DevicePort.h"
#include "device/PresetTransfer.h"
#include "forms/CDialogBuilder.h"
#include "forms/ModalRunner.h"
#include "model/ParameterImage.h"
#include "platform/CurrentDirectory.h"
#include "platform/UserServices.h"
#include "plot/CResponsePlot.h"
#include "res/DialogTemplates.h"
#include "res/ResourceIds.h"
#include "storage/ParameterFile.h"
#include "ui/CChannelPanel.h"
#include "ui/CChannelTabCtrl.h"
#include "ui/CShadeButton.h"
#include "ui/CWelcomeDlg.h"
#include "view/ViewLayout.h"

namespace {

constexpr int PresetIds[4] = {1025, 1026, 1027, 1028};

constexpr const char* TabCaptions[6] = {"Ch. 1 ", "Ch. 2 ", "Ch. 3 ", "Ch. 4 ", "Ch. 5 ", "Ch. 6 "};

constexpr const char* StartupLoadFailed =
    "Datei Filtaro.dat konnte nicht geöffnet werden!\nProgramm wird beendet.";
constexpr const char* ConnectHardware = "Bitte erst Hardware anschließen und Programm neu starten.";
constexpr const char* EndSaveFailed = "Datei konnte nicht gespeichert werden.";
constexpr const char* ErrorTitle = "Fehler";

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

CSonaroView::CSonaroView(CSonaroApp& app, CMainFrame& frame, QWidget* parent)
    : QWidget(parent),
      m_app(app),
      m_frame(frame),
      m_pResponses(std::make_unique<ChannelResponses>()) {
    CDialogBuilder builder(mainFormTemplate);
    builder.use<CResponsePlot>(PlotId)
        .use<CShadeButton>(SendId)
        .use<CShadeButton>(ReceiveId)
        .use<CChannelTabCtrl>(TabId);
    const CDialogControls controls = builder.build(this);
    m_pPlot = controls.get<CResponsePlot>(PlotId);
    m_pSend = controls.get<CShadeButton>(SendId);
    m_pReceive = controls.get<CShadeButton>(ReceiveId);
    m_pTabs = controls.get<CChannelTabCtrl>(TabId);
    m_pPresetFrame = controls.get<QGroupBox>(PresetFrameId);
    for (int i = 0; i < 4; ++i) {
        m_presetButtons[i] = controls.get<QRadioButton>(PresetIds[i]);
    }
    // The form is a child window: let it shrink with the frame.
    setMinimumSize(0, 0);
    setFocusPolicy(Qt::StrongFocus);

    connect(m_pSend, &QAbstractButton::clicked, this, [this] { m_frame.onCommand(SendId); });
    connect(m_pReceive, &QAbstractButton::clicked, this, [this] { m_frame.onCommand(ReceiveId); });
    for (int i = 0; i < 4; ++i) {
        const int id = PresetIds[i];
        connect(m_presetButtons[i], &QAbstractButton::clicked, this,
                [this, id] { m_frame.onCommand(id); });
    }
    connect(m_pTabs, &CChannelTabCtrl::selChange, this, &CSonaroView::onTabSelChange);
}

CSonaroView::~CSonaroView() {
    if (m_nTimer != 0) {
        killTimer(m_nTimer);
    }
    saveAtProgramEnd();
}

ParameterImage* CSonaroView::image() const {
    return m_pImage.get();
}

bool CSonaroView::onInitialUpdate() {
    // 1. Bind the controls to the view's data.
    writeControls();
    // 2.-3. The plot's drawing resources, then the redraw timer, which runs
    // for the view's whole life.
    m_pPlot->init();
    m_nTimer = startTimer(RedrawPeriodMs);

    // 4. The one ParameterImage, all zero bytes.
    m_pImage = std::make_unique<ParameterImage>();
    ParameterImage& image = *m_pImage;
    m_app.m_pImage = m_pImage.get();
    m_app.m_strFileName = DefaultFileName;

    // 5.-6. Defaults, written to "Filtaro.dat" and read back: the settings of
    // the previous run are not restored.
    newRoutine(NewVariant::Startup);
    if (loadParameterFile(image, DefaultFileName) != 1) {
        userServices().messageBox(StartupLoadFailed, ErrorTitle, MessageIcon::None);
        m_app.m_pImage = nullptr;
        m_pImage.reset();
        return false;
    }

    // 7. Where the program-end save goes.
    image.setWorkingDirectory(currentDirectory());

    // 8.-10. The configured port; a failure shows up with the receive below.
    if (m_app.m_serialPort.open(devicePathForPort(configuredPortName()), configuredBaudRate()) ==
        0) {
        userServices().sleepMs(PortSettleMs);
    }

    // 11. Main window position and size; it stays hidden until start-up ends.
    m_frame.move(MainWindowX, MainWindowY);
    m_frame.resize(MainWindowWidth, MainWindowHeight);
    m_frame.raise();
    // A hidden window gets its resize only when shown; lay the form out now.
    if (QLayout* frameLayout = m_frame.layout()) {
        frameLayout->activate();
    }
    layoutControls(width(), height());

    // 12.-13.
    image.setTabMarker(0);
    image.setActivePreset(0);
    image.setRedrawPending(1);
    drawPlot();

    // 14.
    m_pSend->SetShade(ShadeType, ShadeGranularity, ShadeHighlight, ShadeTintAmount, ShadeTint);
    m_pSend->SetIcon(SendIconId);
    m_pReceive->SetShade(ShadeType, ShadeGranularity, ShadeHighlight, ShadeTintAmount, ShadeTint);
    m_pReceive->SetIcon(ReceiveIconId);

    // 15. The device's presets (a failure has shown its message already).
    const int received = receiveAllPresets(image, m_app.m_serialPort);

    // 16.-18.
    CWelcomeDlg welcome;
    image.setSixChannels(1);
    for (int i = 0; i < 6; ++i) {
        m_pTabs->InsertItem(i, QString::fromLatin1(TabCaptions[i]));
    }
    m_pTabs->CreatePanels(m_pImage.get());

    // 19.
    if (received < 0) {
        welcome.m_strMessage = QString::fromUtf8(ConnectHardware);
    } else {
        refreshPanels();
    }

    // 20.
    runModal(welcome);
    return true;
}

void CSonaroView::newRoutine(NewVariant variant) {
    ParameterImage* image = m_pImage.get();
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
    m_frame.setWindowTitle(QString::fromUtf8(TitleNewFile));
    writeControls();
    saveParameterFile(*image, DefaultFileName);
}

void CSonaroView::switchToFirstChannel() {
    m_pTabs->SwitchToTab(0);
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
            panel->RefreshFromImage();
        }
    }
}

void CSonaroView::drawPlot() {
    // Before start-up and after the end there is no image: nothing to draw.
    if (m_pImage) {
        m_pPlot->drawResponse(*m_pImage, *m_pResponses);
        m_pPlot->blit();
    }
}

bool CSonaroView::redrawStep() {
    ParameterImage* image = m_pImage.get();
    if (!image || image->redrawPending() != 1) {
        return false;
    }
    computeResponses(*image, *m_pResponses);
    drawPlot();
    image->setRedrawPending(0);
    ++m_nRedrawCount;
    m_frame.updateCommandUi();
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

void CSonaroView::layoutControls(int cx, int cy) {
    if (!m_pPlot || !m_pSend || !m_pReceive || !m_pTabs || !m_pPresetFrame) {
        return;
    }
    ViewLayoutInput in;
    in.cx = cx;
    in.cy = cy;
    in.tab = sizeOf(m_pTabs);
    in.presetFrame = sizeOf(m_pPresetFrame);
    for (int i = 0; i < 4; ++i) {
        if (!m_presetButtons[i]) {
            return;
        }
        in.presetButtons[i] = sizeOf(m_presetButtons[i]);
    }
    in.send = sizeOf(m_pSend);
    in.receive = sizeOf(m_pReceive);
    const ViewLayout out = computeViewLayout(in);

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
    if (m_pImage) {
        m_pImage->setRedrawPending(1);
    }
    drawPlot();
}

void CSonaroView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    if (m_pImage) {
        m_pImage->setRedrawPending(1);
    }
}

void CSonaroView::onTabSelChange(int index) {
    if (m_pImage && index >= 0 && index <= 2) {
        m_pImage->setTabMarker(index);
    }
}

void CSonaroView::saveAtProgramEnd() {
    ParameterImage* image = m_pImage.get();
    if (!image) {
        return;  // start-up ended early: nothing to keep
    }
    image->setTabMarker(0);
    image->setActivePreset(0);
    // A file from elsewhere may bring an empty directory; the name alone then
    // lands in the current directory rather than in the file system's root.
    const std::string dir = image->workingDirectory();
    const std::string path = dir.empty() ? m_app.m_strFileName : dir + "/" + m_app.m_strFileName;
    if (saveParameterFile(*image, path) != 0) {
        userServices().messageBox(EndSaveFailed, ErrorTitle, MessageIcon::Stop);
    }
    m_app.m_pImage = nullptr;
    m_pImage.reset();
}

bool CSonaroView::onCommand(int id) {
    for (const CommandEntry& entry : commandTable()) {
        if (id >= entry.firstId && id <= entry.lastId) {
            (this->*entry.handler)(id);
            return true;
        }
    }
    return false;
}

bool CSonaroView::hasCommand(int id) const {
    for (const CommandEntry& entry : commandTable()) {
        if (id >= entry.firstId && id <= entry.lastId) {
            return true;
        }
    }
    return false;
}

bool CSonaroView::onUpdateCommand(int id, QAction& action) {
    for (const CommandEntry& entry : commandTable()) {
        if (id >= entry.firstId && id <= entry.lastId) {
            action.setEnabled(true);
            if (entry.update) {
                (this->*entry.update)(id, action);
            }
            return true;
        }
    }
    return false;
}
