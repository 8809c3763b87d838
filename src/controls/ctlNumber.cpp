#include "controls/ctlNumber.h"

#include "controls/ModMask.h"
#include "controls/PictureSurface.h"
#include "controls/PropertyBag.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

ctlNumber::ctlNumber(QWidget* parent) : QWidget(parent), m_show(new PictureSurface(this)) {
    RenderDigits();
}

void ctlNumber::SetText(const QString& text) {
    m_text = text;
    emit PropertyChanged(QStringLiteral("Text"));
    RenderDigits();
}

void ctlNumber::SetMaskColor(quint32 maskColor) {
    m_maskColor = maskColor;
    emit PropertyChanged(QStringLiteral("MaskColor"));
    RenderDigits();
}

void ctlNumber::SetPicture(const QImage& strip) {
    m_strip = strip;
    emit PropertyChanged(QStringLiteral("Picture"));
    RenderDigits();
}

void ctlNumber::SetAutoRgn(QWidget* hForm, const QImage& picture, quint32 transColor) {
    ModMask::ApplyMaskRegion(hForm, picture, transColor);
}

int ctlNumber::GlyphWidth() const {
    return int(std::nearbyint(m_strip.width() / 12.0));
}

int ctlNumber::GlyphIndex(QChar c) {
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
        return c.unicode() - '0';
    }
    if (c == QLatin1Char(':')) {
        return 10;
    }
    if (c == QLatin1Char('-')) {
        return 11;
    }
    return 0; // any other character shows the zero glyph
}

QImage ctlNumber::ComposeText() const {
    const int g = GlyphWidth();
    const int h = m_strip.height();
    if (g <= 0 || h <= 0 || m_text.isEmpty()) {
        return QImage();
    }
    QImage composed(g * int(m_text.size()), h, QImage::Format_RGB32);
    composed.fill(ModColor::ToQRgb(m_maskColor));
    QPainter painter(&composed);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (int i = 0; i < int(m_text.size()); ++i) {
        const int sourceLeft =
            int(std::nearbyint(GlyphIndex(m_text.at(i)) * m_strip.width() / 12.0));
        painter.drawImage(QRect(i * g, 0, g, h), m_strip, QRect(sourceLeft, 0, g, h));
    }
    return composed;
}

void ctlNumber::RenderDigits() {
    if (m_rendering) {
        return;
    }
    m_rendering = true;
    const int g = GlyphWidth();
    if (!m_strip.isNull()) {
        resize(kCells * g, m_strip.height());
    }
    // "00:00" is right-aligned in the six cells; other lengths start at the left.
    m_show->move(m_text.size() == 5 ? g : 0, 0);
    const QImage composed = ComposeText();
    if (composed != m_composed || m_maskColor != m_composedMask) {
        m_composed = composed; // the shape is worked out again only for a new look
        m_composedMask = m_maskColor;
        m_composedShape = ModMask::MaskRegion(composed, m_maskColor);
    }
    m_show->SetPicture(m_composed, m_composedShape);
    m_rendering = false;
}

void ctlNumber::ReadProperties(const PropertyBag& bag) {
    m_text = bag.ReadProperty(QStringLiteral("Text"), QStringLiteral("00:00")).toString();
    m_maskColor =
        bag.ReadProperty(QStringLiteral("MaskColor"), quint32(ModColor::kMagenta)).toUInt();
    SetPicture(bag.ReadProperty(QStringLiteral("Picture"), QImage()).value<QImage>());
}

void ctlNumber::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("Text"), m_text, QStringLiteral("00:00"));
    bag.WriteProperty(QStringLiteral("MaskColor"), m_maskColor, quint32(ModColor::kMagenta));
    bag.WriteProperty(QStringLiteral("Picture"), m_strip, QImage());
}

void ctlNumber::resizeEvent(QResizeEvent*) {
    RenderDigits();
}

void ctlNumber::showEvent(QShowEvent*) {
    RenderDigits();
}

void ctlNumber::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void ctlNumber::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click) {
        emit Click();
    }
}
