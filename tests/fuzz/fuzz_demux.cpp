// A video file from arbitrary bytes through the Flash header reader and the
// demuxer length reader, as the list's background readers measure what the
// tag reader cannot. Input: one
// byte choosing the file's extension (a hint FFmpeg's probing weighs), then
// the file.

#include "FuzzSupport.h"

#include "playback/DemuxerLengthReader.h"
#include "playback/SwfLength.h"

#include <array>
#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return -1;
    FuzzSupport::EnsureApp();
    static const std::array<const char*, 8> names = {"a.avi",  "a.mpg", "a.wmv", "a.flv",
                                                     "a.rmvb", "a.swf", "a.mkv", "a.dat"};
    const QString path = FuzzSupport::WriteScratchFile(
        QString::fromLatin1(names[data[0] % names.size()]), data + 1, size - 1);
    // One reader for the run, as the program keeps one for its lists.
    static const DemuxerLengthReader reader;
    // Unknown is 0; anything else is a plausible length.
    for (const double seconds : {SwfLength::Read(path), reader.Read(path)})
        if (!std::isfinite(seconds) || seconds < 0 || seconds > 1e6)
            std::abort();
    return 0;
}
