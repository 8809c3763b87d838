#include "app/LyricsPanel.h"

#include "app/MainMenus.h"
#include "app/PlayerApp.h"
#include "app/PlayerTransport.h"
#include "app/frmPlayerWindow.h"
#include "controls/ctlButton.h"
#include "lyrics/LyricsFinder.h"
#include "lyrics/LyricsFollower.h"
#include "lyrics/LyricsLibrary.h"
#include "lyrics/ctlLyrics.h"
#include "lyrics/frmLyricWindow.h"
#include "playback/ctlPlayer.h"
#include "playback/frmPlayer.h"
#include "playlist/PlaylistPlayback.h"
#include "playlist/frmPlaylistWindow.h"
#include "winsvc/cMagneticWnd.h"

LyricsPanel::LyricsPanel(PlayerApp& app)
    : m_app(app), m_window(std::make_unique<frmLyricWindow>(app.Skins(), app.Prompter(),
                                                            &app.PlayerWindow(), &app.Magnetic())),
      m_library(std::make_unique<LyricsLibrary>(LyricsFinder::UserLyricsDir())),
      m_follower(std::make_unique<LyricsFollower>([this] {
          frmPlayer* video = m_app.ExistingVideoWindow();
          return video ? video->ctlPlayer1()->Controls().currentPosition() : 0.0;
      })) {
    m_window->Load();
    DockBesidePlayer();
    m_library->SetReporter([this](const QString& text) { m_app.Playback().ShowStatus(text); });
    ConnectControls();
}

LyricsPanel::~LyricsPanel() = default;

void LyricsPanel::ConnectControls() {
    ctlButton* button = m_app.PlayerWindow().cmdLyric();
    connect(button, &ctlButton::Click, this, &LyricsPanel::Toggle);
    connect(m_window.get(), &frmLyricWindow::closeRequested, this, [this] { SetShown(false); });
    connect(m_window.get(), &frmLyricWindow::lyricsFileDropped, m_library.get(),
            &LyricsLibrary::Adopt);
    connect(&m_app.Playback(), &PlaylistPlayback::ItemStarting, this,
            [this](const CMediaInfo& item) {
                WatchEngine();
                m_library->SetItem({item.Path, item.Title});
            });
    connect(m_library.get(), &LyricsLibrary::LyricsChanged, this, &LyricsPanel::ShowLyrics);
    connect(m_follower.get(), &LyricsFollower::LineChanged, this,
            [this](int index, bool jump) { m_window->View()->SetCurrentLine(index, !jump); });
    connect(m_follower.get(), &LyricsFollower::SungChanged, m_window->View(), &ctlLyrics::SetSung);
    // The engine may not show a seek's position at once; the target is known.
    connect(&m_app.Transport(), &PlayerTransport::Seeked, this,
            [this](int seconds) { m_follower->Resync(IsPlaying(), seconds); });
    connect(m_window->View(), &ctlLyrics::LineClicked, this, [this](int index) {
        const double seconds = m_library->Current().Lines.value(index).TimeMs / 1000.0;
        m_app.Transport().SeekToTime(seconds);
        m_follower->Resync(IsPlaying(), seconds);
    });
    connect(&m_app.Menus(), &MainMenus::SkinApplied, this, &LyricsPanel::FollowSkin);
}

// The engine is made with the video window, at the first play.
void LyricsPanel::WatchEngine() {
    frmPlayer* video = m_app.ExistingVideoWindow();
    if (!video || m_watched == video->ctlPlayer1())
        return;
    m_watched = video->ctlPlayer1();
    connect(m_watched, &ctlPlayer::StatusChange, this, [this] { m_follower->Resync(IsPlaying()); });
}

bool LyricsPanel::IsPlaying() const {
    return m_watched && m_watched->playState() == MediaEngine::Playing;
}

void LyricsPanel::ShowLyrics() {
    const Lyrics& lyrics = m_library->Current();
    ctlLyrics& view = *m_window->View();
    view.SetMessage(m_library->IsSearching() ? QString() : QStringLiteral("没有歌词"));
    view.SetLyrics(lyrics);
    m_follower->SetLyrics(lyrics);
    m_follower->Resync(IsPlaying());
}

void LyricsPanel::Toggle() {
    SetShown(!m_app.PlayerWindow().cmdLyric()->Selected());
}

void LyricsPanel::SetShown(bool shown) {
    m_app.PlayerWindow().cmdLyric()->SetSelected(shown);
    m_window->setVisible(shown);
    if (shown)
        m_app.Magnetic().CheckGlueing();
}

void LyricsPanel::FollowSkin() {
    m_window->ReLoadSkin();
    DockBesidePlayer();
}

// Right of the playlist window, under where the video window opens (beside
// the player window), so that both can be open at once.
void LyricsPanel::DockBesidePlayer() {
    const QRect list = m_app.PlaylistWindow().geometry();
    m_window->move(list.x() + list.width(), list.y());
    m_app.Magnetic().CheckGlueing();
}
