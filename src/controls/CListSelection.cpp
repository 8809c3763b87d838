#include "controls/CListSelection.h"

#include "controls/CKeyedList.h"

#include <algorithm>

void CListSelection::Press(int position, int shift) {
    if (position < 1 || position > m_list.Count()) {
        return;
    }
    m_cursor = position;
    if (shift == Plain) {
        m_anchor = position;
        m_list.ClearSelection();
        m_list.SetSelected(m_list.At(position), true);
    } else if (shift == WithShift) {
        SelectRange(m_anchor, position);
    } else if (shift == WithCtrl) {
        m_list.SetSelected(m_list.At(position), true);
    }
}

int CListSelection::Step(const CListWindow& window, CListWindow::Step step, bool extend) {
    const int cursor = m_cursor >= 1 && m_cursor <= m_list.Count() ? m_cursor : 0;
    const int position = window.Stepped(step, cursor);
    if (position == 0) {
        return 0;
    }
    if (cursor == 0) {
        m_anchor = position; // nothing to extend from yet
    }
    Press(position, extend ? WithShift : Plain);
    return position;
}

void CListSelection::SelectAll() {
    SelectRange(1, m_list.Count());
}

QString CListSelection::CursorKey() const {
    const CKeyedList::Handle cursor = m_list.At(m_cursor);
    if (cursor && m_list.Item(cursor).iSelected) {
        return m_list.KeyOf(cursor);
    }
    const CKeyedList::Handle selected = m_list.FirstSelected();
    return selected ? m_list.KeyOf(selected) : QString();
}

// Exactly the items between the two positions (either order) are selected.
void CListSelection::SelectRange(int from, int to) {
    const int count = m_list.Count();
    m_list.ClearSelection();
    if (count == 0) {
        return;
    }
    const int first = std::clamp(std::min(from, to), 1, count);
    const int last = std::clamp(std::max(from, to), 1, count);
    CKeyedList::Handle item = m_list.At(first);
    for (int p = first; p <= last && item; ++p, item = m_list.Next(item)) {
        m_list.SetSelected(item, true);
    }
}
