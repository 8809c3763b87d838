#include "app/PlayerTransport.h"

#include "app/PlayerApp.h"
#include "app/frmPlayerWindow.h"
#include "controls/ctlButton.h"
#include "controls/ctlProgress.h"
#include "playback/frmPlayer.h"
#include "playlist/MediaAdder.h"
#include "playlist/PlaylistPlayback.h"
#include "playlist/frmPlaylistWindow.h"
#include "winsvc/cMagneticWnd.h"

#include <QKeyEvent>
#include <QWheelEvent>
#include <cmath>

namespace {
const int kSeekStepSeconds = 5;
const int kVolumeStep = 5;
} // namespace

PlayerTransport::PlayerTransport(PlayerApp& app) : m_app(app) {
    frmPlayerWindow& w = app.PlayerWindow();
    const struct {
        ctlButton* button;
        void (PlayerTransport::*handler)();
    } buttons[] = {
        {w.cmdPlay(), &PlayerTransport::cmdPlay_Click},
        {w.cmdPause(), &PlayerTransport::cmdPause_Click},
        {w.cmdStop(), &PlayerTransport::cmdStop_Click},
        {w.cmdNext(), &PlayerTransport::cmdNext_Click},
        {w.cmdPrev(), &PlayerTransport::cmdPrev_Click},
        {w.cmdMute(), &PlayerTransport::cmdMute_Click},
        {w.cmdOpen(), &PlayerTransport::cmdOpen_Click},
        {w.cmdPlaylist(), &PlayerTransport::cmdPlaylist_Click},
        {w.cmdEqualizer(), &PlayerTransport::cmdEqualizer_Click},
    };
    for (const auto& b : buttons)
        connect(b.button, &ctlButton::Click, this, b.handler);
    connect(w.ctlProgress(), &ctlProgress::ThumbDown, this,
            &PlayerTransport::ctlProgress_ThumbDown);
    connect(w.ctlProgress(), &ctlProgress::ThumbUp, this, &PlayerTransport::ctlProgress_ThumbUp);
    connect(w.ctlVolume(), &ctlProgress::Scroll, this, &PlayerTransport::ctlVolume_Scroll);
    connect(&w, &frmPlayerWindow::MenuRequested, this,
            [this](const QPoint& globalPos) { m_mainMenu.popup(globalPos); });
    // A clicked button takes the keyboard focus and would swallow every key;
    // the window's keys are seen before any of its controls gets them.
    w.installEventFilter(this);
    for (QWidget* control : w.findChildren<QWidget*>())
        control->installEventFilter(this);
}

// A click reaches only a visible button; these checks keep a click that
// arrives by other means (a key, a test) from acting on a hidden one.
void PlayerTransport::cmdPlay_Click() {
    frmPlayerWindow& w = m_app.PlayerWindow();
    if (!w.cmdPlay()->isVisible())
        return;
    w.setPlayVisible(false);
    w.setPauseVisible(true);
    m_app.State().PlaybackStarted = false;
    m_app.Playback().PlayCurrentItem();
}

void PlayerTransport::cmdPause_Click() {
    frmPlayerWindow& w = m_app.PlayerWindow();
    if (!w.cmdPause()->isVisible())
        return;
    w.setPauseVisible(false);
    w.setPlayVisible(true);
    m_app.Playback().PausePlayback();
}

void PlayerTransport::cmdStop_Click() {
    // A stop before the engine has begun the item changes no engine state,
    // so the buttons would keep showing the play that was pressed.
    frmPlayerWindow& w = m_app.PlayerWindow();
    w.setPauseVisible(false);
    w.setPlayVisible(true);
    m_app.State().PlaybackStarted = false;
    m_app.Playback().StopPlayback();
}

void PlayerTransport::cmdNext_Click() {
    m_app.State().PlaybackStarted = false;
    m_app.Playback().PlayNextItem();
}

void PlayerTransport::cmdPrev_Click() {
    m_app.State().PlaybackStarted = false;
    m_app.Playback().PlayPreviousItem();
}

void PlayerTransport::cmdMute_Click() {
    ctlButton* mute = m_app.PlayerWindow().cmdMute();
    const bool muted = !mute->Selected();
    mute->SetSelected(muted);
    m_app.Playback().SetMute(muted);
}

void PlayerTransport::cmdOpen_Click() {
    m_app.Adder().AddFiles();
    m_app.PlayerWindow().cmdOpen()->SetSelected(false);
}

void PlayerTransport::cmdPlaylist_Click() {
    ctlButton* toggle = m_app.PlayerWindow().cmdPlaylist();
    const bool show = !toggle->Selected();
    toggle->SetSelected(show);
    m_app.PlaylistWindow().setVisible(show);
}

void PlayerTransport::cmdEqualizer_Click() {
    frmPlayerWindow& w = m_app.PlayerWindow();
    ctlButton* toggle = w.cmdEqualizer();
    if (toggle->Selected()) {
        toggle->SetSelected(false);
        if (frmPlayer* video = m_app.ExistingVideoWindow())
            video->hide();
        return;
    }
    toggle->SetSelected(true);
    frmPlayer& video = m_app.VideoWindow();
    video.move(w.geometry().right() + 1, w.geometry().top());
    video.show();
    m_app.Magnetic().CheckGlueing();
}

// While the thumb is held the position tick leaves it alone; the one seek
// happens when it is let go. Nothing to seek before anything was played.
void PlayerTransport::ctlProgress_ThumbDown() {
    if (frmPlayer* video = m_app.ExistingVideoWindow())
        video->tmrDuration().stop();
}

void PlayerTransport::ctlProgress_ThumbUp() {
    frmPlayer* video = m_app.ExistingVideoWindow();
    if (!video)
        return;
    const int seconds = m_app.PlayerWindow().ctlProgress()->Value();
    video->ctlPlayer1()->Controls().setCurrentPosition(seconds);
    video->tmrDuration().start();
    emit Seeked(seconds);
}

// The chosen volume is kept; the engine takes it when it is made, so a
// scroll before anything played does not make it (nor may it: making the
// video window sets the slider, which scrolls).
void PlayerTransport::ctlVolume_Scroll() {
    m_app.State().Volume = m_app.PlayerWindow().ctlVolume()->Value();
    if (frmPlayer* video = m_app.ExistingVideoWindow())
        video->ctlPlayer1()->settings().setVolume(m_app.State().Volume);
}

bool PlayerTransport::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        return KeyPress(key->key(), key->modifiers());
    }
    if (event->type() == QEvent::Wheel) {
        return OnWheel(watched, *static_cast<QWheelEvent*>(event));
    }
    return QObject::eventFilter(watched, event);
}

// Over the volume slider (or its thumb) each notch of the wheel is one press
// of Up or Down; a high-resolution wheel's smaller steps add up to notches.
bool PlayerTransport::OnWheel(QObject* watched, QWheelEvent& wheel) {
    ::ctlProgress* volume = m_app.PlayerWindow().ctlVolume();
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !(widget == volume || volume->isAncestorOf(widget)))
        return false;
    wheel.accept();
    m_wheelRemainder += wheel.angleDelta().y();
    const int notches = m_wheelRemainder / QWheelEvent::DefaultDeltasPerStep;
    m_wheelRemainder %= QWheelEvent::DefaultDeltasPerStep;
    if (notches != 0)
        StepVolume(notches * kVolumeStep);
    return true;
}

bool PlayerTransport::KeyPress(int key, Qt::KeyboardModifiers modifiers) {
    // Shortcuts with Ctrl, Alt or Meta belong to the menus and the desktop.
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const struct {
        int key;
        void (PlayerTransport::*handler)();
    } keys[] = {
        {Qt::Key_Space, &PlayerTransport::PlayOrPause},
        {Qt::Key_Left, &PlayerTransport::SeekBack},
        {Qt::Key_Right, &PlayerTransport::SeekForward},
        {Qt::Key_Up, &PlayerTransport::VolumeUp},
        {Qt::Key_Down, &PlayerTransport::VolumeDown},
        {Qt::Key_Z, &PlayerTransport::cmdPrev_Click},
        {Qt::Key_X, &PlayerTransport::cmdPlay_Click},
        {Qt::Key_C, &PlayerTransport::cmdPause_Click},
        {Qt::Key_V, &PlayerTransport::cmdStop_Click},
        {Qt::Key_B, &PlayerTransport::cmdNext_Click},
    };
    for (const auto& k : keys) {
        if (k.key == key) {
            (this->*k.handler)();
            return true;
        }
    }
    return false;
}

void PlayerTransport::PlayOrPause() {
    if (m_app.PlayerWindow().cmdPause()->isVisible())
        cmdPause_Click();
    else
        cmdPlay_Click();
}

// A seek by key is the seek bar let go at a new place: from where the
// engine is, kept within the item by the bar's range.
void PlayerTransport::SeekBy(int seconds) {
    frmPlayer* video = m_app.ExistingVideoWindow();
    if (!video)
        return;
    const double now = video->ctlPlayer1()->Controls().currentPosition();
    SeekTo(int(std::lround(now)) + seconds);
}

void PlayerTransport::SeekTo(int seconds) {
    if (!m_app.ExistingVideoWindow())
        return;
    m_app.PlayerWindow().ctlProgress()->SetValue(seconds);
    ctlProgress_ThumbUp();
}

void PlayerTransport::SeekToTime(double seconds) {
    frmPlayer* video = m_app.ExistingVideoWindow();
    if (!video)
        return;
    video->ctlPlayer1()->Controls().setCurrentPosition(seconds);
    m_app.PlayerWindow().ctlProgress()->SetValue(int(seconds));
    emit Seeked(int(seconds));
}

void PlayerTransport::SeekBack() {
    SeekBy(-kSeekStepSeconds);
}

void PlayerTransport::SeekForward() {
    SeekBy(kSeekStepSeconds);
}

void PlayerTransport::VolumeUp() {
    StepVolume(kVolumeStep);
}

void PlayerTransport::VolumeDown() {
    StepVolume(-kVolumeStep);
}

void PlayerTransport::StepVolume(int step) {
    ::ctlProgress* volume = m_app.PlayerWindow().ctlVolume();
    volume->SetValue(volume->Value() + step); // raises Scroll
}
