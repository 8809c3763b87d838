#include "lyrics/ctlLyrics.h"

#include "controls/ModColor.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

ctlLyrics::ctlLyrics(QWidget* parent) : QWidget(parent) {
    QFont f = font();
    f.setPixelSize(kFontPixels);
    setFont(f);
    // Everything is painted here; Qt need not clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A frame every kFrameMs rather than at the display's rate: each frame
    // is a copy of the window to the screen, and a few are smooth enough.
    m_animation.setDuration(kScrollMs);
    m_animation.setUpdateInterval(kFrameMs);
    m_animation.setEasingCurve(QEasingCurve::OutCubic);
    connect(&m_animation, &QTimeLine::valueChanged, this, [this](qreal progress) {
        m_centre = m_scrollFrom + (m_scrollTo - m_scrollFrom) * progress;
        update();
    });
    m_followAgain.setSingleShot(true);
    m_followAgain.setInterval(kFollowAgainMs);
    connect(&m_followAgain, &QTimer::timeout, this,
            [this] { ScrollTo(CentreFor(m_current), true); });
}

void ctlLyrics::SetColors(quint32 text, quint32 current, quint32 background) {
    m_text = QColor::fromRgb(ModColor::ToQRgb(text));
    m_selected = QColor::fromRgb(ModColor::ToQRgb(current));
    m_background = QColor::fromRgb(ModColor::ToQRgb(background));
    DropStrip();
    update();
}

void ctlLyrics::SetLyrics(const Lyrics& lyrics) {
    m_lyrics = lyrics;
    m_current = -1;
    DropStrip();
    m_followAgain.stop();
    ScrollTo(CentreFor(-1), false);
}

void ctlLyrics::SetMessage(const QString& message) {
    m_message = message;
    update();
}

int ctlLyrics::LineHeight() const {
    return QFontMetrics(font()).height() + 8;
}

bool ctlLyrics::IsScrolling() const {
    return m_animation.state() == QTimeLine::Running;
}

// Before the first line (and for plain text) the first line sits at the top.
double ctlLyrics::CentreFor(int index) const {
    if (index >= 0)
        return index;
    const double half = double(height()) / LineHeight() / 2;
    return std::max(0.0, half - 0.5);
}

void ctlLyrics::ScrollTo(double centre, bool smooth) {
    m_animation.stop();
    if (smooth && isVisible() && std::abs(centre - m_centre) > 1e-9) {
        m_scrollFrom = m_centre;
        m_scrollTo = centre;
        m_animation.setCurrentTime(0);
        m_animation.start();
        return;
    }
    if (m_centre != centre) {
        m_centre = centre;
        update();
    }
}

void ctlLyrics::SetCurrentLine(int index, bool smooth) {
    const bool changed = index != m_current;
    m_current = index;
    if (changed)
        DropStrip();
    if (!smooth)
        m_followAgain.stop();
    if (!IsFollowing())
        return;
    if (changed || !smooth)
        ScrollTo(CentreFor(index), smooth);
    if (changed)
        update();
}

double ctlLyrics::LineCentreY(int index) const {
    return height() / 2.0 + (index - m_centre) * LineHeight();
}

int ctlLyrics::LineAtY(int y) const {
    const double at = m_centre + (y - height() / 2.0) / LineHeight();
    const int index = int(std::floor(at + 0.5));
    return index >= 0 && index < m_lyrics.Lines.size() ? index : -1;
}

void ctlLyrics::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    if (m_lyrics.IsEmpty()) {
        painter.setPen(m_text);
        painter.drawText(rect(), Qt::AlignCenter, m_message);
        return;
    }
    const int lh = LineHeight();
    const double half = height() / 2.0 / lh;
    const int first = std::max(0, int(std::floor(m_centre - half)) - 1);
    const int last = std::min(int(m_lyrics.Lines.size()) - 1, int(std::ceil(m_centre + half)) + 1);
    if (first > last)
        return;
    if (m_strip.deviceIndependentSize().width() != width() || first < m_stripFirst ||
        last > m_stripLast)
        RenderStrip(first, last);
    const double top = LineCentreY(m_stripFirst) - lh / 2.0;
    painter.drawImage(QPoint(0, int(std::lround(top))), m_strip);
}

void ctlLyrics::RenderStrip(int first, int last) {
    const int lh = LineHeight();
    const int margin = height() / lh + 2;
    m_stripFirst = std::max(0, first - margin);
    m_stripLast = std::min(int(m_lyrics.Lines.size()) - 1, last + margin);
    const qreal ratio = devicePixelRatioF();
    const int rows = m_stripLast - m_stripFirst + 1;
    m_strip = QImage(QSize(width(), rows * lh) * ratio, QImage::Format_RGB32);
    m_strip.setDevicePixelRatio(ratio);
    m_strip.fill(m_background);
    QPainter painter(&m_strip);
    painter.setFont(font());
    const QFontMetrics metrics(font());
    for (int i = m_stripFirst; i <= m_stripLast; ++i) {
        painter.setPen(i == m_current ? m_selected : m_text);
        const QString text =
            metrics.elidedText(m_lyrics.Lines[i].Text, Qt::ElideRight, width() - 8);
        painter.drawText(QRectF(0, (i - m_stripFirst) * lh, width(), lh), Qt::AlignCenter, text);
    }
}

void ctlLyrics::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_lyrics.Timed)
        return QWidget::mousePressEvent(event);
    const int index = LineAtY(int(event->position().y()));
    if (index >= 0)
        emit LineClicked(index);
}

void ctlLyrics::wheelEvent(QWheelEvent* event) {
    if (m_lyrics.IsEmpty())
        return;
    const double steps = event->angleDelta().y() / 120.0;
    const double last = std::max<qsizetype>(0, m_lyrics.Lines.size() - 1);
    m_animation.stop();
    m_centre = std::clamp(m_centre - steps * kWheelLines, 0.0, last);
    m_followAgain.start();
    update();
    event->accept();
}
