#pragma once

#include "playback/PlayerState.h"
#include "playlist/PlaylistStore.h"
#include "playlist/frmLocalSearch.h"
#include "skin/SkinStore.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

class FolderAdder;
class InteractiveFetches;
class LyricsPanel;

class MainMenus;
class MediaAdder;
class MiniMode;
class MprisService;
class OwnedWindows;
class PlayerInfoLabels;
class PlaylistPlayback;
class PlaylistStore;
class Prompts;
class PlayerTransport;
class PlaylistMenus;
class UpdateCheck;
class cMagneticWnd;
class frmMelodeckLink;
class frmPlayer;
class frmPlayerWindow;
class frmPlaylistWindow;

// The running program: the player window, the playlist window glued under
// it, the playlists, and the video window with the engine, made the first
// time anything refers to it. It runs the start-up sequence and the one exit
// path every way out goes through, so the playlists are saved exactly once
// whichever way the program ends.
class PlayerApp : public QObject {
    Q_OBJECT
public:
    // Every start uses this skin; a skin chosen in an earlier run is not kept.
    static const QString kStartSkin;
    // The title of the list made when no playlist file exists.
    static const QString kDefaultListTitle;
    // How soon a change to the lists is written.
    static constexpr int kSaveDelayMs = 500;

    explicit PlayerApp(Prompts& prompts, QObject* parent = nullptr);
    ~PlayerApp() override;

    // Skins and shows both windows and loads the playlists. False when no
    // skin can be loaded (the user has been told); the program cannot show
    // itself then.
    bool Start();

    // The start's command line: added to the current list, then the current
    // item plays (the added one only when the list was empty before).
    void PlayCommandLine(const QStringList& items);

    // What a second instance handed over: the player window comes to the
    // front and the text is added to the current list, without playing.
    // A hand-off that arrives while Start runs (a start-up message box
    // keeps its own event loop) waits and is added, in order, when the start
    // is done.
    void HandOff(const QStringList& items);

    // Adds `text` to the current list (AddByKind) and returns the keys of
    // what was added. A quit asked meanwhile (a link search was waiting for
    // the service) saves once more and ends the event loop after it returns.
    QStringList AddText(const QString& text);

    // The one way out: stops playback, saves the playlists, marks the
    // program as exiting (so the video window may close), closes the
    // windows (the video window is only hidden; it and its engine go with
    // the program) and ends the event loop with status 0. Runs once; later
    // calls do nothing. Asked while a link is being searched, the search is
    // aborted (the exit does not wait for the service), the lists are saved
    // at once and again when the search has returned, and the link is kept
    // for the next start: a text the other instance was told is taken, or
    // the start's own, is not lost.
    // Open dialogs are closed first, so that a message box waiting for OK
    // does not keep the program alive. Asked while Start runs, the quit is
    // made when the lists are loaded, never halfway through.
    void QuitApplication();

    // Offers an update when the maker's server names a newer version (the
    // last step of the start, after the command line). Never blocks for
    // longer than the fetch's time-out; the user can cancel the wait.
    void CheckForUpdate();

    // The link dialog, modal; a link composed there is added to the current
    // list.
    void ShowLinkDialog();
    // The search across every list, modal; the item chosen there plays.
    void ShowLocalSearch();
    // The search dialog while it is open (for tests).
    frmLocalSearch* LocalSearch() const { return m_localSearch; }

    PlayerState& State() { return m_state; }
    SkinStore& Skins() { return m_skins; }
    frmPlayerWindow& PlayerWindow() const { return *m_playerWindow; }
    frmPlaylistWindow& PlaylistWindow() const { return *m_playlistWindow; }
    PlaylistStore& Store() const { return *m_store; }
    MediaAdder& Adder() const { return *m_adder; }
    PlaylistPlayback& Playback() const { return *m_playback; }
    cMagneticWnd& Magnetic() const { return *m_magnetic; }
    // The windows the player window owns (minimised and stacked with it).
    OwnedWindows& Owned() const { return *m_owned; }
    // The video window, made now if it does not exist yet.
    frmPlayer& VideoWindow();
    // The video window if it has been made.
    frmPlayer* ExistingVideoWindow() const;
    bool HasQuit() const { return m_quit; }
    PlayerTransport& Transport() const { return *m_transport; }
    PlaylistMenus& PlaylistCommands() const { return *m_playlistMenus; }
    MainMenus& Menus() const { return *m_menus; }
    FolderAdder& Folders() const { return *m_folderAdder; }
    UpdateCheck& Update() const { return *m_update; }
    MiniMode& Mini() const { return *m_mini; }
    LyricsPanel& Lyrics() const { return *m_lyrics; }
    Prompts& Prompter() const { return m_prompts; }
    InteractiveFetches& Fetches() const { return *m_fetches; }

private:
    // The windows mini mode puts away: every skinned window besides the
    // player window that exists now.
    QList<QWidget*> OtherWindows() const;
    bool LoadStartSkin();
    bool LoadsOnBothWindows(const QString& name);
    void CreatePlaylistSide();
    void LoadPlaylists();
    void ConnectPlaylistWindow();
    PlaylistStore::Record ResolveLinkItem(const QString& link);
    // Runs `add` (which may search a link) as AddText does; its keys.
    QStringList Adding(const std::function<QStringList()>& add);
    void EndEventLoop();
    void FinishQuit();
    void FinishStart();

    Prompts& m_prompts;
    PlayerState m_state;
    SkinStore m_skins;
    std::unique_ptr<cMagneticWnd> m_magnetic;
    std::unique_ptr<frmPlayerWindow> m_playerWindow;
    OwnedWindows* m_owned; // a child of the player window
    // Mini mode puts these windows away and brings them back.
    std::unique_ptr<MiniMode> m_mini;
    std::unique_ptr<frmPlaylistWindow> m_playlistWindow;
    std::unique_ptr<PlaylistStore> m_store;
    std::unique_ptr<MediaAdder> m_adder;
    std::unique_ptr<PlaylistPlayback> m_playback;
    std::unique_ptr<frmPlayer> m_video;
    std::unique_ptr<PlayerTransport> m_transport;
    // The link searches and the update check the user waits for.
    std::unique_ptr<InteractiveFetches> m_fetches;
    std::unique_ptr<UpdateCheck> m_update;
    std::unique_ptr<PlaylistMenus> m_playlistMenus;
    std::unique_ptr<MainMenus> m_menus;
    std::unique_ptr<FolderAdder> m_folderAdder;
    std::unique_ptr<PlayerInfoLabels> m_labels;
    // The lyrics window and what feeds it.
    std::unique_ptr<LyricsPanel> m_lyrics;
    // The desktop's media controls; none without a session bus.
    std::unique_ptr<MprisService> m_mpris;
    QPointer<frmMelodeckLink> m_linkDialog;
    QPointer<frmLocalSearch> m_localSearch;
    // Asks the system every second to give back freed heap pages.
    QTimer m_tmrClear;
    bool m_quit = false;
    bool m_starting = false;
    QList<QStringList> m_waitingHandOffs;
    // Texts being added (AddText calls under way).
    int m_adding = 0;
};
