#pragma once

#include <QImage>
#include <QPolygon>
#include <QRect>
#include <QRgb>
#include <QString>
#include <QStringList>
#include <functional>

// Every skin picture is drawn on a Canvas: an opaque 32-bit image whose
// background starts as the mask colour. Nothing here blends a shape with the
// mask: a pixel is either exactly the mask colour or a fully opaque colour,
// so window and button outlines cut cleanly. Shading inside shapes is done
// with per-row colour ramps computed in integers, which keeps the output the
// same on every run and every machine.
namespace skingen {

inline constexpr QRgb kMask = 0xFFFF00FF; // magenta, the skins' transparent colour

// A colour `t` of the way from `a` to `b` (t in 0..1000, rounded to nearest).
QRgb Mix(QRgb a, QRgb b, int t);
// `c` made lighter (positive) or darker (negative) by `amount` thousandths.
QRgb Shade(QRgb c, int amount);

// Which pixels a shape covers; used both to fill and to find outlines.
using Coverage = std::function<bool(int x, int y)>;

// A rounded rectangle of radius `r` (0 gives a plain rectangle). A pixel is
// inside when its centre lies inside the rounded outline.
Coverage RoundRect(const QRect& rect, int r);
// A circle or ellipse filling `rect`.
Coverage Ellipse(const QRect& rect);

class Canvas {
public:
    Canvas(int width, int height);
    explicit Canvas(const QImage& image);

    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    const QImage& Image() const { return m_image; }

    QRgb Pixel(int x, int y) const;
    void Set(int x, int y, QRgb c);
    void Fill(const QRect& rect, QRgb c);
    // Rows of `rect` ramp from `top` to `bottom`.
    void VGradient(const QRect& rect, QRgb top, QRgb bottom);

    // Fills the covered pixels of `bounds`, colouring row y with a vertical
    // ramp from `top` to `bottom` over the bounds' height.
    void FillShape(const QRect& bounds, const Coverage& shape, QRgb top, QRgb bottom);
    // The covered pixels that touch an uncovered one (4-neighbourhood), in
    // colour `c`: a crisp one-pixel outline on the inside of the shape.
    void Outline(const QRect& bounds, const Coverage& shape, QRgb c);
    // The covered pixels whose upper (or lower) neighbour is not covered:
    // a highlight along the top rim or a shade along the bottom rim.
    void TopRim(const QRect& bounds, const Coverage& shape, QRgb c);
    void BottomRim(const QRect& bounds, const Coverage& shape, QRgb c);

    // Horizontal and vertical lines (inclusive ends).
    void HLine(int x0, int x1, int y, QRgb c);
    void VLine(int x, int y0, int y1, QRgb c);
    // A filled polygon, drawn without anti-aliasing.
    void Polygon(const QPolygon& points, QRgb c);

    // Pixel art: every '#' of `rows` is painted at (x + column, y + row) in
    // `c`; other characters leave the pixel alone.
    void Art(int x, int y, const QStringList& rows, QRgb c);

    // Copies `source` (or its `from` part) at (x, y); mask pixels of the
    // source are skipped when `keepMask` is false.
    void Draw(int x, int y, const QImage& source, bool keepMask = true);
    void Draw(int x, int y, const QImage& source, const QRect& from, bool keepMask = true);

private:
    QImage m_image;
};

// Width and height of a piece of pixel art.
QSize ArtSize(const QStringList& rows);

} // namespace skingen
