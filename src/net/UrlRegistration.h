#pragma once

#include <QString>
#include <QStringList>

class Registry;

// Makes the desktop hand "melodeck://" links to this program. Rewritten at
// every start of a first instance, so a moved program repairs its entry.
// Failures are silent for the program; the results are there for tests.
namespace UrlRegistration {

// The desktop entry and the default-handler line (freedesktop.org): the
// entry "melodeck.desktop" in `dataHome`/applications and
// "x-scheme-handler/melodeck=melodeck.desktop" in the
// "[Default Applications]" group of `configHome`/mimeapps.list, every other
// line of that file kept. Both files are replaced atomically.
//
// The user's entry would hide an entry of the same name in the system's data
// folders `systemDataDirs` (in their order of precedence): when the one the
// desktop finds there already starts this program and takes the links (the
// program is installed), no user entry is written, and one this program wrote
// earlier is removed, so the installed entry's menu item and file types show.
bool RegisterDesktopHandler(const QString& programPath, const QString& dataHome,
                            const QString& configHome, const QStringList& systemDataDirs = {});

// Whether the desktop entry `entryText` takes melodeck links and its Exec
// starts `programPath` (a bare program name is looked up on PATH; links
// are followed on both sides).
bool EntryServesProgram(const QString& entryText, const QString& programPath);

// The text of the desktop entry for `programPath` (an absolute path); empty
// when the path cannot be written into one (a line break in it).
QString DesktopEntryText(const QString& programPath);

// `mimeapps` with the default handler for melodeck links set to the
// program's entry: an existing line for the scheme is replaced, otherwise
// one is added to the group (which is added when missing). Every other
// byte is kept as it was.
QByteArray WithDefaultHandler(const QByteArray& mimeapps);

// The four protocol values under HKEY_CURRENT_USER\Software\Classes\Melodeck
// (merged into HKEY_CLASSES_ROOT, and writable without administrator rights).
// `programPath` is the executable in native form. True when all were written.
bool RegisterWindowsProtocol(Registry& registry, const QString& programPath);

// Registers this program the platform's way: $XDG_DATA_HOME (default
// ~/.local/share) and $XDG_CONFIG_HOME (default ~/.config) on Linux, seen
// against $XDG_DATA_DIRS (default /usr/local/share:/usr/share); the user's
// part of the registry on Windows.
bool RegisterUrlProtocol();

} // namespace UrlRegistration
