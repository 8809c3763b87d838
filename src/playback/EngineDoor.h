#pragma once

#include <QString>
#include <optional>

// The one way an item text reaches the media engine.
//
// libmpv reads many texts as instructions rather than names: `av://lavfi:…`
// runs filter graphs that write files, `edl://`, `memory://`, `fd://`,
// `mf://`, `cdda://` and others open whatever they describe. An item comes
// from a command line, a playlist file or a link offered by a web page, so
// the engine is handed only:
//   - a local file as an absolute, normalised path (a relative path is made
//     absolute against the working folder, `\` separators become `/`, a
//     `file://` URL for this machine becomes its path), which libmpv can
//     only read as a file name;
//   - a network address whose scheme is http, https, mms, mmsh, rtsp or rtmp
//     (any case), followed by "://" and a host, passed on unchanged.
// Everything else is refused, whatever the item's classification says:
//   - any other scheme (two or more letters before a ":"; a single letter is
//     a drive name and counts as a path);
//   - empty text, text longer than kMaxItemLength characters, text holding
//     NUL or another control character (C0 or DEL), or broken UTF-16 — no
//     real path or address has them, and each could be read differently by
//     the layers below.
namespace EngineDoor {

// Longer texts are refused: far above any real path (4096 bytes on Linux)
// or stream address, small enough to keep every layer quick.
constexpr qsizetype kMaxItemLength = 16 * 1024;

// The text libmpv is to be given for `item`, or nothing when the item must
// not reach the engine.
std::optional<QString> AdmitItem(const QString& item);

// The path of a "file:" URL of this machine (no host, or "localhost"),
// percent-decoded as UTF-8 and normalised; nothing for any other text, a
// file URL of another host, or one with a query or fragment.
std::optional<QString> LocalPathOfFileUrl(const QString& text);

// Whether `text` holds NUL or another control character (C0 or DEL), or is
// broken UTF-16: what no real path or address holds.
bool HasUnsafeCharacters(const QString& text);

// Whether a text returned by AdmitItem names a local file (as opposed to a
// network address).
bool IsLocalFile(const QString& admitted);

} // namespace EngineDoor
