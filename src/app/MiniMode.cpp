#include "app/MiniMode.h"

#include "app/frmPlayerWindow.h"
#include "controls/ctlButton.h"
#include "skin/ModSkinApply.h"
#include "skin/SkinStore.h"
#include "winsvc/Prompts.h"
#include "winsvc/cMagneticWnd.h"

#include <QEvent>
#include <QMouseEvent>

MiniMode::MiniMode(frmPlayerWindow& window, SkinStore& skins, Prompts& prompts,
                   cMagneticWnd& magnetic, WindowList others)
    : m_window(window), m_skins(skins), m_prompts(prompts), m_magnetic(magnetic),
      m_others(std::move(others)) {
    connect(window.cmdMinimode(), &ctlButton::Click, this, &MiniMode::Toggle);
    connect(&window, &frmPlayerWindow::SkinApplied, this, &MiniMode::OnSkinApplied);
    window.installEventFilter(this);
}

MiniMode::~MiniMode() = default;

void MiniMode::Toggle() {
    if (m_active)
        Leave();
    else
        Enter();
}

void MiniMode::Enter() {
    if (m_active || !m_skins.HasSkin())
        return;
    if (!m_bar)
        MakeBar();
    m_fullPos = m_window.pos();
    m_fullSize = m_window.size();
    m_shownChildren.clear();
    for (QWidget* child : m_window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow() && !child->isHidden())
            m_shownChildren << child;
    m_hiddenWindows.clear();
    for (QWidget* other : m_others()) {
        m_magnetic.SetAsleep(other, true);
        if (other->isVisible()) {
            m_hiddenWindows << other;
            other->hide();
        }
    }
    m_active = true;
    ApplyBar();
    m_window.move(m_fullPos);
    m_magnetic.CheckGlueing();
    emit ActiveChanged(true);
}

bool MiniMode::Leave() {
    if (!m_active)
        return true;
    for (const QPointer<QWidget>& child : m_shownChildren)
        if (child)
            child->show();
    m_active = false;
    m_leaving = true;
    const bool restored = m_window.ReLoadSkin();
    m_leaving = false;
    if (!restored) {
        m_active = true;
        ApplyBar();
        return false;
    }
    m_window.move(m_fullPos);
    for (QWidget* other : m_others())
        m_magnetic.SetAsleep(other, false);
    for (const QPointer<QWidget>& other : std::exchange(m_hiddenWindows, {}))
        if (other)
            other->show();
    m_magnetic.CheckGlueing();
    emit ActiveChanged(false);
    return true;
}

QRect MiniMode::FullGeometry() const {
    return m_active ? QRect(m_fullPos, m_fullSize) : m_window.geometry();
}

// Every skin the window takes gets its bar made (and a broken bar reported)
// then, like any other skin problem; in mini mode the new bar shows at once,
// where the old one was.
void MiniMode::OnSkinApplied() {
    if (m_leaving)
        return;
    MakeBar();
    if (!m_active)
        return;
    m_fullSize = m_window.size();
    const QPoint barAt = m_fullPos;
    ApplyBar();
    m_window.move(barAt);
}

void MiniMode::MakeBar() {
    const SkinInfo& skin = m_skins.Skin();
    const QString& name = m_skins.CurrentSkinName();
    m_images.emplace(ModSkinApply::SkinFolder(m_skins, name));
    m_bar.reset();
    if (skin.MiniWindow) {
        m_bar = MiniWindowApply::SkinBar(*skin.MiniWindow, *m_images);
        if (!m_bar)
            m_prompts.MsgBox(MiniWindowApply::BrokenBarMessage(name, m_images->FailedFile()));
    }
    if (!m_bar)
        m_bar = MiniWindowApply::DerivedBar(skin.PlayerWindow, skin.TransparentColor, *m_images);
}

void MiniMode::ApplyBar() {
    PlayerWindowParts parts = m_window.Parts();
    MiniWindowApply::ApplyMiniBar(*m_bar, m_skins.Skin().TransparentColor, *m_images, parts);
    const MiniWindowSkin& layout = m_bar->Layout;
    m_window.SetPlayPauseSkinned(!layout.Play.Image.isEmpty(), !layout.Pause.Image.isEmpty());
}

bool MiniMode::eventFilter(QObject* watched, QEvent* event) {
    if (m_active && watched == &m_window && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Leave();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
