#include "lyrics/ctlLyrics.h"

#include "controls/ModColor.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>
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
    if (changed) {
        m_sung = 0;
        DropStrip();
    }
    if (!smooth)
        m_followAgain.stop();
    if (!IsFollowing())
        return;
    if (changed || !smooth)
        ScrollTo(CentreFor(index), smooth);
    if (changed)
        update();
}

void ctlLyrics::SetSung(qsizetype length) {
    if (length == m_sung)
        return;
    m_sung = length;
    if (ShowsWords())
        update(CurrentRow());
}

bool ctlLyrics::ShowsWords() const {
    return m_current >= 0 && m_current < m_lyrics.Lines.size() &&
           !m_lyrics.Lines[m_current].Words.isEmpty();
}

int ctlLyrics::StripTop() const {
    return int(std::lround(LineCentreY(m_stripFirst) - LineHeight() / 2.0));
}

QRect ctlLyrics::CurrentRow() const {
    const int lh = LineHeight();
    return QRect(0, StripTop() + (m_current - m_stripFirst) * lh, width(), lh);
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
    painter.drawImage(QPoint(0, StripTop()), m_strip);
    if (!ShowsWords() || m_current < m_stripFirst || m_current > m_stripLast)
        return;
    const auto& words = m_lyrics.Lines[m_current].Words;
    const auto word = std::find_if(words.cbegin(), words.cend(),
                                   [this](const LyricWord& w) { return w.Offset >= m_sung; });
    // Whole pixels: a copy, not a scaled blend of two columns.
    const int split = int(std::lround(m_wordX.value(word - words.cbegin())));
    if (split <= 0)
        return;
    const qreal ratio = m_sungLine.devicePixelRatio();
    const QRect row = CurrentRow();
    painter.drawImage(QRectF(row.x(), row.y(), split, row.height()), m_sungLine,
                      QRectF(0, 0, split * ratio, row.height() * ratio));
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
    const bool words = ShowsWords();
    for (int i = m_stripFirst; i <= m_stripLast; ++i) {
        // A karaoke line is drawn unsung here; the sung part is laid over it.
        painter.setPen(i == m_current && !words ? m_selected : m_text);
        DrawLine(painter, i, QRectF(0, (i - m_stripFirst) * lh, width(), lh));
    }
    if (words && m_current >= m_stripFirst && m_current <= m_stripLast)
        RenderSungLine();
}

void ctlLyrics::DrawLine(QPainter& painter, int index, const QRectF& rect) const {
    const QString text =
        QFontMetrics(font()).elidedText(m_lyrics.Lines[index].Text, Qt::ElideRight, width() - 8);
    painter.drawText(rect, Qt::AlignCenter, text);
}

void ctlLyrics::RenderSungLine() {
    const qreal ratio = devicePixelRatioF();
    const int lh = LineHeight();
    m_sungLine = QImage(QSize(width(), lh) * ratio, QImage::Format_RGB32);
    m_sungLine.setDevicePixelRatio(ratio);
    m_sungLine.fill(m_background);
    QPainter painter(&m_sungLine);
    painter.setFont(font());
    painter.setPen(m_selected);
    DrawLine(painter, m_current, QRectF(0, 0, width(), lh));

    // Where the words begin, as centred text; past an ellipsis, the end.
    const LyricLine& line = m_lyrics.Lines[m_current];
    const QString shown = QFontMetrics(font()).elidedText(line.Text, Qt::ElideRight, width() - 8);
    QTextLayout layout(shown, font(), &m_sungLine);
    layout.beginLayout();
    QTextLine row = layout.createLine();
    layout.endLayout();
    m_wordX.clear();
    if (!row.isValid())
        return;
    const qreal left = (width() - row.naturalTextWidth()) / 2;
    const qsizetype whole = shown == line.Text ? shown.size() : shown.size() - 1;
    for (const LyricWord& word : line.Words)
        m_wordX.append(left + row.cursorToX(int(std::min(word.Offset, whole))));
    m_wordX.append(left + row.naturalTextWidth());
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
