#pragma once

#include <QByteArray>
#include <QString>

// The length of a Flash movie (.swf) from its header: its frame count at its
// frame rate, which is how long a player shows it. FFmpeg's swf demuxer gives
// none: it knows only the audio and video streams a movie may embed, not the
// header's frame count, and most movies embed none.
//
// Movies are read as stored ("FWS") or zlib-compressed ("CWS"); an
// LZMA-compressed one ("ZWS") keeps an unknown length.
namespace SwfLength {

// How much of a file is read: the header, compressed or not, fits.
constexpr qint64 kHeadBytes = 256;

// The length in seconds declared by `head`, a file's first bytes; 0 when they
// are no SWF header, are cut off within it, or declare no frames, no frame
// rate or an implausible length.
double FromHead(const QByteArray& head);

// The same for the local regular file `path` (only its first kHeadBytes are
// read); 0 when it cannot be read.
double Read(const QString& path);

} // namespace SwfLength
