#pragma once

// The rectangle of one skin element, in pixels of the window's background
// image. Right and bottom are exclusive (width = Right - Left).
//
// Skin files limit each value to the 16-bit range (the parser rejects
// anything outside -32768..32767), but the fields are plain ints so that
// arithmetic on them in the appliers (differences, unit conversions) never
// wraps around.
// The largest picture or window a skin may have, in pixels each way: larger
// than any screen, and small enough that a window's picture (32 bits a pixel)
// stays within 64 MiB.
inline constexpr int kMaxSkinSide = 4096;

struct SkinRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }

    friend bool operator==(const SkinRect&, const SkinRect&) = default;
};
