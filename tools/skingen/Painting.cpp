#include "Painting.h"

#include <algorithm>
#include <cstdlib>

namespace skingen {

void DrawWindowBody(Canvas& c, const SkinDesign& d, QSize size, const QRect& title) {
    const Palette& p = d.palette;
    const int r = d.style.windowRadius;
    const QRect all(QPoint(0, 0), size);
    const Coverage body = RoundRect(all, r);
    c.FillShape(all, body, p.bodyTop, p.bodyBottom);
    const Coverage inner = RoundRect(all.adjusted(1, 1, -1, -1), std::max(0, r - 1));
    c.TopRim(all, inner, p.rimLight);
    c.BottomRim(all, inner, p.rimDark);
    c.Outline(all, body, p.edge);

    const Coverage band = RoundRect(title, std::max(0, r - 2));
    c.FillShape(title, band, p.titleTop, p.titleBottom);
    c.TopRim(title, band, Shade(p.titleTop, 180));
    c.BottomRim(title, band, Shade(p.titleBottom, -350));
}

void DrawPanel(Canvas& c, const QRect& r, const Palette& p, QRgb top, QRgb bottom) {
    const Coverage outer = RoundRect(r, 2);
    c.FillShape(r, outer, p.panelShadow, p.panelShadow);
    // The light lower-right edge: the outer shape moved up-left by one
    // pixel leaves it uncovered.
    const Coverage shifted = RoundRect(r.adjusted(-1, -1, -1, -1), 2);
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (outer(x, y) && !shifted(x, y))
                c.Set(x, y, p.panelLight);
    const QRect face = r.adjusted(1, 1, -1, -1);
    c.FillShape(face, RoundRect(face, 1), top, bottom);
}

void DrawIcon(Canvas& c, const QRect& r, const QStringList& art, QRgb colour, QRgb shadow) {
    const QSize s = ArtSize(art);
    const int x = r.left() + (r.width() - s.width()) / 2;
    const int y = r.top() + (r.height() - s.height()) / 2;
    if (shadow != kMask)
        c.Art(x, y + 1, art, shadow);
    c.Art(x, y, art, colour);
}

namespace {

struct Face {
    QRgb top, bottom, icon;
};

Face faceOf(const Palette& p, Look look) {
    switch (look) {
    case Look::Hot:
        return {p.hotTop, p.hotBottom, p.iconHot};
    case Look::Pressed:
        return {p.downTop, p.downBottom, p.iconDown};
    case Look::Disabled:
        return {p.offFace, p.offFace, p.iconOff};
    case Look::Normal:
        break;
    }
    return {p.btnTop, p.btnBottom, p.icon};
}

} // namespace

void DrawButton(Canvas& c, const QRect& r, const SkinDesign& d, ButtonKind kind, Icon icon,
                Look look, QRgb opaqueGround) {
    const Palette& p = d.palette;
    const bool disc = kind == ButtonKind::Transport && d.style.roundTransport;
    const int radius = kind == ButtonKind::Caption ? 2 : d.style.buttonRadius;
    const Coverage shape = disc ? Ellipse(r) : RoundRect(r, radius);
    const QRect in = r.adjusted(1, 1, -1, -1);
    const Coverage inner = disc ? Ellipse(in) : RoundRect(in, std::max(0, radius - 1));
    if (opaqueGround != kMask)
        c.Fill(r, opaqueGround);

    const Face f = faceOf(p, look);
    c.FillShape(r, shape, f.top, f.bottom);
    if (look == Look::Pressed) {
        c.TopRim(r, inner, Shade(f.top, -300));
    } else if (look != Look::Disabled) {
        c.TopRim(r, inner, Shade(f.top, 400));
        c.BottomRim(r, inner, Shade(f.bottom, -180));
    }
    c.Outline(r, shape, look == Look::Disabled ? Shade(p.btnEdge, 250) : p.btnEdge);

    const QRect iconBox = look == Look::Pressed ? r.translated(0, 1) : r;
    const QRgb shadow = look == Look::Disabled ? kMask : p.iconShadow;
    DrawIcon(c, iconBox, IconArt(icon), f.icon, shadow);
}

namespace {

// Which of the segments a..g (bits 0..6) each glyph lights.
constexpr int kSegments[12] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F, 0, 0x40};

// The segment (0..6 for a..g) that covers pixel (x, y) of a digit box,
// or -1. Segments meet in mitred corners with a one-pixel gap.
int segmentAt(int x, int y, const QRect& box, int t) {
    const int L = box.left(), R = box.right(), T = box.top(), B = box.bottom();
    const int gy = T + (box.height() - t) / 2, h = (t - 1) / 2;
    auto inRow = [&](int k, int e) { return k >= 0 && k < t && x >= L + 1 + e && x <= R - 1 - e; };
    if (inRow(y - T, y - T))
        return 0;
    if (inRow(B - y, B - y))
        return 3;
    const int k = y - gy;
    if (k >= 0 && k < t) {
        const int e =
            1 + (t % 2 ? std::abs(k - h) : std::min(std::abs(k - h), std::abs(k - h - 1)));
        if (inRow(k, e))
            return 6;
    }
    const int left = x - L, right = R - x;
    const bool upper = y <= gy + h;
    for (const auto& [col, upperSeg, lowerSeg] :
         {std::tuple{left, 5, 4}, std::tuple{right, 1, 2}}) {
        if (col < 0 || col >= t)
            continue;
        if (upper && y >= T + 1 + col && y <= gy - 1 - col + h)
            return upperSeg;
        if (!upper && y >= gy + t - h + col && y <= B - 1 - col)
            return lowerSeg;
    }
    return -1;
}

void drawColon(Canvas& c, const QRect& box, int t, QRgb on) {
    const int dot = std::max(2, t);
    const int x = box.left() + (box.width() - dot) / 2;
    const int gy = box.top() + (box.height() - t) / 2;
    const int y1 = (box.top() + gy) / 2 + 1 - dot / 2;
    const int y2 = (gy + t + box.bottom()) / 2 - dot / 2;
    c.Fill(QRect(x, y1, dot, dot), on);
    c.Fill(QRect(x, y2, dot, dot), on);
}

} // namespace

void DrawDigit(Canvas& c, const QRect& r, int index, int stroke, QRgb on, QRgb ghost) {
    const QRect box = r.adjusted(1, 1, -1, -1);
    if (index == 10) {
        drawColon(c, box, stroke, on);
        return;
    }
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const int s = segmentAt(x, y, box, stroke);
            if (s < 0)
                continue;
            if (kSegments[index] & (1 << s))
                c.Set(x, y, on);
            else if (ghost != kMask)
                c.Set(x, y, ghost);
        }
}

} // namespace skingen
