#pragma once

#include "controls/ModColor.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

class PropertyBag;

// The invisible control each skinned top-level window carries to cut itself to
// the shape of its background picture: pixels of the mask colour become holes
// that show the desktop and take no clicks.
//
// The window's background picture is its "Picture" property (a QImage, as a
// declared or a dynamic property); the picture's top-left pixel lies on the
// first pixel of the window's client area.
class TransFormCtl : public QObject {
    Q_OBJECT
public:
    explicit TransFormCtl(QWidget* window);

    quint32 MaskColor() const { return m_maskColor; }
    // Stores the colour; the shape changes at the next SetForm only.
    void SetMaskColor(quint32 maskColor);

    // Shapes the window to the non-mask pixels of its current background
    // picture, replacing any earlier shape. A picture without a non-mask pixel
    // (or no picture) leaves the shape as it was. flush = 1 removes the shape.
    void SetForm(int flush = 0);

    QWidget* Window() const { return m_window; }

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

signals:
    void PropertyChanged(const QString& name);

private:
    QPointer<QWidget> m_window;
    quint32 m_maskColor = ModColor::kMagenta;
};
