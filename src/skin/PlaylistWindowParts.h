#pragma once

#include <QImage>

class QWidget;
class ctlButton;
class ctlList;
class ctlToolbar;

// The controls of the playlist window that its skin places, by the names the
// skin description uses. The window fills this in from its own children; the
// skin code needs nothing else of the window.
struct PlaylistWindowParts {
    QWidget& window;
    // The window's background picture at its designed size (the skin's
    // playlist window image); the list area grows by as much as the window
    // is higher than it.
    const QImage& picSave;
    ctlList& ctlListLeft; // the playlists
    ctlList& ctlList1;    // the songs of the shown playlist
    QWidget& picLine;     // the splitter between them; its left edge is kept
    ctlButton& cmdClose;
    ::ctlToolbar& ctlToolbar;
};
