#pragma once

#include "skin/MiniWindowApply.h"
#include "skin/SkinImages.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <functional>
#include <optional>

class Prompts;
class SkinStore;
class cMagneticWnd;
class frmPlayerWindow;

// Mini mode: the player window in the shape of a compact bar and back. The
// bar is the same window with the same controls (so the keys, the desktop's
// media controls and the playback controller reach it unchanged), shaped and
// laid out by the skin's "mini_window", or by a bar derived from the player
// window's pictures when the skin has none or a broken one.
//
// Entering puts the program's other windows away (every window the list
// gives, hidden and left out of the magnetic glue) and leaving shows again
// exactly those that were visible. The bar opens where the player window's
// top-left corner was, is dragged and snapped like the player window, and
// the player window comes back at its own place. The mini-mode button
// switches both ways; a double-click on the bar's body leaves.
//
// A skin switched while in mini mode shows its own bar at once: the user is
// in mini mode by choice, and choosing a look should not undo that.
class MiniMode : public QObject {
    Q_OBJECT
public:
    // The program's windows other than the player window, as they are now.
    using WindowList = std::function<QList<QWidget*>()>;

    MiniMode(frmPlayerWindow& window, SkinStore& skins, Prompts& prompts, cMagneticWnd& magnetic,
             WindowList others);
    ~MiniMode() override;

    bool IsActive() const { return m_active; }
    // The bar for the current skin (made at every skin applied).
    const std::optional<MiniBar>& Bar() const { return m_bar; }

    void Toggle();
    void Enter();
    // False when the full skin could not be put back (the user has been
    // told); the window then stays the bar.
    bool Leave();

    // The player window's rectangle: where it is, or in mini mode where it
    // returns to (with the current skin's size).
    QRect FullGeometry() const;

signals:
    void ActiveChanged(bool active);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnSkinApplied();
    void MakeBar();
    void ApplyBar();

    frmPlayerWindow& m_window;
    SkinStore& m_skins;
    Prompts& m_prompts;
    cMagneticWnd& m_magnetic;
    WindowList m_others;
    std::optional<MiniBar> m_bar;
    std::optional<SkinImages> m_images;
    bool m_active = false;
    // Set while the full skin is put back: that is no new skin.
    bool m_leaving = false;
    QPoint m_fullPos;
    QSize m_fullSize;
    // What entering hid: the other windows that were visible, and the
    // window's own children the bar has no place for.
    QList<QPointer<QWidget>> m_hiddenWindows;
    QList<QPointer<QWidget>> m_shownChildren;
};
