#pragma once

#include <QString>

// The status text shown for an engine play state (the video window caption
// shows it after the title). `bufferPercent` is used while buffering.
QString EngineStatusText(int playState, int bufferPercent = 0);

// The status text after an item failed to open or decode.
QString EngineErrorStatusText();
