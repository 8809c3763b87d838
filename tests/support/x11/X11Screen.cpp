#include "support/x11/X11Screen.h"

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSet>
#include <QWidget>
#include <QWindow>

#include <cstdlib>
#include <memory>

namespace X11Screen {

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

} // namespace

xcb_connection_t* Connection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

QList<XChild> ChildrenOf(xcb_window_t window) {
    xcb_connection_t* c = Connection();
    QList<XChild> children;
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr),
                                       &std::free);
    if (!tree)
        return children;
    const xcb_window_t* ids = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, ids[i]), nullptr),
            &std::free);
        Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(c, xcb_get_geometry(c, ids[i]), nullptr), &std::free);
        if (!attributes || !geometry)
            continue; // gone meanwhile
        children.append({ids[i], attributes->map_state == XCB_MAP_STATE_VIEWABLE,
                         QRect(geometry->x, geometry->y, geometry->width, geometry->height)});
    }
    return children;
}

QList<xcb_window_t> ForeignTopLevels() {
    QSet<xcb_window_t> ours;
    for (QWindow* window : QGuiApplication::allWindows()) {
        if (window->handle())
            ours.insert(xcb_window_t(window->winId()));
    }
    QList<xcb_window_t> foreign;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(Connection())).data->root;
    for (const XChild& child : ChildrenOf(root)) {
        if (child.viewable && !ours.contains(child.id))
            foreign.append(child.id);
    }
    return foreign;
}

bool ClipColourAt(QPoint point) {
    QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen)
        return false;
    const QPoint local = point - screen->geometry().topLeft();
    const QColor colour =
        screen->grabWindow(0, local.x(), local.y(), 1, 1).toImage().pixelColor(0, 0);
    return colour.hsvSaturation() > 120 && colour.value() > 150;
}

bool PictureFills(const QWidget& window) {
    const QRect r = window.geometry();
    const QPoint c = r.center();
    const int dx = r.width() / 8, dy = r.height() / 8;
    return ClipColourAt(c) && ClipColourAt({r.left() + dx, c.y()}) &&
           ClipColourAt({r.right() - dx, c.y()}) && ClipColourAt({c.x(), r.top() + dy}) &&
           ClipColourAt({c.x(), r.bottom() - dy});
}

bool EngineWindowFills(const QWidget& surface) {
    for (const XChild& child : ChildrenOf(xcb_window_t(surface.winId()))) {
        if (child.viewable && child.geometry == QRect(QPoint(0, 0), surface.size()))
            return true;
    }
    return false;
}

} // namespace X11Screen
