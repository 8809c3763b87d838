#include "PlaylistArt.h"

#include "Canvas.h"
#include "Painting.h"

namespace skingen::PlaylistArt {

QImage Background(const SkinDesign& d, const PlaylistLayout& l) {
    const Palette& p = d.palette;
    const QSize size = l.position.size();
    Canvas c(size.width(), size.height());
    DrawWindowBody(c, d, size, l.title);
    DrawPanel(c, l.listFrame, p, p.listBkgnd, p.listBkgnd);
    c.Fill(l.list, p.listBkgnd);
    // The sizing grip in the corner that keeps its pixels.
    const QRect grip(size.width() - 11, size.height() - 10, 6, 5);
    DrawIcon(c, grip, IconArt(Icon::Grip), p.rimLight, p.rimDark);
    return c.Image();
}

QImage Title(const SkinDesign& d, const PlaylistLayout& l) {
    const Palette& p = d.palette;
    // Take the band's pixels from the background so the picture matches it.
    const QImage back = Background(d, l);
    Canvas c(back.copy(l.titleImage));
    const QStringList word = WordArt("PLAYLIST", 2);
    const QRect box(0, 0, l.titleImage.width(), l.titleImage.height());
    DrawIcon(c, box, word, p.wordmark, Shade(p.titleBottom, -400));
    return c.Image();
}

QImage CloseStrip(const SkinDesign& d, const PlaylistLayout& l) {
    const int w = l.close.rect.width(), h = l.close.rect.height();
    Canvas c(4 * w, h);
    for (int k = 0; k < 4; ++k)
        DrawButton(c, QRect(k * w, 0, w, h), d, l.close.kind, l.close.icon, Look(k));
    return c.Image();
}

QImage Toolbar(const SkinDesign& d, const PlaylistLayout& l, bool hot) {
    const int w = l.toolbar.width() / 7, h = l.toolbar.height();
    Canvas c(l.toolbar.width(), h);
    for (int i = 0; i < 7; ++i)
        DrawButton(c, QRect(i * w, 0, w, h).adjusted(0, 0, -1, 0), d, ButtonKind::Tool,
                   l.tools[size_t(i)], hot ? Look::Hot : Look::Normal);
    return c.Image();
}

QImage ScrollButtons(const SkinDesign& d, const PlaylistLayout& l) {
    const QSize cell = l.scrollCell;
    Canvas c(3 * cell.width(), 2 * cell.height());
    for (int row = 0; row < 2; ++row)
        for (int k = 0; k < 3; ++k)
            DrawButton(c, QRect(QPoint(k * cell.width(), row * cell.height()), cell), d,
                       ButtonKind::Caption, row == 0 ? Icon::ArrowUp : Icon::ArrowDown, Look(k),
                       d.palette.listBkgnd);
    return c.Image();
}

QImage ScrollThumb(const SkinDesign& d, const PlaylistLayout& l) {
    const QSize cell = l.scrollThumb;
    Canvas c(3 * cell.width(), cell.height());
    for (int k = 0; k < 3; ++k)
        DrawButton(c, QRect(QPoint(k * cell.width(), 0), cell), d, ButtonKind::Caption, Icon::Rungs,
                   Look(k), d.palette.listBkgnd);
    return c.Image();
}

QImage ScrollBar(const SkinDesign& d, const PlaylistLayout& l) {
    const Palette& p = d.palette;
    const int w = l.scrollCell.width(), h = 16;
    Canvas c(w, h);
    c.Fill(QRect(0, 0, w, h), p.listBkgnd);
    const QRect groove(w / 2 - 2, 0, 4, h);
    c.Fill(groove, Mix(p.listBkgnd, p.grooveFace, 600));
    c.VLine(groove.left(), 0, h - 1, Mix(p.listBkgnd, p.grooveEdge, 600));
    return c.Image();
}

} // namespace skingen::PlaylistArt
