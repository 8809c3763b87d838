#pragma once

#include "controls/CListWindow.h"

#include <QString>

class CKeyedList;

// The selection rules of the list control, for the mouse and the keys alike:
// a plain press selects exactly one item and makes it the anchor, Shift
// selects exactly the range from the anchor, Ctrl adds an item. The cursor
// is the item pressed or stepped to last; keys move it. Positions are
// 1-based; they are positions, so after items are removed the anchor and
// cursor name whatever items now stand there (kept within the list).
class CListSelection {
public:
    // The mouse's Shift codes.
    enum Shift { Plain = 0, WithShift = 1, WithCtrl = 2 };

    explicit CListSelection(CKeyedList& list) : m_list(list) {}

    void Press(int position, int shift);
    // Moves the cursor as `step` does in `window` and selects as a plain or
    // Shift press there; the new cursor position, 0 for an empty list.
    int Step(const CListWindow& window, CListWindow::Step step, bool extend);
    void SelectAll();
    // The item keys act on: the cursor's when it is selected, else the
    // first selected one; empty when nothing is selected.
    QString CursorKey() const;

private:
    void SelectRange(int from, int to);

    CKeyedList& m_list;
    int m_anchor = 0;
    int m_cursor = 0; // 0: none yet
};
