#include "AppIcon.h"

#include "Canvas.h"
#include "Theme.h"

#include <QDir>
#include <QPolygon>

namespace skingen::AppIcon {
namespace {

constexpr int kOversample = 4;
constexpr int kGrid = 64; // the design is laid out on a 64 x 64 grid

// Averages each kOversample-square block of `big`: the share of pixels that
// are not the mask colour gives the alpha, their mean the colour.
QImage Reduce(const Canvas& big, int size) {
    QImage out(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            int n = 0, r = 0, g = 0, b = 0;
            for (int sy = 0; sy < kOversample; ++sy) {
                for (int sx = 0; sx < kOversample; ++sx) {
                    const QRgb c = big.Pixel(x * kOversample + sx, y * kOversample + sy);
                    if (c == kMask)
                        continue;
                    ++n, r += qRed(c), g += qGreen(c), b += qBlue(c);
                }
            }
            constexpr int all = kOversample * kOversample;
            out.setPixel(x, y,
                         n == 0 ? 0u
                                : qRgba((r + n / 2) / n, (g + n / 2) / n, (b + n / 2) / n,
                                        (n * 255 + all / 2) / all));
        }
    }
    return out;
}

} // namespace

const QList<int>& Sizes() {
    static const QList<int> sizes{16, 22, 24, 32, 48, 64, 128, 256};
    return sizes;
}

QImage Draw(int size) {
    // A copy: Designs() returns its list by value.
    const Palette p = Designs().front().palette;
    const int px = size * kOversample;
    // Grid units to canvas pixels, rounded to nearest.
    const auto u = [px](int v) { return (v * px + kGrid / 2) / kGrid; };
    const auto box = [&u](int l, int t, int r, int b) {
        return QRect(QPoint(u(l), u(t)), QPoint(u(r) - 1, u(b) - 1));
    };
    Canvas c(px, px);

    const QRect body = box(3, 3, 61, 61);
    c.FillShape(body, RoundRect(body, u(12)), p.titleTop, p.bodyBottom);
    c.Outline(body, RoundRect(body, u(12)), p.edge);

    const QRect disc = box(11, 11, 53, 53);
    c.FillShape(disc, Ellipse(disc), p.fillTop, p.fillBottom);
    c.Outline(disc, Ellipse(disc), Shade(p.fillBottom, -400));

    // The play symbol, nudged right of the disc's centre so it looks centred.
    const QPolygon play{QPoint(u(26), u(21)), QPoint(u(26), u(43)), QPoint(u(44), u(32))};
    c.Polygon(play, p.panelTop);
    return Reduce(c, size);
}

bool WriteTheme(const QString& folder, QString* error) {
    for (const int n : Sizes()) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(n);
        const QString path = dir + QStringLiteral("/melodeck.png");
        if (!QDir().mkpath(dir) || !Draw(n).save(path, "PNG")) {
            if (error)
                *error = QStringLiteral("cannot write ") + path;
            return false;
        }
    }
    return true;
}

} // namespace skingen::AppIcon
