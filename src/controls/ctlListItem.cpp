#include "controls/ctlListItem.h"

#include "controls/ModInput.h"
#include "controls/PropertyBag.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

ctlListItem::ctlListItem(QWidget* parent) : QWidget(parent) {
    setFixedHeight(kRowHeight);
    setFocusPolicy(Qt::ClickFocus);
    Layout();
}

void ctlListItem::SetFont(const QFont& newFont) {
    setFont(newFont);
    emit PropertyChanged(QStringLiteral("Font"));
}

void ctlListItem::SetColorOf(quint32& field, quint32 color) {
    if (field != color) {
        field = color;
        update();
    }
}

void ctlListItem::SetSelected(bool selected) {
    if (selected != m_selected) {
        update(); // the selection rectangle
    }
    m_selected = selected;
    if (selected) {
        m_savedBack = m_bkColor;
        m_savedTitle = m_titleLabelColor;
        m_savedTime = m_timeLabelColor;
        SetColorOf(m_titleLabelColor, m_selectColor);
        SetColorOf(m_timeLabelColor, m_selectColor);
    } else {
        SetColorOf(m_titleLabelColor, m_savedTitle);
        SetColorOf(m_timeLabelColor, m_savedTime);
        SetColorOf(m_bkColor, m_savedBack);
    }
}

void ctlListItem::SetNumColor(quint32 color) {
    SetColorOf(m_numColor, color);
    emit PropertyChanged(QStringLiteral("NumColor"));
}

void ctlListItem::SetTitleColor(quint32 color) {
    SetColorOf(m_titleLabelColor, color);
    m_savedTitle = color;
    emit PropertyChanged(QStringLiteral("TitleColor"));
}

void ctlListItem::SetTimeColor(quint32 color) {
    SetColorOf(m_timeLabelColor, color);
    m_savedTime = color;
    emit PropertyChanged(QStringLiteral("TimeColor"));
}

void ctlListItem::SetSelectColor(quint32 color) {
    m_selectColor = color;
    emit PropertyChanged(QStringLiteral("SelectColor"));
}

void ctlListItem::SetBkColor(quint32 color) {
    SetColorOf(m_bkColor, color);
    m_savedBack = color;
    emit PropertyChanged(QStringLiteral("BkColor"));
}

QString ctlListItem::NumText() const {
    QString text = m_numCaption;
    return text.remove(QLatin1Char('.'));
}

void ctlListItem::SetNumText(const QString& text) {
    const QString caption = text + QLatin1Char('.');
    if (caption != m_numCaption) {
        m_numCaption = caption;
        update(m_numRect);
    }
    emit PropertyChanged(QStringLiteral("NumText"));
}

void ctlListItem::SetTitleText(const QString& text) {
    if (text != m_title) {
        m_title = text;
        update(m_titleRect);
    }
    emit PropertyChanged(QStringLiteral("TitleText"));
    Layout();
}

void ctlListItem::SetTimeText(const QString& text) {
    if (text != m_time) {
        m_time = text;
        update(m_timeRect);
    }
    emit PropertyChanged(QStringLiteral("TimeText"));
}

void ctlListItem::Layout() {
    const int w = width();
    QRect num = m_numRect;
    QRect title;
    QRect time = m_timeRect;
    if (m_isLeft) {
        title = QRect(kLeftMargin, kLeftMargin, std::max(w - 2 * kLeftMargin, 0),
                      kRowHeight - 2 * kLeftMargin);
    } else {
        num = QRect(0, kLabelTop, kNumWidth, kLabelHeight);
        time = QRect(w - kTimeWidth - kTimeRightGap, kLabelTop, kTimeWidth, kLabelHeight);
        title = QRect(kTitleLeft, kLabelTop, std::max(time.left() - kTitleLeft, 0), kLabelHeight);
    }
    const bool changed = num != m_numRect || title != m_titleRect || time != m_timeRect ||
                         m_numVisible == m_isLeft || m_timeVisible == m_isLeft;
    m_numRect = num;
    m_titleRect = title;
    m_timeRect = time;
    m_numVisible = !m_isLeft;
    m_timeVisible = !m_isLeft;
    if (changed) {
        update();
    }
}

void ctlListItem::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(ModSysColor::ToDisplayRgb(m_bkColor)));
    painter.setFont(font());
    // Each text is cut to its label, as a label of fixed width shows it.
    auto drawLabel = [&painter](const QRect& box, quint32 color, int align, const QString& text) {
        painter.save();
        painter.setClipRect(box);
        painter.setPen(QColor(ModSysColor::ToDisplayRgb(color)));
        painter.drawText(box, align | Qt::AlignVCenter, text);
        painter.restore();
    };
    if (m_numVisible) {
        drawLabel(m_numRect, m_numColor, Qt::AlignRight, m_numCaption);
    }
    drawLabel(m_titleRect, m_titleLabelColor, Qt::AlignLeft, m_title);
    if (m_timeVisible) {
        drawLabel(m_timeRect, m_timeLabelColor, Qt::AlignRight, m_time);
    }
    if (m_selected) {
        painter.setPen(QColor(ModSysColor::ToDisplayRgb(m_selectColor)));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void ctlListItem::resizeEvent(QResizeEvent*) {
    Layout();
}

void ctlListItem::mousePressEvent(QMouseEvent* event) {
    m_doubleClickPress = false;
    const QPointF p = event->position();
    emit MouseDown(ModInput::ButtonCode(event->button()), ModInput::ShiftCode(event->modifiers()),
                   float(p.x()), float(p.y()));
    event->accept();
}

void ctlListItem::mouseMoveEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    emit MouseMove(ModInput::ButtonCode(event->buttons()), ModInput::ShiftCode(event->modifiers()),
                   float(p.x()), float(p.y()));
    event->accept();
}

void ctlListItem::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    const bool over = rect().contains(p.toPoint());
    emit MouseUp(ModInput::ButtonCode(event->button()), ModInput::ShiftCode(event->modifiers()),
                 float(p.x()), float(p.y()));
    // The release that ends a double-click raised DblClick instead.
    if (event->button() == Qt::LeftButton && over && !m_doubleClickPress) {
        emit Click();
    }
    m_doubleClickPress = false;
    event->accept();
}

void ctlListItem::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    m_doubleClickPress = true;
    emit DblClick();
    event->accept();
}

void ctlListItem::keyPressEvent(QKeyEvent* event) {
    emit KeyDown(ModInput::KeyCode(event), ModInput::ShiftCode(event->modifiers()));
    const int ascii = ModInput::KeyAscii(event);
    if (ascii != 0) {
        emit KeyPress(ascii);
    }
    event->accept();
}

void ctlListItem::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat()) {
        emit KeyUp(ModInput::KeyCode(event), ModInput::ShiftCode(event->modifiers()));
    }
    event->accept();
}

void ctlListItem::ReadProperties(const PropertyBag& bag) {
    const QFont container = parentWidget() ? parentWidget()->font() : QFont();
    setFont(bag.ReadProperty(QStringLiteral("Font"), container).value<QFont>());
    // The stored selection is taken as it is, without touching the colours.
    m_selected = bag.ReadProperty(QStringLiteral("Selected"), false).toBool();
    const quint32 text = ModSysColor::kButtonText;
    m_numColor = bag.ReadProperty(QStringLiteral("NumColor"), text).toUInt();
    m_titleLabelColor = m_savedTitle =
        bag.ReadProperty(QStringLiteral("TitleColor"), text).toUInt();
    m_timeLabelColor = m_savedTime = bag.ReadProperty(QStringLiteral("TimeColor"), text).toUInt();
    m_selectColor = bag.ReadProperty(QStringLiteral("SelectColor"), 0u).toUInt();
    m_numCaption = bag.ReadProperty(QStringLiteral("NumText"), QStringLiteral("1.")).toString();
    m_title = bag.ReadProperty(QStringLiteral("TitleText"), QStringLiteral("Label2")).toString();
    m_time = bag.ReadProperty(QStringLiteral("TimeText"), QStringLiteral("00:00")).toString();
    m_bkColor = m_savedBack =
        bag.ReadProperty(QStringLiteral("BkColor"), ModSysColor::kButtonFace).toUInt();
    m_isLeft = bag.ReadProperty(QStringLiteral("IsLeft"), false).toBool();
    update();
}

void ctlListItem::WriteProperties(PropertyBag& bag) const {
    const quint32 text = ModSysColor::kButtonText;
    bag.WriteProperty(QStringLiteral("Font"), font());
    bag.WriteProperty(QStringLiteral("Selected"), m_selected, false);
    bag.WriteProperty(QStringLiteral("NumColor"), m_numColor, text);
    bag.WriteProperty(QStringLiteral("TitleColor"), m_titleLabelColor, text);
    bag.WriteProperty(QStringLiteral("TimeColor"), m_timeLabelColor, text);
    bag.WriteProperty(QStringLiteral("SelectColor"), m_selectColor, 0u);
    bag.WriteProperty(QStringLiteral("NumText"), m_numCaption, QStringLiteral("1."));
    bag.WriteProperty(QStringLiteral("TitleText"), m_title, QStringLiteral("Label2"));
    bag.WriteProperty(QStringLiteral("TimeText"), m_time, QStringLiteral("00:00"));
    bag.WriteProperty(QStringLiteral("BkColor"), m_bkColor, ModSysColor::kButtonFace);
}
