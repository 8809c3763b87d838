#include "controls/ModMask.h"

#include "controls/ModColor.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <optional>
#include <vector>

namespace {

// Columns [left, right) of one row.
struct Run {
    int left;
    int right;
};

struct Rgb {
    uchar r, g, b;
};

// Row y's runs of pixels that differ from `mask`, left to right; with
// `outline`, one run from the first such pixel to the last.
void RowRuns(const QImage& bits, int y, Rgb mask, bool outline, std::vector<Run>& runs) {
    runs.clear();
    const uchar* line = bits.constScanLine(y); // blue, green, red
    const auto isMask = [line, mask](int x) {
        return line[3 * x + 2] == mask.r && line[3 * x + 1] == mask.g && line[3 * x] == mask.b;
    };
    const int w = bits.width();
    for (int x = 0; x < w;) {
        if (isMask(x)) {
            ++x;
            continue;
        }
        const int left = x;
        while (x < w && !isMask(x))
            ++x;
        if (outline && !runs.empty())
            runs.back().right = x;
        else
            runs.push_back({left, x});
    }
}

// Rectangles in the banded form QRegion::setRects takes (bands of equal
// height sorted top to bottom, rectangles sorted left to right, none
// touching sideways), built in one pass: a row with the same runs as the row
// just above widens that band instead of adding one, as a union would. This
// gives exactly the region the union of all runs gives, in linear time.
class BandBuilder {
public:
    // False, and nothing added, when the row would take the rectangle count
    // past kMaxRegionRects.
    bool AddRow(int y, const std::vector<Run>& runs) {
        if (runs.empty())
            return true;
        if (m_bottom == y - 1 && SameAsLastBand(runs)) {
            for (auto rect = m_rects.begin() + m_bandStart; rect != m_rects.end(); ++rect)
                rect->setBottom(y);
            m_bottom = y;
            return true;
        }
        if (m_rects.size() + runs.size() > size_t(ModMask::kMaxRegionRects))
            return false;
        m_bandStart = qsizetype(m_rects.size());
        for (const Run& run : runs)
            m_rects.emplace_back(run.left, y, run.right - run.left, 1);
        m_bottom = y;
        return true;
    }

    QRegion Region() const {
        QRegion region;
        region.setRects(m_rects.data(), int(m_rects.size()));
        return region;
    }

private:
    bool SameAsLastBand(const std::vector<Run>& runs) const {
        if (m_rects.size() - size_t(m_bandStart) != runs.size())
            return false;
        for (size_t i = 0; i < runs.size(); ++i) {
            const QRect& rect = m_rects[size_t(m_bandStart) + i];
            if (rect.left() != runs[i].left || rect.right() + 1 != runs[i].right)
                return false;
        }
        return true;
    }

    std::vector<QRect> m_rects;
    qsizetype m_bandStart = 0; // the first rectangle of the last band
    int m_bottom = -2;         // the last row of the last band
};

std::optional<QRegion> BuildRegion(const QImage& bits, Rgb mask, bool outline) {
    BandBuilder bands;
    std::vector<Run> runs;
    for (int y = 0; y < bits.height(); ++y) {
        RowRuns(bits, y, mask, outline, runs);
        if (!bands.AddRow(y, runs))
            return std::nullopt;
    }
    return bands.Region();
}

QRect BoundingRect(const QImage& bits, Rgb mask) {
    QRect bounds;
    std::vector<Run> runs;
    for (int y = 0; y < bits.height(); ++y) {
        RowRuns(bits, y, mask, true, runs);
        if (!runs.empty())
            bounds |= QRect(runs[0].left, y, runs[0].right - runs[0].left, 1);
    }
    return bounds;
}

} // namespace

namespace ModMask {

QRegion MaskRegion(const QImage& picture, quint32 maskColor) {
    // 24-bit pixels, as a device-independent bitmap holds them.
    const QImage bits = picture.convertToFormat(QImage::Format_BGR888);
    if (bits.isNull())
        return QRegion();
    const Rgb mask{uchar(ModColor::Red(maskColor)), uchar(ModColor::Green(maskColor)),
                   uchar(ModColor::Blue(maskColor))};
    if (std::optional<QRegion> exact = BuildRegion(bits, mask, false))
        return *exact;
    // Too intricate a shape for the window system: each row's outline, and
    // failing that the rectangle around all non-mask pixels.
    if (std::optional<QRegion> outline = BuildRegion(bits, mask, true))
        return *outline;
    return QRegion(BoundingRect(bits, mask));
}

void SetWindowRegion(QWidget* target, const QRegion& region) {
    if (!target) {
        return;
    }
    // One pixel above and left of the widget: inside no pixel of it.
    const QRegion shape = region.isEmpty() ? QRegion(-1, -1, 1, 1) : region;
    if (target->mask() != shape) {
        target->setMask(shape);
    }
}

void ApplyMaskRegion(QWidget* target, const QImage& picture, quint32 maskColor) {
    SetWindowRegion(target, MaskRegion(picture, maskColor));
}

QRegion VisibleRegion(const QWidget* widget) {
    const QRegion mask = widget->mask();
    return mask.isEmpty() ? QRegion(widget->rect()) : mask.intersected(widget->rect());
}

void DrawPicture(QPainter& painter, const QImage& picture, const QRegion& region) {
    for (const QRect& whole : region.intersected(picture.rect())) {
        for (int top = whole.top(); top <= whole.bottom(); top += kRowsPerDraw) {
            const QRect piece(whole.left(), top, whole.width(),
                              std::min(kRowsPerDraw, whole.bottom() + 1 - top));
            painter.drawImage(piece.topLeft(), picture, piece);
        }
    }
}

QImage ShapedSnapshot(QWidget* window) {
    const QImage grabbed = window->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    QImage shot(grabbed.size(), QImage::Format_ARGB32);
    shot.fill(Qt::transparent);
    QPainter painter(&shot);
    if (!window->mask().isEmpty()) {
        painter.setClipRegion(window->mask());
    }
    painter.drawImage(0, 0, grabbed);
    return shot;
}

} // namespace ModMask
