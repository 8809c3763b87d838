#pragma once

#include "controls/ModColor.h"

#include <QImage>
#include <QStringList>
#include <QWidget>
#include <array>

class PictureSurface;
class QAction;
class QMenu;
class QTimer;

// The button strip of the playlist window: seven picture buttons cut from one
// strip image (seven equal cells side by side), the one under the pointer
// drawn from a second "hot" strip, or, when the skin has none, drawn shifted
// one pixel up and to the left. Each button is shaped to the pixels of its
// cell that differ from the mask colour; around and between them the control
// shows the host window's picture (PicBackImg) at its own place, so it blends
// into the skinned window.
//
// Pressing one of the first three buttons pops up its menu just under it
// ("Insert", "Delete", "List"); the other four light up but do nothing. The
// menus' command items are disabled until their commands exist; MenuAction
// gives each one by name so the program can enable and connect it.
//
// While the pointer is over the control a 100 ms timer watches the cursor;
// once it is outside the control's screen rectangle the buttons return to
// normal and MouseLeave is raised.
class ctlToolbar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kButtons = 7;
    static constexpr int kHoverInterval = 100; // ms
    enum Menu { InsertMenu = 0, DeleteMenu = 1, ListMenu = 2 };

    explicit ctlToolbar(QWidget* parent = nullptr);
    ~ctlToolbar() override;

    QImage PicDefault() const { return m_default; }
    void SetPicDefault(const QImage& strip);
    QImage PicHot() const { return m_hot; }
    // A null image means the skin has no hot strip.
    void SetPicHot(const QImage& strip);
    QImage PicBackImg() const { return m_back; }
    // The host window's picture; the control shows the part under itself.
    void SetPicBackImg(const QImage& picture);
    quint32 MaskColor() const { return m_maskColor; }
    void SetMaskColor(quint32 maskColor);

    int CurrentIndex() const { return m_currentIndex; }
    int HotIndex() const { return m_hotIndex; }
    // Pointer tracking hook of the window subclassing; nothing to do here.
    void PreMouseLeave() {}

    // The button whose cell holds x strictly inside, or -1.
    int HitTest(int x) const;
    // Where button i sits in the control.
    QRect ButtonRect(int i) const;
    // What button i shows and its shape (in the button's own coordinates).
    QImage ButtonPicture(int i) const;
    QRegion ButtonShape(int i) const;
    static QString ButtonToolTip(int i);

    // The pop-up menu of a button (InsertMenu .. ListMenu).
    QMenu* PopupMenu(Menu menu) const { return m_menus[menu]; }
    // A menu item by its name, e.g. "Insert_File", "Delete_All", "List_New".
    QAction* MenuAction(const QString& name) const;
    // The menu open now, or nullptr.
    QMenu* OpenMenu() const;
    bool IsHoverTimerActive() const;

    // Draws button i normal or hot.
    void DrawButton(int i, bool hot);

signals:
    void Click();
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);
    void MouseLeave();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Layout();
    void CreateMenus();
    int ButtonUnder(QPoint at) const;
    void ShowMenuOf(int i);
    void OnHoverTick();
    int CellWidth() const { return m_default.width() / kButtons; }

    QImage m_default;
    QImage m_hot;
    QImage m_back;
    quint32 m_maskColor = ModColor::kMagenta;
    int m_currentIndex = 0;
    int m_hotIndex = 0;
    std::array<PictureSurface*, kButtons> m_show{};
    std::array<QMenu*, 3> m_menus{};
    QTimer* m_hoverTimer;
};
