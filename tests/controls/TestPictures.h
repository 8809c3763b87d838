#pragma once

// Skin pictures drawn in code for the control tests, and a plain pixel-by-pixel
// region builder to check shapes against.

#include <QImage>
#include <QRegion>
#include <QWidget>
#include <QWindow>
#include <QtTest>

namespace TestPictures {

constexpr QRgb kMask = 0xFFFF00FF; // magenta, COLORREF 0xFF00FF

inline QRgb FrameColour(int frame) {
    static const QRgb colours[4] = {qRgb(200, 30, 30), qRgb(30, 200, 30), qRgb(30, 30, 200),
                                    qRgb(120, 120, 120)};
    return colours[frame];
}

// Four frames side by side, each filled with its own colour; the top-left
// pixel of every frame and a short run on row frame+1 are mask colour, so each
// frame has its own outline. Row 0's opaque run ends on the frame's last column.
inline QImage ButtonStrip(int frameWidth, int height) {
    QImage strip(4 * frameWidth, height, QImage::Format_RGB32);
    for (int k = 0; k < 4; ++k) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < frameWidth; ++x) {
                const bool cut = (x == 0 && y == 0) || (y == k + 1 && x >= 2 && x < 5);
                strip.setPixel(k * frameWidth + x, y, cut ? kMask : FrameColour(k));
            }
        }
    }
    return strip;
}

inline QRgb GlyphColour(int glyph) {
    return qRgb(10 + 20 * glyph, 220, 40);
}

// Twelve glyphs; glyph i has its own colour, with mask-colour holes where
// (x + y) % 3 == 0.
inline QImage DigitStrip(int glyphWidth, int height) {
    QImage strip(12 * glyphWidth, height, QImage::Format_RGB32);
    for (int i = 0; i < 12; ++i) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < glyphWidth; ++x) {
                strip.setPixel(i * glyphWidth + x, y, (x + y) % 3 == 0 ? kMask : GlyphColour(i));
            }
        }
    }
    return strip;
}

inline QRegion NaiveRegion(const QImage& picture, QRgb mask, QPoint offset = QPoint()) {
    QRegion region;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if ((picture.pixel(x, y) & 0xFFFFFF) != (mask & 0xFFFFFF)) {
                region += QRect(offset.x() + x, offset.y() + y, 1, 1);
            }
        }
    }
    return region;
}

inline bool SameRegion(const QRegion& a, const QRegion& b) {
    return a.xored(b).isEmpty();
}

inline QRgb PixelOf(QWidget* widget, QPoint at) {
    return widget->grab().toImage().pixel(at) | 0xFF000000;
}

// Mouse input through the window, as the windowing system delivers it: Qt
// finds the widget under the pointer (masks included), sends enter and leave
// events and makes double-clicks.
inline QWindow* WindowOf(QWidget* widget) {
    return widget->window()->windowHandle();
}
inline QPoint InWindow(QWidget* widget, QPoint at) {
    return widget->mapTo(widget->window(), at);
}
inline void Move(QWidget* widget, QPoint at) {
    QTest::mouseMove(WindowOf(widget), InWindow(widget, at));
}
inline void Press(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = {}) {
    QTest::mousePress(WindowOf(widget), button, modifiers, InWindow(widget, at));
}
inline void Release(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseRelease(WindowOf(widget), button, {}, InWindow(widget, at));
}
inline void Click(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(WindowOf(widget), button, {}, InWindow(widget, at));
}
inline void DoubleClick(QWidget* widget, QPoint at) {
    QTest::mouseDClick(WindowOf(widget), Qt::LeftButton, {}, InWindow(widget, at));
}

} // namespace TestPictures
