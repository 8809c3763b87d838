#include "playback/frmPlayer.h"

#include "playback/FormatDuration.h"
#include "playback/modFile.h"
#include "winsvc/cMagneticWnd.h"

#include <QCloseEvent>
#include <QScreen>

namespace {
constexpr int kDurationTickMs = 500;
constexpr int kNextTickMs = 100;
const QString kDesignCaption = QStringLiteral("正在播放...");
} // namespace

frmPlayer::frmPlayer(PlayerState& state, const PlaybackPeers& peers,
                     std::unique_ptr<MediaEngine> engine, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_peers(peers),
      m_player(new ctlPlayer(this, std::move(engine))) {
    setWindowTitle(kDesignCaption);
    setMinimumSize(kMinimumSize);
    resize(480, 360);

    // The video window's instance stretches video and has no engine menu.
    PropertyBag design;
    design.WriteProperty(QStringLiteral("stretchToFit"), true);
    design.WriteProperty(QStringLiteral("enableContextMenu"), false);
    m_player->ReadProperties(design);

    m_tmrDuration.setInterval(kDurationTickMs);
    m_tmrNext.setInterval(kNextTickMs);
    connect(&m_tmrDuration, &QTimer::timeout, this, &frmPlayer::tmrDuration_Timer);
    connect(&m_tmrNext, &QTimer::timeout, this, &frmPlayer::tmrNext_Timer);
    connect(m_player, &ctlPlayer::StatusChange, this, &frmPlayer::ctlPlayer1_StatusChange);
    connect(m_player, &ctlPlayer::MediaError, this, &frmPlayer::ctlPlayer1_MediaError);
    connect(m_player, &ctlPlayer::DoubleClick, this,
            [this](short button, short, int, int) { ctlPlayer1_DoubleClick(button); });

    if (m_peers.magnetic && m_peers.playerWindow &&
        m_peers.magnetic->AddWindow(this, m_peers.playerWindow)) {
        m_magnetic = m_peers.magnetic;
    }
    // The engine starts at the volume the slider has shown all along.
    m_player->settings().setVolume(m_state.Volume);
    m_peers.controls.setVolumeValue(m_player->settings().volume());
    layoutPlayer();
}

frmPlayer::~frmPlayer() {
    if (m_magnetic)
        m_magnetic->RemoveWindow(this);
}

void frmPlayer::ctlPlayer1_StatusChange() {
    PlayerWindowControls& c = m_peers.controls;
    switch (m_player->playState()) {
    case MediaEngine::Stopped:
        c.setPlayVisible(true);
        c.setPauseVisible(false);
        m_tmrDuration.stop();
        c.setProgressValue(0);
        c.setLedText(QStringLiteral("00:00"));
        break;
    case MediaEngine::Paused:
        c.setPauseVisible(false);
        c.setPlayVisible(true);
        m_tmrDuration.stop();
        break;
    case MediaEngine::Playing:
        m_tmrDuration.start();
        m_state.PlaybackStarted = true;
        m_tmrNext.stop();
        break;
    case MediaEngine::Buffering:
    case MediaEngine::Transitioning:
    case MediaEngine::Ready:
    case MediaEngine::Reconnecting:
        c.setPauseVisible(true);
        c.setPlayVisible(false);
        m_tmrDuration.stop();
        break;
    case MediaEngine::MediaEnded:
        c.setPlayVisible(true);
        c.setPauseVisible(false);
        m_tmrDuration.stop();
        c.setProgressValue(0);
        c.setLedText(QStringLiteral("00:00"));
        m_tmrNext.start();
        break;
    default:
        break;
    }
    updateCaption();
    layoutPlayer();
}

void frmPlayer::updateCaption() {
    if (m_FullScreen)
        setWindowTitle(QString());
    else
        setWindowTitle(MediaTitle + QLatin1Char('\t') + m_player->status());
}

void frmPlayer::tmrDuration_Timer() {
    const EngineMedia media = m_player->currentMedia();
    const double d = media.duration();
    const std::shared_ptr<CMediaInfo> current = m_state.CurrentMedia;

    // 1. Seek bar. Flash items never set its maximum from the engine. Long
    //    items are not limited to 16-bit values.
    if (d != 0) {
        if (current && modFile::GetExtension(current->Path) != QLatin1String("swf"))
            m_peers.controls.setProgressMax(RoundHalfEven(d));
        m_peers.controls.setProgressValue(RoundHalfEven(m_player->Controls().currentPosition()));
    }
    // 2. Time display.
    m_peers.controls.setLedText(m_player->Controls().currentPositionString());
    // 3. Learn the item's length once, and show it on its row. The row is the
    //    playing item's own, even if another row has been clicked meanwhile.
    if (current && current->Duration == QLatin1String("00:00") && d != 0) {
        current->Duration = media.durationString();
        m_peers.songList.setItemTime(current->Key, current->Duration);
    }
}

void frmPlayer::tmrNext_Timer() {
    if (m_player->playState() != MediaEngine::Stopped)
        return;
    m_tmrNext.stop();
    m_peers.entryPoints.PlayAfterEnd();
}

void frmPlayer::ctlPlayer1_MediaError() {
    m_peers.entryPoints.StopPlayback();
    const std::shared_ptr<CMediaInfo> current = m_state.CurrentMedia;
    if (current && current->Source == MediaSource::FromLink) {
        // Drop the failed candidate and try the next one; with none left the
        // item is given up and the list moves on.
        if (!current->UrlCol.isEmpty())
            current->UrlCol.removeFirst();
        if (!current->UrlCol.isEmpty()) {
            current->Path = current->UrlCol.first();
            m_peers.entryPoints.PlayCurrentItem();
            return;
        }
    }
    if (current)
        current->PlayFailed = true;
    m_peers.entryPoints.PlayNextItem();
}

void frmPlayer::ctlPlayer1_DoubleClick(short nButton) {
    if (nButton == 1)
        ToggleFullScreen();
}

void frmPlayer::ToggleFullScreen() {
    const bool wasVisible = isVisible();
    if (!m_FullScreen) {
        m_FullScreen = true;
        m_Saved = geometry();
        setWindowFlag(Qt::FramelessWindowHint, true);
        setWindowTitle(QString());
        // The whole screen the window is on, which need not start at the
        // desktop's origin.
        const QScreen* s = screen();
        setGeometry(s ? s->geometry() : QRect(QPoint(0, 0), size()));
    } else {
        m_FullScreen = false;
        setWindowFlag(Qt::FramelessWindowHint, false);
        setWindowTitle(MediaTitle);
        setGeometry(m_Saved);
    }
    // Changing the border hides a window; bring it back as it was.
    if (wasVisible)
        show();
}

void frmPlayer::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutPlayer();
}

void frmPlayer::layoutPlayer() {
    if (m_player->stretchToFit()) {
        m_player->setGeometry(0, 0, width(), height());
    } else {
        m_player->move((width() - m_player->width()) / 2, (height() - m_player->height()) / 2);
    }
}

void frmPlayer::closeEvent(QCloseEvent* event) {
    if (m_state.IsExiting) {
        event->accept();
        return;
    }
    event->ignore();
    hide();
    m_peers.controls.setEqualizerSelected(false);
}
