#include "app/MainMenus.h"

#include "app/MiniMode.h"
#include "app/PlayerApp.h"
#include "app/UpdateCheck.h"
#include "app/frmPlayerWindow.h"
#include "controls/ctlButton.h"
#include "playlist/PlaylistPlayback.h"
#include "playlist/PlaylistStore.h"
#include "playlist/frmPlaylistWindow.h"
#include "skin/ModTextFile.h"
#include "skin/SkinStore.h"
#include "winsvc/cMagneticWnd.h"

#include <QActionGroup>

namespace {

const QString kDefaultSkin = QStringLiteral("Default");

} // namespace

MainMenus::MainMenus(PlayerApp& app, UpdateCheck& update, QMenu& mainMenu)
    : m_app(app), m_update(update), m_skinMenu(QStringLiteral("选择皮肤")),
      m_linkMenu(QStringLiteral("Melodeck链接操作")), m_modeMenu(QStringLiteral("播放模式")) {
    mainMenu.setTitle(QStringLiteral("主菜单"));
    QAction* updateMe = mainMenu.addAction(QStringLiteral("自动升级"));
    updateMe->setObjectName(QStringLiteral("UpdateMe"));
    connect(updateMe, &QAction::triggered, this, [this] { m_update.StartUpdater(); });
    mainMenu.addMenu(&m_skinMenu)->setObjectName(QStringLiteral("Skin"));
    // Built again each time it opens, so a skin folder added meanwhile shows.
    connect(&m_skinMenu, &QMenu::aboutToShow, this, &MainMenus::FillSkinMenu);
    FillSkinMenu();
    mainMenu.addMenu(&m_modeMenu)->setObjectName(QStringLiteral("PlayMode"));
    FillModeMenu();

    QAction* next = m_linkMenu.addAction(QStringLiteral("选择下一链接"));
    next->setObjectName(QStringLiteral("MelodeckLink_Next"));
    connect(next, &QAction::triggered, this, &MainMenus::NextLink);
    connect(&app.PlaylistWindow(), &frmPlaylistWindow::songContextMenuRequested, this,
            [this](const QPoint& globalPos) { m_linkMenu.popup(globalPos); });
}

QStringList MainMenus::SkinNames(const SkinStore& skins) {
    QStringList names{kDefaultSkin};
    for (const ModTextFile::FolderEntry& folder : skins.SkinFolders()) {
        if (folder.Name != kDefaultSkin)
            names << folder.Name;
    }
    return names;
}

void MainMenus::FillSkinMenu() {
    m_skinMenu.clear();
    for (const QString& name : SkinNames(m_app.Skins())) {
        QAction* item = m_skinMenu.addAction(name);
        item->setObjectName(QStringLiteral("SkinName"));
        item->setData(name);
        item->setCheckable(true);
        item->setChecked(name == m_chosenSkin);
        connect(item, &QAction::triggered, this, [this, name] { ChooseSkin(name); });
    }
}

bool MainMenus::ChooseSkin(const QString& name) {
    const bool applied = ApplySkin(name);
    if (applied)
        m_chosenSkin = name;
    // A triggered item checks itself; only the skin in use stays checked.
    for (QAction* item : m_skinMenu.actions())
        item->setChecked(!m_chosenSkin.isEmpty() && item->data().toString() == m_chosenSkin);
    return applied;
}

bool MainMenus::ApplySkin(const QString& name) {
    const SkinStore previous = m_app.Skins();
    frmPlayerWindow& player = m_app.PlayerWindow();
    frmPlaylistWindow& playlist = m_app.PlaylistWindow();
    // ChangeSkin reports a broken skin and keeps the old one on its own.
    if (!player.ChangeSkin(name))
        return false;
    if (!playlist.ReLoadSkin()) {
        // The playlist window's pictures are missing: both go back.
        m_app.Skins() = previous;
        player.ReLoadSkin();
        return false;
    }
    m_app.State().CurrentSkinName = m_app.Skins().CurrentSkinName();
    DockPlaylistWindow();
    emit SkinApplied();
    return true;
}

void MainMenus::DockPlaylistWindow() {
    // In mini mode the list is docked under the player window's own place
    // and stays put away until mini mode ends.
    const QRect player = m_app.Mini().FullGeometry();
    const SkinRect& designed = m_app.Skins().Skin().PlaylistWindow.Position;
    m_app.PlaylistWindow().setGeometry(player.x(), player.y() + player.height(), player.width(),
                                       designed.Height());
    if (m_app.PlayerWindow().cmdPlaylist()->Selected() && !m_app.Mini().IsActive())
        m_app.PlaylistWindow().show();
    m_app.Magnetic().CheckGlueing();
}

void MainMenus::FillModeMenu() {
    static const std::pair<PlayMode, const char*> kModes[] = {
        {PlayMode::Default, "默认"},        {PlayMode::InOrder, "顺序播放"},
        {PlayMode::RepeatList, "列表循环"}, {PlayMode::RepeatOne, "单曲循环"},
        {PlayMode::Shuffle, "随机播放"},
    };
    PlaylistPlayback& playback = m_app.Playback();
    auto* group = new QActionGroup(&m_modeMenu);
    for (const auto& [mode, name] : kModes) {
        QAction* item = m_modeMenu.addAction(QString::fromUtf8(name));
        item->setObjectName(QStringLiteral("PlayModeItem"));
        item->setData(int(mode));
        item->setCheckable(true);
        item->setChecked(mode == playback.Mode());
        group->addAction(item);
        connect(item, &QAction::triggered, this, [&playback, mode] { playback.SetMode(mode); });
    }
    // MPRIS changes the mode too; the menu shows whichever was last.
    connect(&playback, &PlaylistPlayback::ModeChanged, group, [group](PlayMode mode) {
        for (QAction* item : group->actions())
            item->setChecked(item->data().toInt() == int(mode));
    });
    m_modeMenu.addSeparator();
    QAction* stop = m_modeMenu.addAction(QStringLiteral("播放完当前歌曲后停止"));
    stop->setObjectName(QStringLiteral("StopAfterCurrent"));
    stop->setCheckable(true);
    connect(stop, &QAction::toggled, &playback, &PlaylistPlayback::SetStopAfterCurrent);
    // It clears itself once playback has stopped there.
    connect(&playback, &PlaylistPlayback::StopAfterCurrentChanged, stop, &QAction::setChecked);
}

void MainMenus::NextLink() {
    const PlayerState& state = m_app.State();
    const PlaylistStore::Record item =
        m_app.Store().GetMedia(state.CurrentListKey, state.CurrentItemKey);
    if (!item || item->Source != MediaSource::FromLink || item->UrlCol.size() < 2)
        return;
    const bool loaded = state.CurrentMedia && state.CurrentMedia->Key == item->Key;
    if (loaded)
        m_app.Playback().StopPlayback();
    item->UrlCol.removeFirst();
    item->Path = item->UrlCol.first();
    m_app.Store().NoteChanged();
    if (loaded)
        m_app.Playback().PlayCurrentItem();
}
