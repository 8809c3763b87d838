#include "winsvc/X11WindowHints.h"

#include <QGuiApplication>
#include <QWidget>

#if defined(MELODECK_HAVE_XCB)
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>
#include <xcb/xcb.h>
#endif

namespace X11WindowHints {

#if defined(MELODECK_HAVE_XCB)

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};

xcb_connection_t* Connection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return nullptr;
    }
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    const std::unique_ptr<xcb_intern_atom_reply_t, FreeReply> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The atoms of an ATOM-typed property (empty when it is missing or malformed).
std::vector<xcb_atom_t> AtomList(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property) {
    constexpr uint32_t kMostAtoms = 64;
    const std::unique_ptr<xcb_get_property_reply_t, FreeReply> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, property, XCB_ATOM_ATOM, 0, kMostAtoms), nullptr));
    if (!reply || reply->type != XCB_ATOM_ATOM || reply->format != 32) {
        return {};
    }
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / int(sizeof(xcb_atom_t));
    return std::vector<xcb_atom_t>(atoms, atoms + std::max(0, count));
}

} // namespace

void SetOwner(QWidget& window, QWidget& owner) {
    xcb_connection_t* c = Connection();
    if (!c || !window.isWindow() || !owner.isWindow()) {
        return;
    }
    const auto id = xcb_window_t(window.winId());
    const auto ownerId = xcb_window_t(owner.winId());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW,
                        32, 1, &ownerId);
    xcb_flush(c);
}

void SkipTaskbar(QWidget& window) {
    xcb_connection_t* c = Connection();
    if (!c || !window.isWindow()) {
        return;
    }
    const auto id = xcb_window_t(window.winId());
    const xcb_atom_t state = Atom(c, "_NET_WM_STATE");
    const xcb_atom_t skip = Atom(c, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skip == XCB_ATOM_NONE) {
        return;
    }
    std::vector<xcb_atom_t> atoms = AtomList(c, id, state);
    if (std::find(atoms.begin(), atoms.end(), skip) != atoms.end()) {
        return;
    }
    atoms.push_back(skip);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                        uint32_t(atoms.size()), atoms.data());
    xcb_flush(c);
}

#else

void SetOwner(QWidget&, QWidget&) {
}

void SkipTaskbar(QWidget&) {
}

#endif

} // namespace X11WindowHints
