#pragma once

// The geometry of a vertical scroll bar's track: an arrow of the same height at
// each end and a thumb moving between them. All lengths are pixels from the
// top of the bar.
//
// The value maps linearly onto the track: Min puts the thumb right below the
// up arrow, Max right above the down arrow. An empty range (Max == Min) or a
// track too short for the thumb keeps the thumb below the up arrow and maps
// every thumb position to Min.
struct CScrollTrack {
    int barHeight = 0;
    int arrowHeight = 0;
    int thumbHeight = 0;

    int DownArrowTop() const { return barHeight - arrowHeight; }
    // The highest and lowest thumb tops.
    int TopEnd() const { return arrowHeight; }
    int BottomEnd() const { return DownArrowTop() - thumbHeight; }
    // How far the thumb can travel.
    int Length() const { return BottomEnd() - TopEnd(); }

    int ThumbTopFor(int value, int min, int max) const;
    // The value a thumb top stands for, kept within min..max.
    int ValueAt(int thumbTop, int min, int max) const;
    // A thumb top kept between the two ends.
    int ClampedTop(int thumbTop) const;
};
