#pragma once

#include "lyrics/Lyrics.h"

#include <QImage>
#include <QList>
#include <QTimeLine>
#include <QTimer>
#include <QWidget>

class QPainter;

// The lines of the lyrics, drawn in the skin's list colours: the current line
// in the selection colour at the vertical centre, the others in the text
// colour above and below it, on the background colour. A new current line is
// scrolled to smoothly (or at once, for a seek); the wheel scrolls the lines
// by hand, and the view follows the current line again kFollowAgainMs after
// the last turn. A karaoke line (one with word times) is current in two
// colours: what is sung in the selection colour, the rest in the text colour;
// a change of the sung part repaints that line alone. A click on a line of
// timed lyrics reports it. Without lines
// the view shows its message. Nothing is redrawn unless something changed.
class ctlLyrics : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFontPixels = 14;
    static constexpr int kScrollMs = 200;
    static constexpr int kFrameMs = 40;
    static constexpr int kFollowAgainMs = 4000;
    static constexpr int kWheelLines = 3;

    explicit ctlLyrics(QWidget* parent = nullptr);

    // COLORREF values (0x00BBGGRR).
    void SetColors(quint32 text, quint32 current, quint32 background);
    // New lyrics; the view starts at their top (no current line).
    void SetLyrics(const Lyrics& lyrics);
    void SetMessage(const QString& message);
    const QString& Message() const { return m_message; }

    // Makes `index` (-1: none yet) the current line. `smooth` scrolls to it;
    // otherwise the view jumps there and stops any scroll by hand.
    void SetCurrentLine(int index, bool smooth);
    int CurrentLine() const { return m_current; }
    // How many characters of the current line are sung (LyricLine::
    // SungLength); only a line with word times shows it. A new current line
    // starts with none.
    void SetSung(qsizetype length);
    qsizetype Sung() const { return m_sung; }
    const Lyrics& Shown() const { return m_lyrics; }

    int LineHeight() const;
    // The vertical centre of line `index` as drawn now.
    double LineCentreY(int index) const;
    // The line drawn at `y`; -1 for none.
    int LineAtY(int y) const;
    // False for a while after the wheel was turned.
    bool IsFollowing() const { return !m_followAgain.isActive(); }
    // Whether a smooth scroll is under way.
    bool IsScrolling() const;

signals:
    void LineClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // The (fractional) line index the view centres on to show `index`.
    double CentreFor(int index) const;
    void ScrollTo(double centre, bool smooth);
    // Draws lines [first, last] and some either side into m_strip, so the
    // frames of a scroll are one copy each instead of a text layout of every
    // visible line (which cost a few percent of a core while following).
    void RenderStrip(int first, int last);
    void DropStrip() { m_stripLast = -1; }
    // The text of line `index` as drawn in a row `rect` of the strip.
    void DrawLine(QPainter& painter, int index, const QRectF& rect) const;
    // For a current line with word times: the line in the selection colour,
    // and where each word of it begins on the row, so that a change of the
    // sung part is one copy of part of that picture and no text layout.
    void RenderSungLine();
    bool ShowsWords() const;
    // The current line's row in the widget (valid only when ShowsWords()).
    QRect CurrentRow() const;
    int StripTop() const;

    Lyrics m_lyrics;
    QString m_message;
    int m_current = -1;
    qsizetype m_sung = 0;
    // The line index drawn at the vertical centre, fractional while moving.
    double m_centre = 0;
    QTimeLine m_animation;
    double m_scrollFrom = 0;
    double m_scrollTo = 0;
    QTimer m_followAgain;
    QColor m_text, m_selected, m_background;
    QImage m_strip;
    int m_stripFirst = 0;
    int m_stripLast = -1; // below m_stripFirst: nothing drawn yet
    QImage m_sungLine;
    // Per word of the current line, then for its end: x on the row.
    QList<qreal> m_wordX;
};
