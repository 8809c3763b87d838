#pragma once

#include <QString>

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
bool RegisterDesktopHandler(const QString& programPath, const QString& dataHome,
                            const QString& configHome);

// The text of the desktop entry for `programPath` (an absolute path); empty
// when the path cannot be written into one (a line break in it).
QString DesktopEntryText(const QString& programPath);

// `mimeapps` with the default handler for melodeck links set to the
// program's entry: an existing line for the scheme is replaced, otherwise
// one is added to the group (which is added when missing).
QString WithDefaultHandler(const QString& mimeapps);

// The four protocol values under HKEY_CURRENT_USER\Software\Classes\Melodeck
// (merged into HKEY_CLASSES_ROOT, and writable without administrator rights).
// `programPath` is the executable in native form. True when all were written.
bool RegisterWindowsProtocol(Registry& registry, const QString& programPath);

// Registers this program the platform's way: $XDG_DATA_HOME (default
// ~/.local/share) and $XDG_CONFIG_HOME (default ~/.config) on Linux, the
// user's part of the registry on Windows.
bool RegisterUrlProtocol();

} // namespace UrlRegistration
