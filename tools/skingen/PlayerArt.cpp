#include "PlayerArt.h"

#include "Canvas.h"
#include "Painting.h"

namespace skingen::PlayerArt {

namespace {

// An idle analyser: a faint dot grid over a row of floor marks.
void drawVisual(Canvas& c, const QRect& r, const Palette& p) {
    const QRgb faint = Mix(p.panelBottom, p.decor, 450);
    for (int y = r.top(); y < r.bottom() - 1; y += 3)
        for (int x = r.left(); x <= r.right(); x += 3)
            c.Set(x, y, faint);
    for (int x = r.left(); x + 1 <= r.right(); x += 3)
        c.HLine(x, x + 1, r.bottom(), p.decor);
}

// A thin groove under the label row, separating title and details.
void drawDisplayRule(Canvas& c, const PlayerLayout& l, const Palette& p) {
    const int y = (l.info.bottom() + l.stereo.top()) / 2 + 1;
    c.HLine(l.info.left(), l.info.right(), y, Mix(p.panelBottom, p.decor, 500));
}

void drawWordmark(Canvas& c, const QRect& title, const Palette& p) {
    const int y = title.top() + (title.height() - 5) / 2;
    c.Fill(QRect(title.left() + 6, y + 1, 3, 3), p.ledOn);
    c.Art(title.left() + 12, y + 1, WordArt("MELODECK", 2), Shade(p.titleBottom, -400));
    c.Art(title.left() + 12, y, WordArt("MELODECK", 2), p.wordmark);
}

} // namespace

QImage Background(const SkinDesign& d, const PlayerLayout& l) {
    const Palette& p = d.palette;
    Canvas c(l.size.width(), l.size.height());
    DrawWindowBody(c, d, l.size, l.title);
    drawWordmark(c, l.title, p);
    DrawPanel(c, l.panel, p, p.panelTop, p.panelBottom);
    drawVisual(c, l.visual, p);
    drawDisplayRule(c, l, p);
    // A shallow recess behind the transport row ties the keys together.
    QRect keys;
    for (const ButtonSpec& b : l.buttons)
        if (b.kind == ButtonKind::Transport)
            keys = keys.isNull() ? b.rect : keys.united(b.rect);
    const QRect well = keys.adjusted(-3, -3, 3, 3);
    c.FillShape(well, RoundRect(well, d.style.buttonRadius + 2), Shade(p.bodyBottom, -120),
                Shade(p.bodyBottom, -60));
    c.BottomRim(well, RoundRect(well, d.style.buttonRadius + 2), p.rimLight);
    return c.Image();
}

QImage ButtonStrip(const SkinDesign& d, const ButtonSpec& b) {
    const int w = b.rect.width(), h = b.rect.height();
    Canvas c(4 * w, h);
    for (int k = 0; k < 4; ++k)
        DrawButton(c, QRect(k * w, 0, w, h), d, b.kind, b.icon, Look(k));
    return c.Image();
}

QImage LedStrip(const SkinDesign& d) {
    const Style& s = d.style;
    Canvas c(12 * s.ledWidth, s.ledHeight);
    for (int i = 0; i < 12; ++i)
        DrawDigit(c, QRect(i * s.ledWidth, 0, s.ledWidth, s.ledHeight), i, s.ledStroke,
                  d.palette.ledOn, d.palette.ledGhost);
    return c.Image();
}

QImage SliderBar(const SkinDesign& d, const SliderSpec& s) {
    const Palette& p = d.palette;
    const int w = s.rect.width(), h = s.thumb.height();
    Canvas c(w, h);
    const QRect groove(0, (h - s.groove) / 2, w, s.groove);
    const Coverage shape = RoundRect(groove, s.groove / 2);
    c.FillShape(groove, shape, Shade(p.grooveFace, -250), p.grooveFace);
    c.Outline(groove, shape, p.grooveEdge);
    c.BottomRim(groove, shape, p.rimLight);
    return c.Image();
}

QImage SliderFill(const SkinDesign& d, const SliderSpec& s) {
    const Palette& p = d.palette;
    const int fh = s.groove - 2;
    Canvas c(s.rect.width(), fh);
    const QRect all(0, 0, s.rect.width(), fh);
    c.FillShape(all, RoundRect(all, fh / 2), p.fillTop, p.fillBottom);
    return c.Image();
}

QImage SliderThumb(const SkinDesign& d, const SliderSpec& s) {
    const int w = s.thumb.width(), h = s.thumb.height();
    Canvas c(4 * w, h);
    for (int k = 0; k < 4; ++k) {
        const QRect r(k * w, 0, w, h);
        DrawButton(c, r, d, ButtonKind::Tool, w >= 20 ? Icon::Knurl : Icon::KnurlSmall, Look(k));
    }
    return c.Image();
}

} // namespace skingen::PlayerArt
