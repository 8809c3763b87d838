#pragma once

#include "playback/CMediaInfo.h"

#include <QString>
#include <memory>

// The player's program-wide state, kept in one object that the application
// owns and hands to the windows that read or change it.
struct PlayerState {
    // The record now loaded into the engine; empty before the first item.
    // Shared with the playlist that owns it, so removing the item from its
    // list while it plays never leaves a dangling reference.
    std::shared_ptr<CMediaInfo> CurrentMedia;
    // Set when the engine reports playing; cleared by the transport buttons.
    bool PlaybackStarted = false;
    // False until the program shuts down; until then the video window only
    // hides when asked to close.
    bool IsExiting = false;
    // The volume (0..100) the user has chosen, kept here so that the player
    // window's slider shows it from the start and the engine, made only when
    // something is first played, starts at it.
    static constexpr int kStartVolume = 50;
    int Volume = kStartVolume;
    QString CurrentSkinName;
    // Keys of the selected playlist and of the selected (or playing) item of
    // it; empty until something is chosen. Keys come from the playlist store.
    QString CurrentListKey;
    QString CurrentItemKey;
};
