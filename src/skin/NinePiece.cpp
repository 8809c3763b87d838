#include "skin/NinePiece.h"

#include "controls/ModColor.h"

#include <QPainter>

namespace NinePiece {

QImage Compose(const QImage& source, QSize designed, const SkinRect& r, QSize size,
               quint32 maskColor) {
    QImage out(size, QImage::Format_RGB32);
    if (out.isNull()) {
        return out;
    }
    out.fill(ModColor::ToQRgb(maskColor));
    if (source.isNull()) {
        return out;
    }
    // The right and bottom strips are as wide and high as the designed
    // window leaves after the resize rectangle (measured from the designed
    // size itself, not from the window's position on screen).
    const int wr = designed.width() - r.Right;
    const int hb = designed.height() - r.Bottom;
    const int x1 = r.Left;
    const int x2 = size.width() - wr;
    const int y1 = r.Top;
    const int y2 = y1 + (size.height() - source.height()) + r.Height();
    const int dx[] = {0, x1, x2};
    const int dw[] = {x1, x2 - x1, wr};
    const int dy[] = {0, y1, y2};
    const int dh[] = {y1, y2 - y1, hb};
    const int sx[] = {0, r.Left, r.Right};
    const int sw[] = {r.Left, r.Width(), wr};
    const int sy[] = {0, r.Top, r.Bottom};
    const int sh[] = {r.Top, r.Height(), hb};
    QPainter painter(&out);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QRect to(dx[col], dy[row], dw[col], dh[row]);
            const QRect from(sx[col], sy[row], sw[col], sh[row]);
            if (to.isValid() && from.isValid()) {
                painter.drawImage(to, source, from);
            }
        }
    }
    return out;
}

} // namespace NinePiece
