#include "controls/CListWindow.h"

#include <algorithm>
#include <cmath>

int CListWindow::VisibleRows() const {
    if (rowHeight <= 0) {
        return 0;
    }
    return int(std::nearbyint(double(height) / rowHeight));
}

int CListWindow::FullRows() const {
    return rowHeight <= 0 || height <= 0 ? 0 : height / rowHeight;
}

int CListWindow::ShownRows() const {
    if (rowHeight <= 0 || height <= 0) {
        return 0;
    }
    return std::min((height + rowHeight - 1) / rowHeight, kRowPool);
}

bool CListWindow::NeedsScrollBar() const {
    return count > FullRows();
}

int CListWindow::ScrollMax() const {
    if (!NeedsScrollBar()) {
        return kScrollMin;
    }
    return std::max(kScrollMin, count - VisibleRows() + kSlack);
}

int CListWindow::PageSize() const {
    return std::max(FullRows() - 1, 1);
}

int CListWindow::PositionInRow(int first, int row) const {
    if (row < 1 || row > ShownRows()) {
        return 0;
    }
    const int position = first + row - 1;
    return position >= 1 && position <= count ? position : 0;
}

int CListWindow::ClampedValue(int value) const {
    return std::clamp(value, kScrollMin, ScrollMax());
}

int CListWindow::Stepped(Step step, int cursor) const {
    if (count <= 0) {
        return 0;
    }
    if (cursor < 1 || cursor > count) {
        return step == Step::End ? count : 1;
    }
    switch (step) {
    case Step::Up:
        return std::max(cursor - 1, 1);
    case Step::Down:
        return std::min(cursor + 1, count);
    case Step::PageUp:
        return std::max(cursor - PageSize(), 1);
    case Step::PageDown:
        return std::min(cursor + PageSize(), count);
    case Step::Home:
        return 1;
    case Step::End:
        return count;
    }
    return cursor;
}

int CListWindow::ScrolledToShow(int first, int position) const {
    const int rows = std::max(FullRows(), 1);
    if (position < first) {
        first = position;
    } else if (position > first + rows - 1) {
        first = position - rows + 1;
    }
    return ClampedValue(first);
}
