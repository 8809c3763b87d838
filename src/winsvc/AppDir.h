#pragma once

#include <QString>

// The program directory: where the executable lives, or $MELODECK_HOME when
// that is set. Skins are in AppDir()/skin/<name>/, playlists in
// AppDir()/PlayList/. The result never ends with a separator.
QString AppDir();
