#include "playback/MediaEngine.h"

#include "playback/MediaTagReader.h"

EngineMedia MediaEngine::newMedia(const QString& url) const {
    return MediaTagReader::Read(url);
}
