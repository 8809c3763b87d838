#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Where the program finds what ships with it and where it keeps what the user
// makes. Both are decided here and nowhere else.
//
// The program folder is the folder of the executable (a symbolic link to it
// resolved, so an installed bin/melodeck finds lib/melodeck/), or
// $MELODECK_HOME when that is set. It holds the shipped skins (skin/) and the
// updater.
//
// The user data folder holds the playlists (PlayList/) and the user's own
// skins (skin/). A program folder the user may write to (the build tree, a
// portable copy, or $MELODECK_HOME) is also the user data folder, so such a
// copy keeps everything beside itself as it always has. A program folder the
// user may not write to (installed for all users) sends user data to
// $XDG_DATA_HOME/melodeck, by default ~/.local/share/melodeck. Writability is
// the kernel's answer for this user (access(2)), so for root every program
// folder counts as writable.
namespace ProgramFolders {

struct Folders {
    QString Program;
    QString UserData;
};

// What the decision depends on; Current() fills it from the process.
struct Inputs {
    QString MelodeckHome;  // $MELODECK_HOME
    QString ExecutableDir; // the folder of the running executable
    QString XdgDataHome;   // $XDG_DATA_HOME
    QString UserHome;      // the user's home folder
};

// The folders for `in`; `writable` tells whether the user may create files
// in a folder. Results are clean paths without a trailing separator.
Folders Decide(const Inputs& in, const std::function<bool(const QString&)>& writable);

// An XDG base folder: `value` (the variable's) when it is an absolute path,
// else `fallbackUnderHome` under `home`; a relative value is not a usable
// base folder, so the default stands in (the XDG rule).
QString XdgBaseDir(const QString& value, const QString& home, const QString& fallbackUnderHome);

// The folders of this process.
Folders Current();

// Whether this process may create files in `folder` (it must exist).
bool IsWritableFolder(const QString& folder);

} // namespace ProgramFolders

// Shorthands for ProgramFolders::Current().
QString ProgramDir();
QString UserDataDir();

// The folders holding skins, searched in this order: the user's own skins
// first, then the shipped ones (a single folder when both are the same).
QStringList SkinDirs();
