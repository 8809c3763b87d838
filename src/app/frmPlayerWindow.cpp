#include "app/frmPlayerWindow.h"

#include "controls/ModMask.h"
#include "controls/TransFormCtl.h"
#include "controls/ctlButton.h"
#include "controls/ctlNumber.h"
#include "controls/ctlProgress.h"
#include "skin/ModSkinApply.h"
#include "skin/SkinImages.h"
#include "skin/SkinStore.h"
#include "winsvc/Prompts.h"
#include "winsvc/WindowDragger.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace {
const QString kCaption = QStringLiteral("Melodeck 5.0");
} // namespace

frmPlayerWindow::frmPlayerWindow(SkinStore& skins, Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_skins(skins), m_prompts(prompts) {
    setWindowTitle(kCaption);
    CreateControls();
    m_dragger = new WindowDragger(this);
    UpdatePlayPause();

    connect(m_cmdExit, &ctlButton::Click, this, &frmPlayerWindow::QuitRequested);
    connect(m_cmdMinimize, &ctlButton::Click, this, &QWidget::showMinimized);
}

frmPlayerWindow::~frmPlayerWindow() = default;

void frmPlayerWindow::CreateControls() {
    struct ButtonSpec {
        ctlButton* frmPlayerWindow::*member;
        const char* name;
        QString tip;
    };
    const ButtonSpec buttons[] = {
        {&frmPlayerWindow::m_cmdPlay, "cmdPlay", QStringLiteral("播放")},
        {&frmPlayerWindow::m_cmdPause, "cmdPause", QStringLiteral("暂停")},
        {&frmPlayerWindow::m_cmdStop, "cmdStop", QStringLiteral("停止")},
        {&frmPlayerWindow::m_cmdPrev, "cmdPrev", QStringLiteral("前一首")},
        {&frmPlayerWindow::m_cmdNext, "cmdNext", QStringLiteral("后一首")},
        {&frmPlayerWindow::m_cmdMute, "cmdMute", QStringLiteral("静音")},
        {&frmPlayerWindow::m_cmdOpen, "cmdOpen", QStringLiteral("打开")},
        {&frmPlayerWindow::m_cmdLyric, "cmdLyric", QStringLiteral("LRC歌词")},
        {&frmPlayerWindow::m_cmdEqualizer, "cmdEqualizer", QStringLiteral("视频窗口")},
        {&frmPlayerWindow::m_cmdPlaylist, "cmdPlaylist", QStringLiteral("播放列表")},
        {&frmPlayerWindow::m_cmdMinimize, "cmdMinimize", QStringLiteral("最小化")},
        {&frmPlayerWindow::m_cmdMinimode, "cmdMinimode", QStringLiteral("迷你模式")},
        {&frmPlayerWindow::m_cmdExit, "cmdExit", QStringLiteral("关闭")},
    };
    for (const ButtonSpec& spec : buttons) {
        auto* button = new ctlButton(this);
        button->setObjectName(QLatin1String(spec.name));
        button->setToolTip(spec.tip);
        this->*spec.member = button;
    }

    m_ctlProgress = new ::ctlProgress(this);
    m_ctlProgress->setObjectName(QStringLiteral("ctlProgress"));
    m_ctlVolume = new ::ctlProgress(this);
    m_ctlVolume->setObjectName(QStringLiteral("ctlVolume"));
    m_ctlLED = new ctlNumber(this);
    m_ctlLED->setObjectName(QStringLiteral("ctlLED"));

    QLabel* frmPlayerWindow::*const labels[] = {
        &frmPlayerWindow::m_lbInfo, &frmPlayerWindow::m_lbStereo, &frmPlayerWindow::m_lbStatus};
    const char* labelNames[] = {"lbInfo", "lbStereo", "lbStatus"};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QLatin1String(labelNames[i]));
        this->*labels[i] = label;
    }

    m_TransForm = new TransFormCtl(this);
}

PlayerWindowParts frmPlayerWindow::Parts() {
    return PlayerWindowParts{.window = *this,
                             .TransForm = *m_TransForm,
                             .cmdPlay = *m_cmdPlay,
                             .cmdPause = *m_cmdPause,
                             .cmdStop = *m_cmdStop,
                             .cmdPrev = *m_cmdPrev,
                             .cmdNext = *m_cmdNext,
                             .cmdMute = *m_cmdMute,
                             .cmdOpen = *m_cmdOpen,
                             .cmdLyric = *m_cmdLyric,
                             .cmdEqualizer = *m_cmdEqualizer,
                             .cmdPlaylist = *m_cmdPlaylist,
                             .cmdMinimize = *m_cmdMinimize,
                             .cmdMinimode = *m_cmdMinimode,
                             .cmdExit = *m_cmdExit,
                             .ctlLED = *m_ctlLED,
                             .lbInfo = *m_lbInfo,
                             .lbStereo = *m_lbStereo,
                             .lbStatus = *m_lbStatus,
                             .ctlProgress = *m_ctlProgress,
                             .ctlVolume = *m_ctlVolume};
}

void frmPlayerWindow::SetPicture(const QImage& picture) {
    m_picture = picture;
    update();
}

bool frmPlayerWindow::ChangeSkin(const QString& name) {
    const SkinStore previous = m_skins;
    QString error;
    if (!m_skins.LoadSkin(name, m_prompts, &error)) {
        m_prompts.MsgBox(error);
        return false;
    }
    if (!ReLoadSkin()) {
        m_skins = previous;
        return false;
    }
    return true;
}

bool frmPlayerWindow::ReLoadSkin() {
    if (!m_skins.HasSkin()) {
        return false;
    }
    const QString& name = m_skins.CurrentSkinName();
    const SkinInfo& skin = m_skins.Skin();
    SkinImages images(ModSkinApply::SkinFolder(m_skins, name));
    if (!ModSkinApply::LoadPlayerWindowImages(skin.PlayerWindow, images)) {
        m_prompts.MsgBox(ModSkinApply::BrokenSkinMessage(name, images.FailedFile()));
        return false;
    }
    ShowButtonsForNewSkin();
    PlayerWindowParts parts = Parts();
    // The skin's picture is the window's size and, for the window manager,
    // its minimum: a resize from outside snaps back to it.
    setMinimumSize(0, 0);
    ModSkinApply::ApplyPlayerWindowSkin(skin, images, parts);
    setMinimumSize(size());
    SetPlayPauseSkinned(!skin.PlayerWindow.Play.Image.isEmpty(),
                        !skin.PlayerWindow.Pause.Image.isEmpty());
    emit SkinApplied();
    return true;
}

void frmPlayerWindow::SetPlayPauseSkinned(bool play, bool pause) {
    m_playSkinned = play;
    m_pauseSkinned = pause;
    UpdatePlayPause();
}

// The placement routines only ever hide a control whose picture the skin
// lacks. Without this, a button once hidden by one skin would stay hidden
// under every later skin; so each new skin starts from every control shown
// (play and pause as the player wants them) and hides what it lacks.
void frmPlayerWindow::ShowButtonsForNewSkin() {
    for (ctlButton* button :
         {m_cmdStop, m_cmdPrev, m_cmdNext, m_cmdMute, m_cmdOpen, m_cmdLyric, m_cmdEqualizer,
          m_cmdPlaylist, m_cmdMinimize, m_cmdMinimode, m_cmdExit}) {
        button->show();
    }
    m_cmdPlay->setVisible(m_playWanted);
    m_cmdPause->setVisible(m_pauseWanted);
    m_ctlLED->show();
}

void frmPlayerWindow::UpdatePlayPause() {
    m_cmdPlay->setVisible(m_playWanted && m_playSkinned);
    m_cmdPause->setVisible(m_pauseWanted && m_pauseSkinned);
}

QImage frmPlayerWindow::Snapshot() {
    return ModMask::ShapedSnapshot(this);
}

void frmPlayerWindow::setPlayVisible(bool visible) {
    m_playWanted = visible;
    UpdatePlayPause();
}

void frmPlayerWindow::setPauseVisible(bool visible) {
    m_pauseWanted = visible;
    UpdatePlayPause();
}

void frmPlayerWindow::setEqualizerSelected(bool selected) {
    m_cmdEqualizer->SetSelected(selected);
}

void frmPlayerWindow::setProgressMax(int max) {
    m_ctlProgress->SetMax(max);
}

void frmPlayerWindow::setProgressValue(int value) {
    m_ctlProgress->SetValue(value);
}

void frmPlayerWindow::setVolumeValue(int value) {
    m_ctlVolume->SetValue(value);
}

void frmPlayerWindow::setLedText(const QString& text) {
    m_ctlLED->SetText(text);
}

void frmPlayerWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    ModMask::DrawPicture(painter, m_picture, event->region());
}

void frmPlayerWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit QuitRequested();
}

// The left button moves the window (WindowDragger sees it first); any other
// button asks for the main menu.
void frmPlayerWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    emit MenuRequested(event->globalPosition().toPoint());
}
