#include "app/PlayerApp.h"

#include "app/FolderAdder.h"
#include "app/LyricsPanel.h"
#include "app/MainMenus.h"
#include "app/MiniMode.h"
#include "app/MprisService.h"
#include "app/PlayerInfoLabels.h"
#include "app/PlayerTransport.h"
#include "app/PlaylistMenus.h"
#include "app/UpdateCheck.h"
#include "app/frmPlayerWindow.h"
#include "controls/ctlButton.h"
#include "controls/ctlList.h"
#include "controls/ctlProgress.h"
#include "lyrics/frmLyricWindow.h"
#include "net/InteractiveFetches.h"
#include "net/ModLink.h"
#include "net/PendingItems.h"
#include "net/UrlRegistration.h"
#include "net/frmMelodeckLink.h"
#include "playback/frmPlayer.h"
#include "playlist/MediaAdder.h"
#include "playlist/PlaylistPlayback.h"
#include "playlist/PlaylistStore.h"
#include "playlist/frmLocalSearch.h"
#include "playlist/frmPlaylistWindow.h"
#include "skin/ModSkinApply.h"
#include "skin/ModTextFile.h"
#include "skin/PlaylistSkinApply.h"
#include "skin/SkinImages.h"
#include "winsvc/DisplayText.h"
#include "winsvc/OwnedWindows.h"
#include "winsvc/ProgramFolders.h"
#include "winsvc/Prompts.h"
#include "winsvc/cMagneticWnd.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QTextStream>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

const QString PlayerApp::kStartSkin = QStringLiteral("Winamp Modern");
const QString PlayerApp::kDefaultListTitle = QStringLiteral("[默认]");

namespace {

// Every dialog on screen answers "cancel": its own event loop would
// otherwise hold the program after the windows are gone.
void CloseDialogs() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible())
            dialog->reject();
    }
}

void trimHeap() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

// The windows get places of their own before they are first shown, centred
// together on the screen: a window manager puts a window without one wherever
// it likes, but keeps one the program has chosen (Qt marks it as the user's),
// so the playlist window stays glued under the player window.
void CentreTogether(const QList<QWidget*>& windows) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    QRect united;
    for (const QWidget* window : windows)
        united |= window->frameGeometry();
    if (!screen || united.isEmpty())
        return;
    const QRect area = screen->availableGeometry();
    QPoint offset = area.center() - united.center();
    offset.rx() = std::max(offset.x(), area.left() - united.left());
    offset.ry() = std::max(offset.y(), area.top() - united.top());
    for (QWidget* window : windows)
        window->move(window->pos() + offset);
}

} // namespace

PlayerApp::PlayerApp(Prompts& prompts, QObject* parent)
    : QObject(parent), m_prompts(prompts), m_skins(SkinDirs()),
      m_magnetic(std::make_unique<cMagneticWnd>()),
      m_playerWindow(std::make_unique<frmPlayerWindow>(m_skins, prompts)),
      m_owned(new OwnedWindows(*m_playerWindow)),
      m_mini(std::make_unique<MiniMode>(*m_playerWindow, m_skins, prompts, *m_magnetic,
                                        [this] { return OtherWindows(); })),
      m_fetches(std::make_unique<InteractiveFetches>(m_playerWindow.get())),
      m_update(std::make_unique<UpdateCheck>(prompts, [this] { QuitApplication(); })) {
    // The exit button still ends the program while a fetch waits.
    m_fetches->LetThrough(m_playerWindow->cmdExit());
    m_update->SetWait(m_fetches.get());
    m_tmrClear.setInterval(1000);
    connect(&m_tmrClear, &QTimer::timeout, this, &trimHeap);
    m_tmrClear.start();
    connect(m_playerWindow.get(), &frmPlayerWindow::QuitRequested, this,
            &PlayerApp::QuitApplication);
}

PlayerApp::~PlayerApp() {
    // The video window only closes once the program is exiting; and the
    // windows go before the store and playback that their signals reach.
    m_state.IsExiting = true;
    m_folderAdder.reset();
    m_mpris.reset();
    m_lyrics.reset();
    m_menus.reset();
    m_playlistMenus.reset();
    m_labels.reset();
    m_transport.reset();
    m_mini.reset();
    m_video.reset();
    m_playlistWindow.reset();
    m_playerWindow.reset();
}

QList<QWidget*> PlayerApp::OtherWindows() const {
    QList<QWidget*> windows;
    if (m_playlistWindow)
        windows << m_playlistWindow.get();
    if (m_video)
        windows << m_video.get();
    if (m_lyrics)
        windows << &m_lyrics->Window();
    return windows;
}

bool PlayerApp::Start() {
    m_starting = true;
    m_magnetic->AddWindow(m_playerWindow.get());
    if (!LoadStartSkin()) {
        m_starting = false;
        return false;
    }
    CreatePlaylistSide();
    m_playerWindow->cmdPlaylist()->SetSelected(true);
    CentreTogether({m_playerWindow.get(), m_playlistWindow.get()});
    m_lyrics->DockBesidePlayer();
    m_playlistWindow->show();
    m_magnetic->CheckGlueing();
    m_playerWindow->show();
    LoadPlaylists();
    // The desktop hands melodeck:// links to this program; written at every
    // start so a moved program is still found. Failure is not worth a word:
    // links typed into the link dialog work all the same.
    UrlRegistration::RegisterUrlProtocol();
    m_mpris = MprisService::Start(*this, QDBusConnection::sessionBus());
    FinishStart();
    return true;
}

void PlayerApp::FinishStart() {
    m_starting = false;
    const QList<QStringList> waiting = std::exchange(m_waitingHandOffs, {});
    if (m_quit) {
        // The other copies were told their texts were taken: in the lists
        // before the last save.
        for (const QStringList& items : waiting)
            for (const QString& item : items)
                AddText(item);
        FinishQuit();
        return;
    }
    for (const QStringList& items : waiting)
        HandOff(items);
}

// Every item goes in; the first of them plays (the one the user named first,
// rather than whatever item of the list happened to be current).
void PlayerApp::PlayCommandLine(const QStringList& items) {
    QStringList added;
    for (const QString& item : items)
        if (!m_quit)
            added += AddText(item);
    if (m_quit)
        return;
    if (added.isEmpty()) {
        if (!items.isEmpty())
            m_playback->PlayCurrentItem();
        return;
    }
    // Selected as a double-click would: the next song follows the selected row.
    m_store->ShowPlaylist(m_state.CurrentListKey);
    m_store->Songs().SelectItem(added.first());
    emit m_playlistWindow->songActivated(added.first());
}

void PlayerApp::CheckForUpdate() {
    if (!m_quit)
        m_update->CheckForUpdate();
}

// The start skin, or else the first skin folder that loads: a damaged or
// missing start skin should not keep the player from starting when another
// skin is there. Each broken skin has been reported by ChangeSkin.
bool PlayerApp::LoadStartSkin() {
    // The volume the user hears once something plays, shown from the start
    // without making the engine.
    m_playerWindow->setVolumeValue(m_state.Volume);
    if (LoadsOnBothWindows(kStartSkin))
        return true;
    for (const ModTextFile::FolderEntry& folder : m_skins.SkinFolders()) {
        if (folder.Name.compare(kStartSkin, Qt::CaseInsensitive) != 0 &&
            LoadsOnBothWindows(folder.Name))
            return true;
    }
    m_prompts.MsgBox(m_skins.SkinsDirs().join(QLatin1Char(' ')) +
                     QStringLiteral(" 没有可用的皮肤，程序无法启动"));
    return false;
}

// A skin whose playlist window cannot be drawn is as broken for the start
// as one whose player window cannot: the playlist window would be left
// without a face.
bool PlayerApp::LoadsOnBothWindows(const QString& name) {
    if (!m_playerWindow->ChangeSkin(name))
        return false;
    SkinImages images(ModSkinApply::SkinFolder(m_skins, m_skins.CurrentSkinName()));
    if (ModSkinApply::LoadPlaylistWindowImages(m_skins.Skin().PlaylistWindow, images))
        return true;
    m_prompts.MsgBox(
        ModSkinApply::BrokenSkinMessage(m_skins.CurrentSkinName(), images.FailedFile()));
    return false;
}

void PlayerApp::CreatePlaylistSide() {
    m_playlistWindow = std::make_unique<frmPlaylistWindow>(m_skins, m_prompts, m_state,
                                                           m_playerWindow.get(), m_magnetic.get());
    m_playlistWindow->Load();
    m_owned->Add(m_playlistWindow.get());
    m_store = std::make_unique<PlaylistStore>(*m_playlistWindow->ctlListLeft(),
                                              *m_playlistWindow->ctlList1(), m_state, m_prompts);
    m_adder = std::make_unique<MediaAdder>(*m_store, m_prompts);
    m_adder->SetLinkResolver([this](const QString& link) { return ResolveLinkItem(link); });
    PlayerWindowAccess access;
    access.Bounds = [this] { return m_playerWindow->geometry(); };
    access.Controls = m_playerWindow.get();
    access.CheckGlueing = [this] { m_magnetic->CheckGlueing(); };
    m_playback = std::make_unique<PlaylistPlayback>(
        *m_store, [this]() -> frmPlayer& { return VideoWindow(); }, access);
    m_transport = std::make_unique<PlayerTransport>(*this);
    m_playlistMenus = std::make_unique<PlaylistMenus>(*m_playlistWindow->ctlToolbar(), *m_store,
                                                      *m_adder, [this] { ShowLinkDialog(); });
    const auto report = [this](const QString& text) { m_playback->ShowStatus(text); };
    m_playlistMenus->SetStatusReporter(report);
    m_folderAdder = std::make_unique<FolderAdder>(*m_adder, m_prompts, m_playlistWindow.get());
    m_folderAdder->SetReporter(report);
    m_playlistMenus->SetSearchCommand([this] { ShowLocalSearch(); });
    m_playlistMenus->SetFolderCommand([this] {
        m_folderAdder->ChooseAndAdd([this] {
            m_store->EnsureCurrentSelection();
            return m_state.CurrentListKey;
        });
    });
    m_menus = std::make_unique<MainMenus>(*this, *m_update, m_transport->MainMenu());
    m_labels = std::make_unique<PlayerInfoLabels>(*m_playerWindow, *m_playback);
    m_lyrics = std::make_unique<LyricsPanel>(*this);
    m_owned->Add(&m_lyrics->Window());
    // The playing song is drawn in the skin's highlight colour; item keys are
    // unique across the lists, so another list's rows never light up.
    connect(
        m_playback.get(), &PlaylistPlayback::ItemStarting, this,
        [this](const CMediaInfo& item) { m_playlistWindow->ctlList1()->SetPlayingKey(item.Key); });
    ConnectPlaylistWindow();
}

void PlayerApp::ConnectPlaylistWindow() {
    frmPlaylistWindow* window = m_playlistWindow.get();
    connect(window, &frmPlaylistWindow::playlistChosen, this,
            [this](const QString& key) { m_store->ShowPlaylist(key); });
    connect(window, &frmPlaylistWindow::playlistRenamed, this, [this] { m_store->NoteChanged(); });
    connect(window, &frmPlaylistWindow::songActivated, this, [this](const QString& key) {
        m_playback->StopPlayback();
        m_state.CurrentItemKey = key;
        m_playback->PlayCurrentItem();
    });
    connect(window, &frmPlaylistWindow::deleteRequested, m_playlistMenus.get(),
            &PlaylistMenus::DeleteSelected);
    // Queued: a link in the drop is searched after the drop has ended, so
    // the program the files came from is not kept waiting.
    connect(
        window, &frmPlaylistWindow::itemsDropped, this,
        [this](const QString& listKey, const QStringList& texts) {
            Adding([&] { return m_adder->AddDropped(texts, listKey); });
        },
        Qt::QueuedConnection);
    connect(window, &frmPlaylistWindow::closeRequested, this, [this] {
        if (m_playerWindow->cmdPlaylist()->Selected()) {
            m_playerWindow->cmdPlaylist()->SetSelected(false);
            m_playlistWindow->hide();
        }
    });
}

void PlayerApp::LoadPlaylists() {
    if (!m_store->LoadPlaylists())
        m_store->AddPlaylist(kDefaultListTitle);
    // A crash or a kill loses at most the last moment's change.
    m_store->EnableSaveOnChange(kSaveDelayMs);
    const QString first = QStringLiteral("0");
    m_store->ShowPlaylist(first);
    m_playlistWindow->ctlListLeft()->SelectItem(first);
}

// A link turned into the fields of one new item: its direct address, or
// every address the search service knows for it. The search blocks (input
// dropped, windows repaint) until the service answers, gives up, or the
// wait is cancelled. A search cut short by the program's end is not lost:
// the link is kept for the next start, as a hand-off that failed would be.
PlaylistStore::Record PlayerApp::ResolveLinkItem(const QString& link) {
    const ModLink::LinkOutcome outcome =
        ModLink::ResolveLinkWaiting(link, m_prompts, m_fetches.get());
    if (outcome.Cancelled && m_quit) {
        const bool kept = PendingItems::Keep(UserDataDir(), {link});
        QTextStream(stderr) << (kept ? QStringLiteral("melodeck: search cut short by the exit; "
                                                      "kept for the next start: ")
                                     : QStringLiteral("melodeck: search cut short by the exit; "
                                                      "not kept: "))
                            << DisplayText::ForTerminal(link) << Qt::endl;
    } else if (outcome.Cancelled) {
        m_playback->ShowStatus(QStringLiteral("搜索已取消"));
    }
    if (!outcome.Item)
        return nullptr;
    const ModLink::LinkItem& item = *outcome.Item;
    auto media = std::make_shared<CMediaInfo>();
    media->Path = item.Path;
    media->Title = item.Title;
    media->Types = item.Types;
    media->UrlCol = item.UrlCol;
    return media;
}

void PlayerApp::ShowLinkDialog() {
    if (!m_linkDialog) {
        m_linkDialog = new frmMelodeckLink(m_playlistWindow.get(), m_playerWindow.get());
        // Through Adding: a quit while the link is searched saves once the
        // item is in.
        connect(m_linkDialog, &frmMelodeckLink::LinkComposed, this,
                [this](const QString& link) { Adding([&] { return m_adder->AddLink(link); }); });
    }
    m_linkDialog->exec();
}

void PlayerApp::ShowLocalSearch() {
    frmLocalSearch search(*m_store, m_playlistWindow.get());
    connect(&search, &frmLocalSearch::ItemChosen, this,
            [this](const QString& listKey, const QString& itemKey) {
                // The list is shown and made current, its row selected, and the item plays.
                m_store->ShowPlaylist(listKey);
                m_state.CurrentListKey = listKey;
                m_playlistWindow->ctlListLeft()->SelectItem(listKey);
                m_store->Songs().SelectItem(itemKey);
                emit m_playlistWindow->songActivated(itemKey);
            });
    m_localSearch = &search;
    search.exec();
}

frmPlayer& PlayerApp::VideoWindow() {
    if (!m_video) {
        m_video = std::make_unique<frmPlayer>(m_state, PlaybackPeers{*m_playerWindow, *m_playback,
                                                                     *m_playback, m_magnetic.get(),
                                                                     m_playerWindow.get()});
        m_labels->Watch(*m_video);
        m_owned->Add(m_video.get());
    }
    return *m_video;
}

frmPlayer* PlayerApp::ExistingVideoWindow() const {
    return m_video.get();
}

void PlayerApp::HandOff(const QStringList& items) {
    if (m_starting) {
        m_waitingHandOffs.append(items);
        return;
    }
    if (m_quit)
        return;
    m_playerWindow->showNormal();
    m_playerWindow->raise();
    m_playerWindow->activateWindow();
    for (const QString& item : items)
        if (!m_quit)
            AddText(item);
}

QStringList PlayerApp::AddText(const QString& text) {
    return Adding([&] { return m_adder->AddByKind(text); });
}

QStringList PlayerApp::Adding(const std::function<QStringList()>& add) {
    // A second hand-off can arrive while the first one's link is searched.
    ++m_adding;
    const QStringList added = add();
    --m_adding;
    // A quit came while a link was searched: the lists were saved then, and
    // are saved again now that the item is in.
    if (m_quit && m_adding == 0 && !m_starting) {
        m_store->SavePlaylists();
        EndEventLoop();
    }
    return added;
}

void PlayerApp::EndEventLoop() {
    // Queued: a quit during the start-up command line comes before the
    // event loop runs, where exit() alone would be forgotten.
    QMetaObject::invokeMethod(
        qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

void PlayerApp::QuitApplication() {
    if (m_quit)
        return;
    m_quit = true;
    // A search or check that waits would hold the exit for its time-out.
    m_fetches->CancelAll();
    CloseDialogs();
    if (!m_starting)
        FinishQuit();
}

void PlayerApp::FinishQuit() {
    m_tmrClear.stop();
    if (m_video)
        m_playback->StopPlayback();
    if (m_store)
        m_store->SavePlaylists();
    m_state.IsExiting = true;
    // Hidden, not closed: closing a window destroys its native window and
    // with it the one the engine's video output drew into, which that
    // output, shutting down later, finds gone (the X library then ends the
    // process with status 1). The engine goes first when the window is
    // destroyed with the program.
    if (m_video)
        m_video->hide();
    if (m_playlistWindow)
        m_playlistWindow->close();
    if (m_lyrics)
        m_lyrics->SetShown(false);
    m_playerWindow->close();
    // A link search under way has been aborted, but its wait has yet to
    // return and keep the link; AddText ends the loops once it has.
    if (m_adding == 0)
        EndEventLoop();
}
