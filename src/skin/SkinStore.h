#pragma once

#include "skin/ModTextFile.h"
#include "skin/PlaylistColors.h"
#include "skin/SkinInfo.h"

#include <QList>
#include <QString>
#include <QStringList>

class Prompts;

// The one owner of the program's current skin: the skin folder's name, its
// description (SkinInfo) and its list colours (PlaylistColors). The windows
// read these through a reference to the store instead of globals.
//
// Loading runs in stages: the loaders of ModSkinFile read plain records, the
// store takes them over only when the description loaded, and the window
// appliers put the records onto the controls afterwards. A skin that fails to
// load therefore leaves the name, the description and the colours exactly as
// they were.
//
// Skins may come from several folders (the user's own, then the shipped
// ones). A skin is one folder, taken whole from the first of them that holds
// a folder of its name (in any case): a user's skin named like a shipped one
// replaces it, pictures and all, and nothing is mixed between the two.
class SkinStore {
public:
    // `skinsDir` is the folder holding one subfolder per skin.
    explicit SkinStore(QString skinsDir);
    // Several such folders, searched in this order.
    explicit SkinStore(QStringList skinsDirs);

    const QStringList& SkinsDirs() const { return m_skinsDirs; }

    // Every skin folder, in natural order of names. A folder whose name
    // matches one of an earlier skins folder (ignoring case) is hidden by it.
    QList<ModTextFile::FolderEntry> SkinFolders() const;
    const QString& CurrentSkinName() const { return m_name; }
    const SkinInfo& Skin() const { return m_skin; }
    const PlaylistColors& Colors() const { return m_colors; }

    // False until a skin has loaded.
    bool HasSkin() const { return m_loaded; }

    // The folder of skin `name`, found without regard to case in the first
    // skins folder that has it; for a missing skin, where the last skins
    // folder (the shipped skins) would hold it.
    QString FolderOf(const QString& name) const;

    // The colour file for skin `name`: its own "playlist.xml" (any case), or
    // that of the skin "default" when it has none.
    QString PlaylistColorsFile(const QString& name) const;

    // Loads the skin folder `name`: its "skin.xml", then its list colours (as
    // PlaylistColorsFile finds them). On success the store holds the new
    // skin; on failure nothing changes and `error`, when given, receives a
    // text for the user.
    bool LoadSkin(const QString& name, Prompts& prompts, QString* error = nullptr);

    // Replaces the list colours (the playlist window re-reads them whenever
    // it lays itself out).
    void SetColors(const PlaylistColors& colors) { m_colors = colors; }

private:
    QStringList m_skinsDirs;
    QString m_name;
    SkinInfo m_skin;
    PlaylistColors m_colors;
    bool m_loaded = false;
};
