#pragma once

#include <QImage>
#include <QRegion>
#include <QWidget>

// A display surface that shows one picture at its natural size at its top-left
// corner, shaped to a given region. It takes no mouse input itself: presses on
// it reach the control that owns it, in that control's coordinates.
class PictureSurface : public QWidget {
    Q_OBJECT
public:
    explicit PictureSurface(QWidget* parent);

    // Shows `picture` shaped to `shape`; the surface takes the picture's size.
    // Repaints only when the picture or the shape changed.
    void SetPicture(const QImage& picture, const QRegion& shape);
    QImage Picture() const { return m_picture; }
    QRegion Shape() const { return m_shape; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
    QRegion m_shape;
};
