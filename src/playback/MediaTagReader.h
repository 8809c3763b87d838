#pragma once

#include "playback/EngineMedia.h"

#include <QString>

// Reads the title and length of a local media file without playing it.
// Tag text stored in the legacy 8-bit form (ID3v1, Latin-1 ID3v2 frames,
// RIFF INFO) is decoded as GBK when it is not plain ASCII, the way Chinese
// systems have always shown such tags. Streams, links, unreadable files and
// anything that is not a regular file (FIFO, device, folder) give empty item
// information; the format is recognised from the content, and tag text is cut
// to a length fit for showing.
namespace MediaTagReader {

EngineMedia Read(const QString& url);

} // namespace MediaTagReader
