#pragma once

#include "skin/SkinRect.h"

#include <QHash>
#include <QImage>
#include <QString>

// The pictures of one skin folder, loaded on first use and kept, so that an
// applier can load everything a window needs before it changes any control.
//
// Image names are relative to the folder and found without regard to case
// (a "\" in a name counts as "/"). Pictures are kept as opaque 32-bit images:
// skins mark their transparent parts with a mask colour, not with alpha.
//
// A skin comes from anyone, so a picture loads only when its file lies inside
// the folder (links and ".." resolved), is a regular file within Qt's image
// allocation limit, and measures at most kMaxSkinSide pixels each way (the
// player window takes its background's size).
class SkinImages {
public:
    explicit SkinImages(QString folder);

    const QString& Folder() const { return m_folder; }

    // The full path of the file an image name refers to.
    QString PathOf(const QString& name) const;

    // Loads `name` unless it is already loaded. The empty name means "no
    // picture" and always succeeds. On failure (including every refusal
    // above) the path of the file is remembered as FailedFile() and false is
    // returned.
    bool Load(const QString& name);

    // The picture `name` refers to (loaded now if need be); a null image for
    // the empty name or a file that cannot be loaded.
    QImage Image(const QString& name);

    // The path of the last file that could not be loaded; empty if none.
    const QString& FailedFile() const { return m_failedFile; }

private:
    QString m_folder;
    QHash<QString, QImage> m_loaded;
    QString m_failedFile;
};
