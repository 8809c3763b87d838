#pragma once

#include "winsvc/SizeFloor.h"

#include <QObject>
#include <QTimer>

class QWidget;

// Holds a top-level window at its minimum size (QWidget::minimumSize, which
// Qt also gives the window manager as its size hint) against resizes from
// outside the program: a manager's frame or Alt+drag, a tiling layout, another
// program. The program's own sizing never goes below it; a resize from outside
// that ends below it (no further resize for kSettleMs) snaps back as SizeFloor
// answers. Made as a child of the window it guards.
class MinimumSizeGuard : public QObject {
    Q_OBJECT
public:
    // How long a window's size must rest before it counts as the end of a
    // resize: a manager's frame drag sends many in a row.
    static constexpr int kSettleMs = 150;

    explicit MinimumSizeGuard(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CheckSettled();

    QWidget* m_window;
    SizeFloor m_floor;
    QTimer m_settle;
};
