#include "controls/CScrollTrack.h"

#include <algorithm>
#include <cmath>

namespace {
int Round(double value) {
    return int(std::nearbyint(value));
}
} // namespace

int CScrollTrack::ThumbTopFor(int value, int min, int max) const {
    const int range = max - min;
    const int length = Length();
    if (range == 0 || length <= 0) {
        return TopEnd();
    }
    const int low = std::min(min, max);
    const int high = std::max(min, max);
    const double share = double(std::clamp(value, low, high) - min) / range;
    return TopEnd() + Round(share * length);
}

int CScrollTrack::ValueAt(int thumbTop, int min, int max) const {
    const int length = Length();
    if (max == min || length <= 0) {
        return min;
    }
    const double share = double(ClampedTop(thumbTop) - TopEnd()) / length;
    const int value = min + Round(share * (double(max) - min));
    return std::clamp(value, std::min(min, max), std::max(min, max));
}

int CScrollTrack::ClampedTop(int thumbTop) const {
    return std::max(TopEnd(), std::min(thumbTop, BottomEnd()));
}
