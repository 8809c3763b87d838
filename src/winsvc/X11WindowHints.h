#pragma once

class QWidget;

// What a window tells an X11 window manager about its place in the program,
// beyond what Qt says for it. Under any other platform (offscreen, Wayland,
// Windows) these do nothing.
namespace X11WindowHints {

// Marks `window` as transient for `owner` (WM_TRANSIENT_FOR): the manager keeps
// it above the owner, raises and iconifies the two together, and taskbars
// file it under the owner. Qt writes the property only for dialog-like window
// types and clears it at every show of any other, so this is called after
// each show; managers follow the change on a mapped window.
void SetOwner(QWidget& window, QWidget& owner);

// Adds _NET_WM_STATE_SKIP_TASKBAR to a window that is about to be mapped
// (from its show event): the manager reads the state when it maps the window,
// and Qt keeps the atoms it finds there. The manager drops the state when the
// window is hidden, so it is written at every show.
void SkipTaskbar(QWidget& window);

} // namespace X11WindowHints
