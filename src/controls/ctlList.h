#pragma once

#include "controls/CKeyedList.h"
#include "controls/CListItem.h"
#include "controls/CListSelection.h"
#include "controls/CListWindow.h"
#include "controls/ModSysColor.h"

#include <QFont>
#include <QImage>
#include <QVariant>
#include <QWidget>
#include <array>
#include <optional>

class LeaveTracking;
class PropertyBag;
class ctlListItem;
class ctlVScroll;

// The owner-drawn list of the playlist window: numbered rows of title and
// duration (or titles only, with IsLeft) over alternating background colours,
// with its own skinned scroll bar at the right edge when the items overflow.
//
// Items live in a keyed ordered store; the host addresses them by key (or by
// 1-based position where a method says so). A fixed pool of row controls
// shows the items from the scroll bar's value on: item n sits on BackColor
// when n is odd and BackColor2 when n is even, wherever it shows. Rows are
// selected by mouse: a plain press selects one item, Shift selects the range
// from the last plain press, Ctrl adds an item. The keys the host passes on
// (MoveCursor, SelectAll) follow the same rules: a step selects the item it
// lands on, with Shift the range from the anchor, and scrolls it into view.
// The wheel scrolls three rows a notch.
//
// Showing, scrolling, adding at the end and looking an item up cost time in
// proportion to the rows shown (and the logarithm of the item count), never
// to the number of items.
class ctlList : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWheelRows = 3;

    explicit ctlList(QWidget* parent = nullptr, LeaveTracking* tracking = nullptr);
    ~ctlList() override;

    void Clear();
    // Adds an unselected item: with no key, before or after it is appended
    // without a key; with a key alone it is appended under the key; with a key
    // and newBefore it goes before the item keyed newBefore. A key with both
    // newBefore and newAfter is rejected (ListKeyError); any other combination
    // adds nothing.
    void Add(const QString& newTitle, const QString& newTime, const QString& newKey = QString(),
             const QString& newBefore = QString(), const QString& newAfter = QString());
    // Moves the item under oldKey before the item keyed newBefore (to the end
    // when newBefore is empty), keyed newKey from then on. Does not redraw.
    void MoveTo(const QString& oldKey, const QString& newKey, const QString& newBefore,
                const QVariant& unused = QVariant());
    void Remove(const QString& newKey);

    // The item under a key (a string) or at a 1-based position (a number).
    std::optional<CListItem> ItemData(const QVariant& index) const;
    // Copies the record into the item and redraws; ListKeyError for an unknown index.
    void SetItemData(const QVariant& index, const CListItem& item);
    int Count() const { return m_list.Count(); }
    std::optional<CListItem> FirstItem() const;
    std::optional<CListItem> NextItem();
    std::optional<CListItem> PrevItem();
    // Selects exactly the item under the key (none when no item has it).
    std::optional<CListItem> SelectItem(const QString& index);
    // The first selected item, or the first item when none is selected.
    std::optional<CListItem> SelectItem() const;

    // Moves the cursor a step and selects as a press there would (`extend`:
    // as with Shift); returns the key of the item it lands on.
    QString MoveCursor(CListWindow::Step step, bool extend);
    void SelectAll();
    // The item a key acts on: the cursor's when it is selected, else the
    // first selected one; empty when nothing is selected.
    QString CursorKey() const;
    // The key of the item shown at `point` (in the list), or empty.
    QString KeyAt(QPoint point) const;
    // Scrolls the item into view; its row's rectangle in the list (empty
    // when no item has the key).
    QRect Reveal(const QString& key);

    quint32 BackColor() const { return m_backColor; }
    void SetBackColor(quint32 color);
    quint32 BackColor2() const { return m_backColor2; }
    void SetBackColor2(quint32 color);
    quint32 HilightColor() const { return m_hilightColor; }
    void SetHilightColor(quint32 color);
    // The key of the item that plays: its row shows number, title and
    // duration in HilightColor (a selected row keeps the select colours), so
    // the playing song is found at a glance. Empty: none plays.
    QString PlayingKey() const { return m_playingKey; }
    void SetPlayingKey(const QString& key);
    quint32 SelectColor() const;
    void SetSelectColor(quint32 color);
    quint32 TextColor() const;
    void SetTextColor(quint32 color);
    quint32 NumberColor() const;
    void SetNumberColor(quint32 color);
    quint32 DurationColor() const;
    void SetDurationColor(quint32 color);
    QFont Font() const { return m_font; }
    void SetFont(const QFont& font);
    QImage BarPicture() const;
    void SetBarPicture(const QImage& picture);
    QImage ThumbPicture() const;
    void SetThumbPicture(const QImage& picture);
    QImage ButtonPicture() const;
    void SetButtonPicture(const QImage& picture);
    bool IsLeft() const;
    void SetIsLeft(bool isLeft);

    // Where the row clicked last lies in the list (pixels) and its title.
    float m_X = 0;
    float m_Y = 0;
    QString m_Title;

    // The parts, for the host's layout and for tests.
    ctlVScroll* ScrollBar() const { return m_scroll; }
    // Row 0 is the hidden template, rows 1..100 the display rows.
    ctlListItem* Row(int index) const { return m_rows[index]; }
    QString RowKey(int index) const { return m_rowKeys[index]; }
    CListWindow Window() const;

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

signals:
    void Click(const QString& Index);
    void MouseDown(const QString& Index, int Button, int Shift, float X, float Y);
    void DBClick(const QString& Index);
    void PropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    using Handle = CKeyedList::Handle;

    Handle HandleFor(const QVariant& index) const;
    std::optional<CListItem> Record(Handle item) const;
    void Redraw();
    void FillRow(int row, int position, Handle item);
    void LayoutList();
    void PlaceScrollBar();
    void UpdateScrollRange();
    void ScrollTo(int value);
    void AfterChange(int changedPosition);
    void OnRowMouseDown(int row, int button, int shift, float x, float y);
    void OnRowClick(int row);
    void OnRowMouseMove(int row);

    CKeyedList m_list;
    CListSelection m_selection{m_list};
    ctlVScroll* m_scroll;
    std::array<ctlListItem*, CListWindow::kRowPool + 1> m_rows{};
    std::array<QString, CListWindow::kRowPool + 1> m_rowKeys;
    int m_filledRows = 0;
    bool m_needsScrollBar = false;
    int m_wheelRemainder = 0;
    quint32 m_backColor = ModSysColor::kButtonFace;
    quint32 m_backColor2 = 0;
    quint32 m_hilightColor = 0;
    QString m_playingKey;
    QFont m_font;
};
