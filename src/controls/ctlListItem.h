#pragma once

#include "controls/ModSysColor.h"

#include <QRect>
#include <QString>
#include <QWidget>

class PropertyBag;

// One row of the list control: a strip 13 pixels high showing the position
// number ("1."), the title and the duration ("00:00") on a background colour,
// with a rectangle round the row while it is selected. With IsLeft the row
// shows the title only, across the whole row.
//
// Selecting remembers the background and the title and duration colours as
// they stand and shows title and duration in SelectColor; deselecting puts
// the remembered colours back. Selecting a row that is selected already
// remembers the select colours themselves.
//
// The labels are laid out on every resize (and by Layout): IsLeft takes effect
// then, not when it is set.
class ctlListItem : public QWidget {
    Q_OBJECT
public:
    // The row's design in pixels (15 twips each).
    static constexpr int kRowHeight = 13;
    static constexpr int kLabelTop = 1;
    static constexpr int kLabelHeight = 12;
    static constexpr int kNumWidth = 28;
    static constexpr int kTitleLeft = 32;
    static constexpr int kTimeWidth = 30;
    static constexpr int kTimeRightGap = 3;
    static constexpr int kLeftMargin = 1;

    explicit ctlListItem(QWidget* parent = nullptr);

    QFont Font() const { return font(); }
    void SetFont(const QFont& font);
    bool Selected() const { return m_selected; }
    void SetSelected(bool selected);
    quint32 NumColor() const { return m_numColor; }
    void SetNumColor(quint32 color);
    quint32 TitleColor() const { return m_titleLabelColor; }
    void SetTitleColor(quint32 color);
    quint32 TimeColor() const { return m_timeLabelColor; }
    void SetTimeColor(quint32 color);
    quint32 SelectColor() const { return m_selectColor; }
    void SetSelectColor(quint32 color);
    // The number without its "." ("12" for a caption "12.").
    QString NumText() const;
    void SetNumText(const QString& text);
    QString TitleText() const { return m_title; }
    void SetTitleText(const QString& text);
    QString TimeText() const { return m_time; }
    void SetTimeText(const QString& text);
    quint32 BkColor() const { return m_bkColor; }
    void SetBkColor(quint32 color);
    bool IsLeft() const { return m_isLeft; }
    void SetIsLeft(bool isLeft) { m_isLeft = isLeft; }

    // Lays the labels out for the current width and IsLeft.
    void Layout();

    // What the row shows, in its own coordinates.
    QString NumCaption() const { return m_numCaption; }
    QRect NumRect() const { return m_numRect; }
    QRect TitleRect() const { return m_titleRect; }
    QRect TimeRect() const { return m_timeRect; }
    bool NumVisible() const { return m_numVisible; }
    bool TimeVisible() const { return m_timeVisible; }
    bool ShapeVisible() const { return m_selected; }

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

signals:
    void Click();
    void DblClick();
    void KeyPress(int KeyAscii);
    void KeyUp(int KeyCode, int Shift);
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);
    void KeyDown(int KeyCode, int Shift);
    void PropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void SetColorOf(quint32& field, quint32 color);

    bool m_selected = false;
    quint32 m_selectColor = 0;
    quint32 m_bkColor = ModSysColor::kButtonFace;
    quint32 m_numColor = ModSysColor::kButtonText;
    quint32 m_titleLabelColor = ModSysColor::kButtonText;
    quint32 m_timeLabelColor = ModSysColor::kButtonText;
    quint32 m_savedBack = ModSysColor::kButtonFace;
    quint32 m_savedTitle = ModSysColor::kButtonText;
    quint32 m_savedTime = ModSysColor::kButtonText;
    bool m_isLeft = false;
    QString m_numCaption = QStringLiteral("1.");
    QString m_title = QStringLiteral("Label2");
    QString m_time = QStringLiteral("00:00");
    QRect m_numRect;
    QRect m_titleRect;
    QRect m_timeRect;
    bool m_numVisible = true;
    bool m_timeVisible = true;
    bool m_doubleClickPress = false;
};
