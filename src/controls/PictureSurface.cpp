#include "controls/PictureSurface.h"

#include "controls/ModMask.h"

#include <QPaintEvent>
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

void PictureSurface::paintEvent(QPaintEvent* event) {
    if (m_picture.isNull()) {
        return;
    }
    QPainter painter(this);
    ModMask::DrawPicture(painter, m_picture, event->region().intersected(m_shape));
}
