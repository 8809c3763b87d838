#pragma once

#include "playback/CMediaInfo.h"

#include <QString>
#include <QStringList>

// Text functions that decide what a path, address or link is. Positions are
// 1-based where they appear in parameters, as in the link and playlist formats.
namespace modFile {

PathKind GetPathKind(const QString& text);

// Last component of a local path (split at "\" and "/") or of a stream
// address (split at "/"); empty for links.
QString GetFileName(const QString& path);

// The file name without its last "." and what follows; empty for links.
QString GetFileTitle(const QString& path);

// Lower-case text after the last "." of the whole text (the whole text when
// there is no "."); empty for links.
QString GetExtension(const QString& path);

MediaKind GetMediaKind(const QString& path);

// Windows open-dialog filter: description and pattern fields separated by NUL.
QString GetOpenFilter();

// The text between the `occurrence`-th `startMarker` and the next
// `endMarker`, with `findText` replaced by `replaceText` when both are given.
QString ExtractBetween(const QString& text, const QString& startMarker, const QString& endMarker,
                       int occurrence = 1, const QString& findText = QString(),
                       const QString& replaceText = QString());

// The media type table: the three lists used for classification and for
// the open filter alike.
inline constexpr const char* AudioTypes = "wma|wav|mp3";
inline constexpr const char* VideoTypes = "avi|asf|wmv|rmvb|rm|mpg|mpeg|dat";
inline constexpr const char* FlashTypes = "swf";

// Every extension of the three lists, in their order (lower case, no dot).
QStringList MediaExtensions();

} // namespace modFile
