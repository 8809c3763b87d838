#include "controls/TransFormCtl.h"

#include "controls/ModMask.h"
#include "controls/PropertyBag.h"

#include <QImage>
#include <QVariant>

TransFormCtl::TransFormCtl(QWidget* window) : QObject(window), m_window(window) {
}

void TransFormCtl::SetMaskColor(quint32 maskColor) {
    m_maskColor = maskColor;
    emit PropertyChanged(QStringLiteral("MaskColor"));
}

void TransFormCtl::SetForm(int flush) {
    if (!m_window) {
        return;
    }
    if (flush == 1) {
        m_window->clearMask();
        return;
    }
    const QImage picture = m_window->property("Picture").value<QImage>();
    const QRegion shape = ModMask::MaskRegion(picture, m_maskColor);
    if (shape.isEmpty()) {
        return; // nothing would be left of the window: keep its shape
    }
    // Widget coordinates are client coordinates, so picture pixel (0, 0)
    // lands on the first pixel of the client area.
    m_window->setMask(shape);
}

void TransFormCtl::ReadProperties(const PropertyBag& bag) {
    m_window = qobject_cast<QWidget*>(parent());
    m_maskColor =
        bag.ReadProperty(QStringLiteral("MaskColor"), quint32(ModColor::kMagenta)).toUInt();
}

void TransFormCtl::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("MaskColor"), m_maskColor, quint32(ModColor::kMagenta));
}
