#pragma once

#include <QtGlobal>

// The list colours of a skin, read from its "playlist.xml". COLORREF values
// (0x00BBGGRR); 0 where the file, element or attribute is missing.
struct PlaylistColors {
    quint32 ColorText = 0;
    quint32 ColorHilight = 0;
    quint32 ColorBkgnd = 0;
    quint32 ColorBkgnd2 = 0;
    quint32 ColorNumber = 0;
    quint32 ColorDuration = 0;
    quint32 ColorSelect = 0;

    friend bool operator==(const PlaylistColors&, const PlaylistColors&) = default;
};
