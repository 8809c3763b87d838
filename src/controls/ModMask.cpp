#include "controls/ModMask.h"

#include "controls/CDIBSection.h"
#include "controls/ModColor.h"

#include <QPainter>
#include <QVector>
#include <QWidget>

namespace {

// Unions row regions pairwise, which keeps each union small.
QRegion UniteAll(QVector<QRegion> parts) {
    if (parts.isEmpty()) {
        return QRegion();
    }
    while (parts.size() > 1) {
        QVector<QRegion> next;
        next.reserve((parts.size() + 1) / 2);
        for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
            next.append(parts.at(i).united(parts.at(i + 1)));
        }
        if (parts.size() % 2) {
            next.append(parts.last());
        }
        parts.swap(next);
    }
    return parts.first();
}

QRegion RowRuns(const CDIBSection& dib, int y, uchar mr, uchar mg, uchar mb) {
    const int w = dib.Width();
    const int row = dib.Height() - y; // rows of the bitmap count from the bottom
    QRegion runs;
    int x = 0;
    while (x < w) {
        uchar r = 0, g = 0, b = 0;
        dib.GetPixelRGB(row, x + 1, r, g, b);
        if (r == mr && g == mg && b == mb) {
            ++x;
            continue;
        }
        const int x0 = x;
        while (x + 1 < w) {
            dib.GetPixelRGB(row, x + 2, r, g, b);
            if (r == mr && g == mg && b == mb) {
                break;
            }
            ++x;
        }
        runs += QRect(x0, y, x - x0 + 1, 1); // columns x0..x inclusive
        ++x;
    }
    return runs;
}

} // namespace

namespace ModMask {

QRegion MaskRegion(const QImage& picture, quint32 maskColor) {
    CDIBSection dib;
    dib.CreateFromPicture(picture);
    if (!dib.HasDib()) {
        return QRegion();
    }
    const uchar mr = uchar(ModColor::Red(maskColor));
    const uchar mg = uchar(ModColor::Green(maskColor));
    const uchar mb = uchar(ModColor::Blue(maskColor));
    QVector<QRegion> rows;
    rows.reserve(dib.Height());
    for (int y = 0; y < dib.Height(); ++y) {
        QRegion runs = RowRuns(dib, y, mr, mg, mb);
        if (!runs.isEmpty()) {
            rows.append(runs);
        }
    }
    return UniteAll(rows);
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
