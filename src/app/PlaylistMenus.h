#pragma once

#include "playlist/ListCleanup.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>

class MediaAdder;
class PlaylistStore;
class ctlToolbar;

// The commands behind the playlist toolbar's Insert, Delete and List menus.
// The toolbar owns the menus and creates every item greyed; this object
// enables the items and connects them.
class PlaylistMenus : public QObject {
    Q_OBJECT
public:
    // Opens a web page in the user's browser; true when one was started.
    using UrlOpener = std::function<bool(const QUrl&)>;

    // `showLinkDialog` shows the link dialog modally. `openUrl` defaults to
    // the desktop's browser.
    PlaylistMenus(ctlToolbar& toolbar, PlaylistStore& store, MediaAdder& adder,
                  std::function<void()> showLinkDialog, UrlOpener openUrl = {});

    // Numbers the lists made with "新建列表"; starts at 0 every run and is
    // never lowered, so titles stay unique while lists are deleted.
    int NewListCounter() const { return m_newListCounter; }
    void SetUrlOpener(UrlOpener openUrl) { m_openUrl = std::move(openUrl); }

    // Appends the empty list "新建列表<n>"; returns its key.
    QString NewList();
    // Removes every selected row of the shown list from that list.
    void DeleteSelected();
    // Empties the current list (the shown one while none is current).
    void DeleteAll();
    void DeleteList();
    // "添加列表(&A)": a list file of another player as a new list.
    void AddListFile();
    // Remove from the current list the items whose path repeats an earlier
    // one's, or whose file is gone or failed to play, never the playing
    // item; the status area says how many went.
    void DeleteDuplicates();
    void DeleteDeadItems();
    // "本地搜索(&S)...": what shows the search across the lists.
    void SetSearchCommand(std::function<void()> search) { m_search = std::move(search); }
    // "文件夹(&P)...": what adds a folder.
    void SetFolderCommand(std::function<void()> addFolder) { m_addFolder = std::move(addFolder); }
    // Where the commands report (the player window's status area).
    void SetStatusReporter(std::function<void(const QString&)> report) {
        m_report = std::move(report);
    }
    // The product's music page in the browser.
    void OpenMusicPage();

private:
    void Connect(const char* name, std::function<void()> command);
    QString TargetList() const;
    using Chooser = QStringList (*)(const ListCleanup::Records&, const QString&);
    void RemoveAndReport(Chooser choose, const QString& what);

    ctlToolbar& m_toolbar;
    PlaylistStore& m_store;
    MediaAdder& m_adder;
    std::function<void()> m_showLinkDialog;
    UrlOpener m_openUrl;
    std::function<void(const QString&)> m_report;
    std::function<void()> m_addFolder;
    std::function<void()> m_search;
    int m_newListCounter = 0;
};
