#include "controls/PictureSurface.h"

#include "controls/ModMask.h"

#include <QPainter>

PictureSurface::PictureSurface(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PictureSurface::SetPicture(const QImage& picture, const QRegion& shape) {
    const bool changed = picture != m_picture || shape != m_shape;
    m_picture = picture;
    m_shape = shape;
    resize(picture.size());
    if (changed) {
        ModMask::SetWindowRegion(this, shape);
        update();
    }
}

void PictureSurface::paintEvent(QPaintEvent*) {
    if (m_picture.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setClipRegion(m_shape);
    painter.drawImage(QPoint(0, 0), m_picture);
}
