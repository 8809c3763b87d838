#include "winsvc/SizeFloor.h"

namespace {

// Lengthens the span [low, high) to `least` from the end that did not move
// since [was, wasHigh): the low end when only it moved, else the high end.
void GrowSpan(int& low, int& high, int least, int was, int wasHigh, bool known) {
    if (high - low >= least) {
        return;
    }
    const bool lowMoved = known && low != was && high == wasHigh;
    if (lowMoved) {
        low = high - least;
    } else {
        high = low + least;
    }
}

} // namespace

namespace {

bool Fits(const QRect& rect, QSize minimum) {
    return rect.width() >= minimum.width() && rect.height() >= minimum.height();
}

} // namespace

void SizeFloor::Seen(const QRect& rect, QSize minimum) {
    if (Fits(rect, minimum)) {
        m_lastFitting = rect;
    }
}

std::optional<QRect> SizeFloor::Settled(const QRect& rect, QSize minimum) {
    if (Fits(rect, minimum)) {
        // The answer taken keeps the memory of what it answered: a manager
        // that shrinks the window to the same rectangle again insists.
        if (rect != m_asked) {
            m_answered = QRect();
            m_asked = QRect();
        }
        m_lastFitting = rect;
        return std::nullopt;
    }
    if (rect == m_answered) {
        return std::nullopt;
    }
    const QRect& was = m_lastFitting;
    const bool known = was.isValid();
    int left = rect.x();
    int right = rect.x() + rect.width();
    int top = rect.y();
    int bottom = rect.y() + rect.height();
    GrowSpan(left, right, minimum.width(), was.x(), was.x() + was.width(), known);
    GrowSpan(top, bottom, minimum.height(), was.y(), was.y() + was.height(), known);
    m_answered = rect;
    m_asked = QRect(left, top, right - left, bottom - top);
    return m_asked;
}
