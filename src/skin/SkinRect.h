#pragma once

// The rectangle of one skin element, in pixels of the window's background
// image. Right and bottom are exclusive (width = Right - Left).
//
// Skin files limit each value to the 16-bit range (the parser rejects
// anything outside -32768..32767), but the fields are plain ints so that
// arithmetic on them in the appliers (differences, unit conversions) never
// wraps around.
struct SkinRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }

    friend bool operator==(const SkinRect&, const SkinRect&) = default;
};
