#pragma once

#include <QByteArray>

// Which of the engine's video outputs are offered for a window, and the care
// their probing needs.
//
// The engine is offered the GPU output first and the plain X11 (or Direct3D)
// output after it. When the GPU output turns the machine down (software
// OpenGL under a virtual X server, a remote display, a missing driver), it
// has walked through every rendering context it knows before giving up, and
// libmpv 0.35's Vulkan display context, failing early, closes descriptor 0,
// which it never opened. Whatever holds descriptor 0 at that moment is lost:
// stdin the first time, later the next item's file or the fallback output's
// own connection to the X server, whose loss makes Xlib end the process.
//
// So once the GPU output has given way to the fallback, the fallback alone is
// offered for the rest of the process (the GPU output will not start working
// meanwhile), and before an item is handed over descriptor 0 is made to hold
// something that may be lost. Where the GPU output works it is kept: its probe
// stops at the first context that draws and never reaches the failing ones.
class VideoOutputChoice {
public:
    // The value of the engine's "vo" option: the outputs to try for a window,
    // or the output that shows nothing when there is none.
    static QByteArray outputsFor(bool hasWindow);

    // Called with the engine's "current-vo" once an output draws into a
    // window; outputsFor(true) follows from then on, for every engine.
    static void noteOutputInUse(const QByteArray& output);

    // Puts /dev/null on descriptor 0 when nothing holds it, so that a stray
    // close of descriptor 0 cannot take a file or connection in use.
    static void reserveDescriptorZero();
};
