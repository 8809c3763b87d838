#pragma once

#include "controls/ModColor.h"

#include <QImage>
#include <QRegion>
#include <QString>
#include <QWidget>

class PictureSurface;
class PropertyBag;

// Shows a short time text such as "00:00" with glyphs from a skin strip of
// twelve equal glyphs: "0".."9", ":" and "-". The control is six glyph cells
// wide; a five-character text sits right-aligned in them. The parent's
// picture shows everywhere except on the glyph pixels that differ from the
// mask colour; the whole six-cell rectangle takes clicks.
class ctlNumber : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCells = 6;

    explicit ctlNumber(QWidget* parent = nullptr);

    QString Text() const { return m_text; }
    void SetText(const QString& text);
    quint32 MaskColor() const { return m_maskColor; }
    void SetMaskColor(quint32 maskColor);
    QImage Picture() const { return m_strip; }
    void SetPicture(const QImage& strip);

    // Shapes `hForm` to the pixels of `picture` that differ from `transColor`.
    void SetAutoRgn(QWidget* hForm, const QImage& picture, quint32 transColor);

    int GlyphWidth() const;
    static int GlyphIndex(QChar c);
    // The visible glyph surface (its position, picture and shape).
    const PictureSurface* ShowSurface() const { return m_show; }

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

signals:
    void Click();
    void PropertyChanged(const QString& name);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void RenderDigits();
    QImage ComposeText() const;

    QString m_text = QStringLiteral("00:00");
    quint32 m_maskColor = ModColor::kMagenta;
    QImage m_strip;
    PictureSurface* m_show;
    QImage m_composed;
    quint32 m_composedMask = ModColor::kMagenta;
    QRegion m_composedShape;
    bool m_rendering = false;
    bool m_pressed = false;
};
