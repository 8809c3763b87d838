#pragma once

#include <QByteArray>

// Small files in the containers the tag reader cannot measure, written by
// hand with a known length, for tests and benchmarks of the demuxer reader.
// Their streams carry the silent MPEG audio of TestMedia (real, decodable
// frames), so the demuxers find complete stream parameters.
namespace VideoContainers {

// MPEG-1 program stream (.mpg): one pack and one audio PES packet per frame,
// timed by presentation stamps; the length is known only from the first and
// last stamps, as with a real .mpg.
QByteArray MpegProgramStream(double seconds);

// Flash video (.flv): onMetaData with the duration, then one audio tag per
// frame with its timestamp.
QByteArray Flv(double seconds);

// ASF (.wmv/.asf): header objects declaring the play duration and one audio
// stream, and an empty data object.
QByteArray Asf(double seconds);

} // namespace VideoContainers
