#pragma once

#include <QByteArray>

// Small audio files in the containers other than MPEG that carry lyrics in
// their tags, written by hand so tests can give them real tags through TagLib.
namespace AudioContainers {

// FLAC: STREAMINFO (44.1 kHz, mono, 16 bits) and about `seconds` of silence,
// 4096-sample frames of one constant subframe each, with their CRCs.
QByteArray SilentFlac(double seconds);

// MP4 (.m4a): file type, a movie header of `seconds` and an empty media
// data box, with no track; what TagLib needs to read and write its tags.
QByteArray EmptyM4a(double seconds);

} // namespace AudioContainers
