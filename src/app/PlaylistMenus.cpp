#include "app/PlaylistMenus.h"

#include "controls/ctlList.h"
#include "controls/ctlToolbar.h"
#include "net/ServiceAddresses.h"
#include "playback/PlayerState.h"
#include "playlist/ListCleanup.h"
#include "playlist/MediaAdder.h"
#include "playlist/PlaylistStore.h"

#include <QAction>
#include <QDesktopServices>

PlaylistMenus::PlaylistMenus(ctlToolbar& toolbar, PlaylistStore& store, MediaAdder& adder,
                             std::function<void()> showLinkDialog, UrlOpener openUrl)
    : m_toolbar(toolbar), m_store(store), m_adder(adder),
      m_showLinkDialog(std::move(showLinkDialog)), m_openUrl(std::move(openUrl)) {
    if (!m_openUrl)
        m_openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    Connect("Insert_File", [this] { m_adder.AddFiles(); });
    Connect("Insert_FilePath", [this] {
        if (m_addFolder)
            m_addFolder();
    });
    Connect("Insert_SearchLocal", [this] {
        if (m_search)
            m_search();
    });
    Connect("Insert_SearchOnline", [this] { m_showLinkDialog(); });
    Connect("Insert_Melodeck", [this] { OpenMusicPage(); });
    Connect("Insert_Url", [this] { m_adder.AddUrl(); });
    Connect("Delete_Select", [this] { DeleteSelected(); });
    Connect("Delete_All", [this] { DeleteAll(); });
    Connect("Delete_Dittograph", [this] { DeleteDuplicates(); });
    Connect("Delete_Inaccurate", [this] { DeleteDeadItems(); });
    Connect("List_New", [this] { NewList(); });
    Connect("List_Delete", [this] { DeleteList(); });
    Connect("List_Add", [this] { AddListFile(); });
    Connect("List_Export", [this] { m_adder.ExportList(TargetList()); });
}

void PlaylistMenus::Connect(const char* name, std::function<void()> command) {
    QAction* action = m_toolbar.MenuAction(QLatin1String(name));
    if (!action)
        return;
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, [command = std::move(command)] { command(); });
}

QString PlaylistMenus::NewList() {
    ++m_newListCounter;
    return m_store.AddPlaylist(QStringLiteral("新建列表") + QString::number(m_newListCounter));
}

// Until the user clicks a list none is current, although the first one is
// shown and marked: the commands then act on the list the user sees.
QString PlaylistMenus::TargetList() const {
    const QString& current = m_store.State().CurrentListKey;
    return current.isEmpty() ? m_store.ShownListKey() : current;
}

void PlaylistMenus::DeleteSelected() {
    const QString listKey = TargetList();
    if (listKey.isEmpty())
        return;
    // Keys first: removing rows while walking them would shift the positions.
    const ctlList& songs = m_store.Songs();
    QStringList selected;
    for (int position = 1; position <= songs.Count(); ++position) {
        const std::optional<CListItem> row = songs.ItemData(position);
        if (row && row->iSelected)
            selected << row->iData.toString();
    }
    for (const QString& key : selected)
        m_store.RemoveMediaFromList(listKey, key);
}

void PlaylistMenus::DeleteAll() {
    const QString listKey = TargetList();
    if (!listKey.isEmpty())
        m_store.ClearPlaylist(listKey);
}

void PlaylistMenus::DeleteDuplicates() {
    RemoveAndReport(&ListCleanup::Duplicates, QStringLiteral("重复的文件"));
}

void PlaylistMenus::DeleteDeadItems() {
    RemoveAndReport(&ListCleanup::DeadItems, QStringLiteral("错误的文件"));
}

// Removes from the current list the items `choose` names (never the playing
// one) and says how many went.
void PlaylistMenus::RemoveAndReport(Chooser choose, const QString& what) {
    const QString listKey = TargetList();
    const PlayerState& state = m_store.State();
    const QString playing = state.CurrentMedia ? state.CurrentMedia->Key : QString();
    const QStringList keys = choose(m_store.Items(listKey), playing);
    for (const QString& key : keys)
        m_store.RemoveMediaFromList(listKey, key);
    if (m_report)
        m_report(QStringLiteral("删除了%1个%2").arg(keys.size()).arg(what));
}

void PlaylistMenus::AddListFile() {
    const MediaAdder::ImportedList added = m_adder.AddListFile();
    if (added.ListKey.isEmpty() || !m_report)
        return;
    QString text = QStringLiteral("添加了列表：%1个项目").arg(added.Items);
    if (added.Skipped > 0)
        text += QStringLiteral("，%1个无法读取").arg(added.Skipped);
    m_report(text);
}

void PlaylistMenus::DeleteList() {
    m_store.DeletePlaylist(TargetList());
}

void PlaylistMenus::OpenMusicPage() {
    m_openUrl(QUrl(ServiceAddresses::MusicPageUrl()));
}
