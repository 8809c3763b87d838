#pragma once

#include <QString>

// Finding skin folders and the files inside them. Skins are made on systems
// whose file names ignore case, so a skin may name "Play.BMP" for the file
// play.bmp, and the program asks for "Playlist.xml" as well as
// "playlist.xml". Paths here use "/" (a "\" in the input counts as one).
namespace SkinPaths {

// `path` with every component that does not exist as spelled replaced by an
// existing entry whose name differs only in case (the first by name when
// there are several). Components that match nothing are kept as given, so
// the result of a truly missing file still names it.
QString Resolve(const QString& path);

// `folder` + "/" + `name`, resolved as above.
QString Join(const QString& folder, const QString& name);

} // namespace SkinPaths
