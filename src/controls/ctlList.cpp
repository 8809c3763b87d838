#include "controls/ctlList.h"

#include "controls/PropertyBag.h"
#include "controls/ctlListItem.h"
#include "controls/ctlVScroll.h"

#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

namespace {
constexpr int kRowHeight = ctlListItem::kRowHeight;
}

ctlList::ctlList(QWidget* parent, LeaveTracking* tracking)
    : QWidget(parent), m_scroll(new ctlVScroll(this, tracking)),
      m_font(parent ? parent->font() : QFont()) {
    m_rows[0] = new ctlListItem(this);
    m_rows[0]->hide();
    for (int i = 1; i <= CListWindow::kRowPool; ++i) {
        auto* row = new ctlListItem(this);
        row->hide();
        row->SetNumText(QString::number(i));
        row->move(0, (i - 1) * kRowHeight);
        connect(row, &ctlListItem::MouseDown, this,
                [this, i](int b, int s, float x, float y) { OnRowMouseDown(i, b, s, x, y); });
        connect(row, &ctlListItem::Click, this, [this, i] { OnRowClick(i); });
        connect(row, &ctlListItem::DblClick, this, [this, i] { emit DBClick(m_rowKeys[i]); });
        connect(row, &ctlListItem::MouseMove, this, [this, i] { OnRowMouseMove(i); });
        m_rows[i] = row;
    }
    m_scroll->SetMin(CListWindow::kScrollMin);
    m_scroll->SetMax(CListWindow::kScrollMin);
    m_scroll->SetValue(CListWindow::kScrollMin);
    m_scroll->raise();
    connect(m_scroll, &ctlVScroll::Scroll, this, &ctlList::Redraw);
    LayoutList();
}

ctlList::~ctlList() = default;

CListWindow ctlList::Window() const {
    return CListWindow{height(), kRowHeight, m_list.Count()};
}

ctlList::Handle ctlList::HandleFor(const QVariant& index) const {
    if (index.typeId() == QMetaType::QString) {
        return m_list.Find(index.toString());
    }
    bool isNumber = false;
    const int position = index.toInt(&isNumber);
    return isNumber ? m_list.At(position) : nullptr;
}

std::optional<CListItem> ctlList::Record(Handle item) const {
    if (!item) {
        return std::nullopt;
    }
    return m_list.Item(item);
}

void ctlList::Clear() {
    m_list.Clear();
    m_scroll->SetValue(m_scroll->Min());
    AfterChange(1);
}

void ctlList::Add(const QString& newTitle, const QString& newTime, const QString& newKey,
                  const QString& newBefore, const QString& newAfter) {
    CListItem item;
    item.iTitle = newTitle;
    item.iTime = newTime;
    item.iData = newKey;
    Handle added = nullptr;
    if (newKey.isEmpty() && newBefore.isEmpty() && newAfter.isEmpty()) {
        added = m_list.Append(QString(), item);
    } else if (!newKey.isEmpty() && newBefore.isEmpty() && newAfter.isEmpty()) {
        added = m_list.Append(newKey, item);
    } else if (!newKey.isEmpty() && !newBefore.isEmpty() && newAfter.isEmpty()) {
        added = m_list.InsertBefore(newKey, item, newBefore);
    } else if (!newKey.isEmpty() && !newBefore.isEmpty()) {
        throw ListKeyError(ListKeyError::InvalidCall, "Both before and after are given");
    }
    if (added) {
        AfterChange(m_list.PositionOf(added));
    }
}

void ctlList::MoveTo(const QString& oldKey, const QString& newKey, const QString& newBefore,
                     const QVariant&) {
    m_list.MoveTo(oldKey, newKey, newBefore);
}

void ctlList::Remove(const QString& newKey) {
    const Handle item = m_list.Find(newKey);
    if (!item) {
        m_list.Remove(newKey); // raises the store's error
        return;
    }
    const int position = m_list.PositionOf(item);
    m_list.Remove(newKey);
    AfterChange(position);
}

std::optional<CListItem> ctlList::ItemData(const QVariant& index) const {
    return Record(HandleFor(index));
}

void ctlList::SetItemData(const QVariant& index, const CListItem& item) {
    const Handle stored = HandleFor(index);
    if (!stored) {
        throw ListKeyError(ListKeyError::InvalidCall, "No item has this index");
    }
    m_list.Assign(stored, item);
    // Rows out of sight are filled when they scroll into view; changing many
    // items (lengths read in the background) then costs no redraw each.
    const int position = m_list.PositionOf(stored);
    const int first = m_scroll->Value();
    if (position >= first && position < first + Window().ShownRows()) {
        Redraw();
    }
}

std::optional<CListItem> ctlList::FirstItem() const {
    return Record(m_list.First());
}

std::optional<CListItem> ctlList::NextItem() {
    if (m_list.Count() == 0) {
        return std::nullopt;
    }
    Handle selected = m_list.FirstSelected();
    if (!selected) {
        selected = m_list.Last();
        m_list.SetSelected(selected, true);
    } else if (const Handle next = m_list.Next(selected)) {
        m_list.SetSelected(selected, false);
        m_list.SetSelected(next, true);
        selected = next;
    }
    Redraw();
    return Record(selected);
}

std::optional<CListItem> ctlList::PrevItem() {
    if (m_list.Count() == 0) {
        return std::nullopt;
    }
    Handle selected = m_list.FirstSelected();
    if (!selected) {
        selected = m_list.First();
        m_list.SetSelected(selected, true);
    } else if (const Handle prev = m_list.Prev(selected)) {
        m_list.SetSelected(prev, true);
        m_list.SetSelected(selected, false);
        selected = prev;
    }
    Redraw();
    return Record(selected);
}

std::optional<CListItem> ctlList::SelectItem(const QString& index) {
    m_list.ClearSelection();
    const Handle item = m_list.Find(index);
    if (item) {
        m_list.SetSelected(item, true);
    }
    Redraw();
    return Record(item);
}

std::optional<CListItem> ctlList::SelectItem() const {
    const Handle selected = m_list.FirstSelected();
    return Record(selected ? selected : m_list.First());
}

// Colours and pictures.

void ctlList::SetBackColor(quint32 color) {
    m_backColor = color;
    emit PropertyChanged(QStringLiteral("BackColor"));
    update();
    Redraw();
}

void ctlList::SetBackColor2(quint32 color) {
    m_backColor2 = color;
    emit PropertyChanged(QStringLiteral("BackColor2"));
    Redraw();
}

void ctlList::SetHilightColor(quint32 color) {
    m_hilightColor = color;
    emit PropertyChanged(QStringLiteral("HilightColor"));
    Redraw();
}

void ctlList::SetPlayingKey(const QString& key) {
    if (key != m_playingKey) {
        m_playingKey = key;
        Redraw();
    }
}

quint32 ctlList::SelectColor() const {
    return m_rows[0]->SelectColor();
}
void ctlList::SetSelectColor(quint32 color) {
    m_rows[0]->SetSelectColor(color);
    emit PropertyChanged(QStringLiteral("SelectColor"));
    Redraw();
}

quint32 ctlList::TextColor() const {
    return m_rows[0]->TitleColor();
}
void ctlList::SetTextColor(quint32 color) {
    m_rows[0]->SetTitleColor(color);
    emit PropertyChanged(QStringLiteral("TextColor"));
    Redraw();
}

quint32 ctlList::NumberColor() const {
    return m_rows[0]->NumColor();
}
void ctlList::SetNumberColor(quint32 color) {
    m_rows[0]->SetNumColor(color);
    emit PropertyChanged(QStringLiteral("NumberColor"));
    Redraw();
}

quint32 ctlList::DurationColor() const {
    return m_rows[0]->TimeColor();
}
void ctlList::SetDurationColor(quint32 color) {
    m_rows[0]->SetTimeColor(color);
    emit PropertyChanged(QStringLiteral("DurationColor"));
    Redraw();
}

void ctlList::SetFont(const QFont& font) {
    m_font = font;
    emit PropertyChanged(QStringLiteral("Font"));
}

QImage ctlList::BarPicture() const {
    return m_scroll->BarPicture();
}
void ctlList::SetBarPicture(const QImage& picture) {
    m_scroll->SetBarPicture(picture);
    emit PropertyChanged(QStringLiteral("BarPicture"));
    LayoutList();
}

QImage ctlList::ThumbPicture() const {
    return m_scroll->ThumbPicture();
}
void ctlList::SetThumbPicture(const QImage& picture) {
    m_scroll->SetThumbPicture(picture);
    emit PropertyChanged(QStringLiteral("ThumbPicture"));
    LayoutList();
}

QImage ctlList::ButtonPicture() const {
    return m_scroll->ButtonPicture();
}
void ctlList::SetButtonPicture(const QImage& picture) {
    m_scroll->SetButtonPicture(picture);
    emit PropertyChanged(QStringLiteral("ButtonPicture"));
    LayoutList();
}

bool ctlList::IsLeft() const {
    return m_rows[0]->IsLeft();
}
void ctlList::SetIsLeft(bool isLeft) {
    m_rows[0]->SetIsLeft(isLeft);
    Redraw();
}

// Showing the items.

void ctlList::Redraw() {
    const CListWindow window = Window();
    const int first = m_scroll->Value();
    const int shown = window.ShownRows();
    Handle item = m_list.At(first);
    int row = 1;
    for (; row <= shown && item; ++row, item = m_list.Next(item)) {
        FillRow(row, first + row - 1, item);
    }
    const int filled = row - 1;
    for (int r = filled + 1; r <= m_filledRows; ++r) {
        m_rows[r]->hide();
        m_rowKeys[r].clear();
    }
    m_filledRows = filled;
}

void ctlList::FillRow(int r, int position, Handle item) {
    ctlListItem* row = m_rows[r];
    const ctlListItem* model = m_rows[0];
    const CListItem& record = m_list.Item(item);
    row->SetBkColor(position % 2 == 1 ? m_backColor : m_backColor2);
    const bool relayout = row->IsLeft() != model->IsLeft();
    row->SetIsLeft(model->IsLeft());
    // The colours come first, so that a selected row remembers the list's
    // colours for the time it shows an unselected item again.
    row->SetSelectColor(model->SelectColor());
    const bool playing = !m_playingKey.isEmpty() && m_list.KeyOf(item) == m_playingKey;
    row->SetTitleColor(playing ? m_hilightColor : model->TitleColor());
    row->SetNumColor(playing ? m_hilightColor : model->NumColor());
    row->SetTimeColor(playing ? m_hilightColor : model->TimeColor());
    row->SetSelected(record.iSelected);
    row->SetNumText(QString::number(position));
    row->SetTitleText(record.iTitle);
    row->SetTimeText(record.iTime);
    if (row->width() != model->width()) {
        row->resize(model->width(), kRowHeight);
    } else if (relayout) {
        row->Layout();
    }
    if (row->isHidden()) {
        row->show();
    }
    m_rowKeys[r] = m_list.KeyOf(item);
}

void ctlList::PlaceScrollBar() {
    m_needsScrollBar = Window().NeedsScrollBar();
    const int barWidth = m_scroll->width();
    const int left = m_needsScrollBar ? width() - barWidth : width();
    const QRect place(left, 0, barWidth, height());
    if (m_scroll->geometry() != place) {
        m_scroll->setGeometry(place);
    }
    for (ctlListItem* row : m_rows) {
        if (row->width() != left) {
            row->resize(left, kRowHeight);
        }
    }
}

void ctlList::UpdateScrollRange() {
    const CListWindow window = Window();
    const int max = window.ScrollMax();
    const int page = window.PageSize();
    if (m_scroll->Max() == max && m_scroll->LargeChange() == page) {
        return;
    }
    m_scroll->SetMax(max); // takes the value along when it lies past the new end
    m_scroll->SetLargeChange(page);
    m_scroll->PlaceThumb();
}

// After the items changed at `changedPosition`: the scroll bar follows the
// count, and the rows are drawn again when the change shows in them.
void ctlList::AfterChange(int changedPosition) {
    const int firstBefore = m_scroll->Value();
    const bool barBefore = m_needsScrollBar;
    UpdateScrollRange();
    PlaceScrollBar();
    const int lastShown = m_scroll->Value() + Window().ShownRows() - 1;
    if (changedPosition <= lastShown || m_scroll->Value() != firstBefore ||
        barBefore != m_needsScrollBar) {
        Redraw();
    }
}

void ctlList::LayoutList() {
    UpdateScrollRange();
    PlaceScrollBar();
    Redraw();
}

void ctlList::ScrollTo(int value) {
    value = std::clamp(value, m_scroll->Min(), std::max(m_scroll->Min(), m_scroll->Max()));
    if (value == m_scroll->Value()) {
        return;
    }
    m_scroll->SetValue(value);
    m_scroll->Layout();
    Redraw();
}

void ctlList::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(ModSysColor::ToDisplayRgb(m_backColor)));
}

void ctlList::resizeEvent(QResizeEvent*) {
    LayoutList();
}

void ctlList::wheelEvent(QWheelEvent* event) {
    event->accept();
    m_wheelRemainder += event->angleDelta().y();
    const int notches = m_wheelRemainder / QWheelEvent::DefaultDeltasPerStep;
    m_wheelRemainder %= QWheelEvent::DefaultDeltasPerStep;
    if (notches != 0) {
        ScrollTo(m_scroll->Value() - notches * kWheelRows);
    }
}

// Keys.

QString ctlList::MoveCursor(CListWindow::Step step, bool extend) {
    const int position = m_selection.Step(Window(), step, extend);
    if (position == 0) {
        return QString();
    }
    const int first = Window().ScrolledToShow(m_scroll->Value(), position);
    if (first != m_scroll->Value()) {
        ScrollTo(first);
    } else {
        Redraw();
    }
    return m_list.KeyOf(m_list.At(position));
}

void ctlList::SelectAll() {
    m_selection.SelectAll();
    Redraw();
}

QString ctlList::CursorKey() const {
    return m_selection.CursorKey();
}

QString ctlList::KeyAt(QPoint point) const {
    const int row = point.y() / kRowHeight + 1;
    if (point.x() < 0 || point.x() >= m_scroll->x() || point.y() < 0 || row > m_filledRows) {
        return QString();
    }
    return m_rowKeys[row];
}

QRect ctlList::Reveal(const QString& key) {
    const Handle item = m_list.Find(key);
    if (!item) {
        return QRect();
    }
    const int position = m_list.PositionOf(item);
    ScrollTo(Window().ScrolledToShow(m_scroll->Value(), position));
    const int row = position - m_scroll->Value();
    return QRect(0, row * kRowHeight, m_scroll->x(), kRowHeight);
}

void ctlList::OnRowMouseDown(int r, int button, int shift, float x, float y) {
    ctlListItem* row = m_rows[r];
    m_selection.Press(row->NumText().toInt(), shift);
    Redraw();
    emit MouseDown(row->TitleText(), button, shift, x + float(row->x()), y + float(row->y()));
}

void ctlList::OnRowClick(int r) {
    const ctlListItem* row = m_rows[r];
    m_X = float(row->x());
    m_Y = float(row->y());
    m_Title = row->TitleText();
    emit Click(m_rowKeys[r]);
}

void ctlList::OnRowMouseMove(int r) {
    ctlListItem* row = m_rows[r];
    if (row->toolTip() != row->TitleText()) {
        row->setToolTip(row->TitleText());
    }
}

// Design-time properties.

void ctlList::ReadProperties(const PropertyBag& bag) {
    const QFont container = parentWidget() ? parentWidget()->font() : QFont();
    const quint32 text = ModSysColor::kButtonText;
    m_font = bag.ReadProperty(QStringLiteral("Font"), container).value<QFont>();
    m_backColor = bag.ReadProperty(QStringLiteral("BackColor"), ModSysColor::kButtonFace).toUInt();
    m_rows[0]->SetTitleColor(bag.ReadProperty(QStringLiteral("TextColor"), text).toUInt());
    m_hilightColor = bag.ReadProperty(QStringLiteral("HilightColor"), 0u).toUInt();
    m_rows[0]->SetNumColor(bag.ReadProperty(QStringLiteral("NumberColor"), text).toUInt());
    m_rows[0]->SetTimeColor(bag.ReadProperty(QStringLiteral("DurationColor"), text).toUInt());
    m_rows[0]->SetSelectColor(bag.ReadProperty(QStringLiteral("SelectColor"), 0u).toUInt());
    m_backColor2 = bag.ReadProperty(QStringLiteral("BackColor2"), 0u).toUInt();
    m_scroll->SetBarPicture(bag.ReadProperty(QStringLiteral("BarPicture")).value<QImage>());
    m_scroll->SetThumbPicture(bag.ReadProperty(QStringLiteral("ThumbPicture")).value<QImage>());
    m_scroll->SetButtonPicture(bag.ReadProperty(QStringLiteral("ButtonPicture")).value<QImage>());
    update();
    LayoutList();
}

void ctlList::WriteProperties(PropertyBag& bag) const {
    const quint32 text = ModSysColor::kButtonText;
    bag.WriteProperty(QStringLiteral("Font"), m_font);
    bag.WriteProperty(QStringLiteral("BackColor"), m_backColor, ModSysColor::kButtonFace);
    bag.WriteProperty(QStringLiteral("TextColor"), TextColor(), text);
    bag.WriteProperty(QStringLiteral("HilightColor"), m_hilightColor, 0u);
    bag.WriteProperty(QStringLiteral("NumberColor"), NumberColor(), text);
    bag.WriteProperty(QStringLiteral("DurationColor"), DurationColor(), text);
    bag.WriteProperty(QStringLiteral("SelectColor"), SelectColor(), 0u);
    bag.WriteProperty(QStringLiteral("BackColor2"), m_backColor2, 0u);
    bag.WriteProperty(QStringLiteral("BarPicture"), BarPicture(), QImage());
    bag.WriteProperty(QStringLiteral("ThumbPicture"), ThumbPicture(), QImage());
    bag.WriteProperty(QStringLiteral("ButtonPicture"), ButtonPicture(), QImage());
}
