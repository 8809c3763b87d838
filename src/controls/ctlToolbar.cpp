#include "controls/ctlToolbar.h"

#include "controls/ModInput.h"
#include "controls/ModMask.h"
#include "controls/PictureSurface.h"

#include <QCursor>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>

namespace {

struct MenuItem {
    const char* name; // empty for a separator
    QString caption;
};

// The items of the three menus, by button, each made greyed: the program
// enables those it connects.
const std::array<QList<MenuItem>, 3>& MenuItems() {
    static const std::array<QList<MenuItem>, 3> items = {{
        {{"Insert_File", QStringLiteral("文件(&F)...")},
         {"Insert_FilePath", QStringLiteral("文件夹(&P)...")},
         {"Insert_SearchLocal", QStringLiteral("本地搜索(&S)...")},
         {"Insert_SearchOnline", QStringLiteral("[推荐]网上搜索(&O)...")},
         {"", QString()},
         {"Insert_Melodeck", QStringLiteral("Melodeck音乐(&N)")},
         {"Insert_Url", QStringLiteral("添加&Url")}},
        {{"Delete_Select", QStringLiteral("选中的文件(&S)")},
         {"Delete_Dittograph", QStringLiteral("重复的文件(&D)")},
         {"Delete_Inaccurate", QStringLiteral("错误的文件(&I)")},
         {"", QString()},
         {"Delete_All", QStringLiteral("全部删除(&A)")}},
        {{"List_New", QStringLiteral("新建列表(&N)")},
         {"List_Add", QStringLiteral("添加列表(&A)")},
         {"List_Export", QStringLiteral("导出列表(&E)...")},
         {"List_Delete", QStringLiteral("删除列表(&D)")}},
    }};
    return items;
}

const char* const kMenuNames[3] = {"Insert", "Delete", "List"};

} // namespace

ctlToolbar::ctlToolbar(QWidget* parent) : QWidget(parent), m_hoverTimer(new QTimer(this)) {
    setMouseTracking(true);
    for (int i = 0; i < kButtons; ++i) {
        m_show[size_t(i)] = new PictureSurface(this);
    }
    m_hoverTimer->setInterval(kHoverInterval);
    connect(m_hoverTimer, &QTimer::timeout, this, &ctlToolbar::OnHoverTick);
    CreateMenus();
}

ctlToolbar::~ctlToolbar() = default;

void ctlToolbar::CreateMenus() {
    for (int m = 0; m < 3; ++m) {
        auto* menu = new QMenu(QLatin1String(kMenuNames[m]), this);
        menu->setObjectName(QLatin1String(kMenuNames[m]));
        for (const MenuItem& item : MenuItems()[size_t(m)]) {
            if (item.caption.isEmpty()) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(item.caption);
            action->setObjectName(QLatin1String(item.name));
            // Greyed until the command behind it is connected.
            action->setEnabled(false);
        }
        m_menus[size_t(m)] = menu;
    }
}

QAction* ctlToolbar::MenuAction(const QString& name) const {
    for (QMenu* menu : m_menus) {
        for (QAction* action : menu->actions()) {
            if (action->objectName() == name) {
                return action;
            }
        }
    }
    return nullptr;
}

QMenu* ctlToolbar::OpenMenu() const {
    for (QMenu* menu : m_menus) {
        if (menu->isVisible()) {
            return menu;
        }
    }
    return nullptr;
}

bool ctlToolbar::IsHoverTimerActive() const {
    return m_hoverTimer->isActive();
}

QString ctlToolbar::ButtonToolTip(int i) {
    static const QStringList tips = {QStringLiteral("添加"), QStringLiteral("删除"),
                                     QStringLiteral("列表"), QStringLiteral("排序"),
                                     QStringLiteral("查找"), QStringLiteral("编辑"),
                                     QStringLiteral("模式")};
    return i >= 0 && i < tips.size() ? tips[i] : QString();
}

void ctlToolbar::SetPicDefault(const QImage& strip) {
    m_default = strip;
    Layout();
}

void ctlToolbar::SetPicHot(const QImage& strip) {
    m_hot = strip;
}

void ctlToolbar::SetPicBackImg(const QImage& picture) {
    m_back = picture;
    Layout();
}

void ctlToolbar::SetMaskColor(quint32 maskColor) {
    m_maskColor = maskColor;
    for (int i = 0; i < kButtons; ++i) {
        DrawButton(i, false);
    }
}

QRect ctlToolbar::ButtonRect(int i) const {
    const int w = CellWidth();
    return QRect(i * w, 0, w, m_default.height());
}

QImage ctlToolbar::ButtonPicture(int i) const {
    return m_show[size_t(i)]->Picture();
}

QRegion ctlToolbar::ButtonShape(int i) const {
    return m_show[size_t(i)]->Shape();
}

void ctlToolbar::Layout() {
    resize(m_default.size());
    for (int i = 0; i < kButtons; ++i) {
        m_show[size_t(i)]->move(ButtonRect(i).topLeft());
        DrawButton(i, false);
    }
    update();
}

void ctlToolbar::DrawButton(int i, bool hot) {
    if (i < 0 || i >= kButtons) {
        return;
    }
    const QRect cell = ButtonRect(i);
    QImage paint(cell.size(), QImage::Format_RGB32);
    if (!paint.isNull()) {
        // Whatever the shifted cell leaves uncovered is cut out, so the
        // window's picture shows there.
        paint.fill(ModColor::ToQRgb(m_maskColor));
        QPainter painter(&paint);
        if (!hot) {
            painter.drawImage(QPoint(0, 0), m_default, cell);
        } else if (!m_hot.isNull()) {
            painter.drawImage(QPoint(0, 0), m_hot, cell);
        } else {
            painter.drawImage(QPoint(-1, -1), m_default, cell);
        }
    }
    m_show[size_t(i)]->SetPicture(paint, ModMask::MaskRegion(paint, m_maskColor));
}

void ctlToolbar::paintEvent(QPaintEvent*) {
    if (m_back.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_back, QRect(pos(), size()));
}

void ctlToolbar::moveEvent(QMoveEvent*) {
    update(); // a new part of the window's picture lies under the control
}

int ctlToolbar::HitTest(int x) const {
    for (int i = 0; i < kButtons; ++i) {
        const QRect r = ButtonRect(i);
        if (r.left() < x && x < r.left() + r.width()) {
            return i;
        }
    }
    return -1;
}

int ctlToolbar::ButtonUnder(QPoint at) const {
    for (int i = 0; i < kButtons; ++i) {
        const QRect r = ButtonRect(i);
        if (r.contains(at) && ButtonShape(i).contains(at - r.topLeft())) {
            return i;
        }
    }
    return -1;
}

void ctlToolbar::ShowMenuOf(int i) {
    if (i < InsertMenu || i > ListMenu) {
        return;
    }
    const QRect r = ButtonRect(i);
    m_menus[size_t(i)]->popup(mapToGlobal(QPoint(r.left(), r.top() + r.height())));
}

void ctlToolbar::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const int button = ButtonUnder(at);
    if (button >= 0) {
        // A press on a button's own pixels.
        m_currentIndex = button;
        DrawButton(button, false);
        ShowMenuOf(button);
        emit Click();
        return;
    }
    const int hit = HitTest(at.x());
    if (hit >= 0) {
        m_currentIndex = hit;
    }
    emit MouseDown(ModInput::ButtonCode(event->button()), ModInput::ShiftCode(event->modifiers()),
                   float(at.x()), float(at.y()));
    DrawButton(m_currentIndex, false);
    ShowMenuOf(m_currentIndex);
}

void ctlToolbar::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const int button = ButtonUnder(at);
    if (button >= 0) {
        if (button != m_hotIndex) {
            for (int i = 0; i < kButtons; ++i) {
                DrawButton(i, false);
            }
            DrawButton(button, true);
            m_hotIndex = button;
        }
        m_currentIndex = button;
    }
    const int hit = HitTest(at.x());
    if (hit >= 0) {
        m_currentIndex = hit;
    }
    emit MouseMove(ModInput::ButtonCode(event->buttons()), ModInput::ShiftCode(event->modifiers()),
                   float(at.x()), float(at.y()));
    if (!m_hoverTimer->isActive()) {
        DrawButton(m_currentIndex, true);
        m_hoverTimer->start();
    }
}

void ctlToolbar::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit MouseUp(ModInput::ButtonCode(event->button()), ModInput::ShiftCode(event->modifiers()),
                 float(at.x()), float(at.y()));
}

void ctlToolbar::OnHoverTick() {
    const QRect screen(mapToGlobal(QPoint(0, 0)), size());
    // Bounds inclusive: the pixel just past the right or bottom edge still
    // counts as inside.
    const QRect inclusive = screen.adjusted(0, 0, 1, 1);
    if (inclusive.contains(QCursor::pos())) {
        return;
    }
    m_hoverTimer->stop();
    emit MouseLeave();
    for (int i = 0; i < kButtons; ++i) {
        DrawButton(i, false);
    }
}

bool ctlToolbar::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = ButtonToolTip(HitTest(help->pos().x()));
        if (tip.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tip, this, ButtonRect(HitTest(help->pos().x())));
        }
        return true;
    }
    return QWidget::event(event);
}
