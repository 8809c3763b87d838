#pragma once

#include "Theme.h"

#include <QByteArray>
#include <QString>
#include <map>

// Turns a skin design into the files of its skin folder.
namespace skingen::SkinWriter {

// File name -> contents: skin.xml, playlist.xml and every bitmap they name.
// The same design always gives the same bytes.
std::map<QString, QByteArray> Files(const SkinDesign& d);

// Writes Files(d) into `skinsDir`/<folder>/; false (with `error` set) when
// a folder or file cannot be written.
bool Write(const SkinDesign& d, const QString& skinsDir, QString* error);

} // namespace skingen::SkinWriter
