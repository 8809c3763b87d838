#pragma once

// The arithmetic of which items a list of fixed-height rows shows: how many
// rows fit, whether the items need a scroll bar, the scroll range and the rows
// to fill from a first visible position. Positions and scroll values are
// 1-based: scroll value v shows item v in the top row.
struct CListWindow {
    // The keys that move the cursor of a list.
    enum class Step { Up, Down, PageUp, PageDown, Home, End };

    static constexpr int kRowPool = 100; // rows that ever show
    static constexpr int kScrollMin = 1;
    // Positions past the last full page that the scroll range reaches, so
    // that the end of the list can be scrolled clear of the bottom edge.
    static constexpr int kSlack = 4;

    int height = 0;    // pixels
    int rowHeight = 1; // pixels
    int count = 0;     // items

    // Rows that fit, rounded to the nearest row (halves to even).
    int VisibleRows() const;
    // Rows that fit entirely.
    int FullRows() const;
    // Rows to fill: every row at least partly inside the height, at most the
    // pool.
    int ShownRows() const;
    // True when some item would lie below the last full row.
    bool NeedsScrollBar() const;
    // The largest scroll value: count - visible rows + slack when the items
    // need scrolling, else the minimum (nothing to scroll).
    int ScrollMax() const;
    // One page of the scroll bar: the full rows less one of overlap.
    int PageSize() const;
    // The item position shown in `row` (1-based) from scroll value `first`,
    // or 0 when that row is empty.
    int PositionInRow(int first, int row) const;
    // `value` kept within kScrollMin..ScrollMax().
    int ClampedValue(int value) const;
    // Where `step` moves the cursor from `cursor` (0: no cursor yet, which
    // any step but End puts on the first item); 0 for an empty list. A page
    // is PageSize() items, so the item at the edge stays in sight.
    int Stepped(Step step, int cursor) const;
    // The scroll value nearest `first` that shows `position` in a full row.
    int ScrolledToShow(int first, int position) const;
};
