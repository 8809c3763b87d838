#pragma once

#include "skin/PlaylistColors.h"
#include "skin/SkinInfo.h"

#include <QString>

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
class SkinStore {
public:
    // `skinsDir` is the folder holding one subfolder per skin.
    explicit SkinStore(QString skinsDir);

    const QString& SkinsDir() const { return m_skinsDir; }
    const QString& CurrentSkinName() const { return m_name; }
    const SkinInfo& Skin() const { return m_skin; }
    const PlaylistColors& Colors() const { return m_colors; }

    // False until a skin has loaded.
    bool HasSkin() const { return m_loaded; }

    // The folder of skin `name`, found without regard to case.
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
    QString m_skinsDir;
    QString m_name;
    SkinInfo m_skin;
    PlaylistColors m_colors;
    bool m_loaded = false;
};
