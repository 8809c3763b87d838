#include "Canvas.h"

#include <QPainter>
#include <algorithm>

namespace skingen {

namespace {

int mixChannel(int a, int b, int t) {
    return (a * (1000 - t) + b * t + 500) / 1000;
}

} // namespace

QRgb Mix(QRgb a, QRgb b, int t) {
    t = std::clamp(t, 0, 1000);
    return qRgb(mixChannel(qRed(a), qRed(b), t), mixChannel(qGreen(a), qGreen(b), t),
                mixChannel(qBlue(a), qBlue(b), t));
}

QRgb Shade(QRgb c, int amount) {
    return amount >= 0 ? Mix(c, qRgb(255, 255, 255), amount) : Mix(c, qRgb(0, 0, 0), -amount);
}

Coverage RoundRect(const QRect& rect, int r) {
    // Work in doubled coordinates so pixel centres are integers.
    const int l = 2 * rect.left(), t = 2 * rect.top();
    const int rr = 2 * (rect.right() + 1), bb = 2 * (rect.bottom() + 1);
    const int d = 2 * r;
    return [=](int x, int y) {
        const int px = 2 * x + 1, py = 2 * y + 1;
        if (px < l || px > rr || py < t || py > bb)
            return false;
        const int cx = std::clamp(px, l + d, rr - d);
        const int cy = std::clamp(py, t + d, bb - d);
        const int dx = px - cx, dy = py - cy;
        return dx * dx + dy * dy <= d * d;
    };
}

Coverage Ellipse(const QRect& rect) {
    const qint64 w = rect.width(), h = rect.height();
    const qint64 cx = 2 * rect.left() + w, cy = 2 * rect.top() + h;
    return [=](int x, int y) {
        const qint64 dx = 2 * x + 1 - cx, dy = 2 * y + 1 - cy;
        return dx * dx * h * h + dy * dy * w * w <= w * w * h * h;
    };
}

QSize ArtSize(const QStringList& rows) {
    int w = 0;
    for (const QString& row : rows)
        w = std::max(w, int(row.size()));
    return QSize(w, int(rows.size()));
}

Canvas::Canvas(int width, int height) : m_image(width, height, QImage::Format_RGB32) {
    m_image.fill(kMask);
}

Canvas::Canvas(const QImage& image) : m_image(image.convertToFormat(QImage::Format_RGB32)) {
}

QRgb Canvas::Pixel(int x, int y) const {
    return m_image.valid(x, y) ? (m_image.pixel(x, y) | 0xFF000000) : kMask;
}

void Canvas::Set(int x, int y, QRgb c) {
    if (m_image.valid(x, y))
        m_image.setPixel(x, y, c | 0xFF000000);
}

void Canvas::Fill(const QRect& rect, QRgb c) {
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        HLine(rect.left(), rect.right(), y, c);
}

void Canvas::VGradient(const QRect& rect, QRgb top, QRgb bottom) {
    const int span = std::max(1, rect.height() - 1);
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        HLine(rect.left(), rect.right(), y, Mix(top, bottom, (y - rect.top()) * 1000 / span));
}

void Canvas::FillShape(const QRect& bounds, const Coverage& shape, QRgb top, QRgb bottom) {
    const int span = std::max(1, bounds.height() - 1);
    for (int y = bounds.top(); y <= bounds.bottom(); ++y) {
        const QRgb c = Mix(top, bottom, (y - bounds.top()) * 1000 / span);
        for (int x = bounds.left(); x <= bounds.right(); ++x)
            if (shape(x, y))
                Set(x, y, c);
    }
}

void Canvas::Outline(const QRect& bounds, const Coverage& shape, QRgb c) {
    for (int y = bounds.top(); y <= bounds.bottom(); ++y)
        for (int x = bounds.left(); x <= bounds.right(); ++x)
            if (shape(x, y) &&
                (!shape(x - 1, y) || !shape(x + 1, y) || !shape(x, y - 1) || !shape(x, y + 1)))
                Set(x, y, c);
}

void Canvas::TopRim(const QRect& bounds, const Coverage& shape, QRgb c) {
    for (int y = bounds.top(); y <= bounds.bottom(); ++y)
        for (int x = bounds.left(); x <= bounds.right(); ++x)
            if (shape(x, y) && !shape(x, y - 1))
                Set(x, y, c);
}

void Canvas::BottomRim(const QRect& bounds, const Coverage& shape, QRgb c) {
    for (int y = bounds.top(); y <= bounds.bottom(); ++y)
        for (int x = bounds.left(); x <= bounds.right(); ++x)
            if (shape(x, y) && !shape(x, y + 1))
                Set(x, y, c);
}

void Canvas::HLine(int x0, int x1, int y, QRgb c) {
    for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x)
        Set(x, y, c);
}

void Canvas::VLine(int x, int y0, int y1, QRgb c) {
    for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
        Set(x, y, c);
}

void Canvas::Polygon(const QPolygon& points, QRgb c) {
    QPainter p(&m_image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(c | 0xFF000000));
    p.drawPolygon(points);
}

void Canvas::Art(int x, int y, const QStringList& rows, QRgb c) {
    for (int r = 0; r < rows.size(); ++r)
        for (int col = 0; col < rows[r].size(); ++col)
            if (rows[r][col] == u'#')
                Set(x + col, y + r, c);
}

void Canvas::Draw(int x, int y, const QImage& source, bool keepMask) {
    Draw(x, y, source, source.rect(), keepMask);
}

void Canvas::Draw(int x, int y, const QImage& source, const QRect& from, bool keepMask) {
    for (int sy = from.top(); sy <= from.bottom(); ++sy)
        for (int sx = from.left(); sx <= from.right(); ++sx) {
            if (!source.valid(sx, sy))
                continue;
            const QRgb c = source.pixel(sx, sy) | 0xFF000000;
            if (keepMask || c != kMask)
                Set(x + sx - from.left(), y + sy - from.top(), c);
        }
}

} // namespace skingen
