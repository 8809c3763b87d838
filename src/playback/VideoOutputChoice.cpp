#include "playback/VideoOutputChoice.h"

#include <QtGlobal>
#include <atomic>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// Outputs that draw into a window they are given ("wid"). The engine's own
// probing would go on to outputs that ignore it (SDL opens a window of its
// own) whenever the GPU output turns down the machine's renderer.
constexpr const char* kGpuOutput = "gpu";
#ifdef Q_OS_WIN
constexpr const char* kFallbackOutput = "direct3d";
#else
constexpr const char* kFallbackOutput = "x11";
#endif
// Without a window to draw into, video is decoded but shown nowhere rather
// than in a window the engine would open itself.
constexpr const char* kNoWindowOutput = "null";

// Process-wide: every failed probe of the GPU output costs descriptor 0,
// whichever engine made it.
std::atomic<bool> s_gpuTurnedDown{false};

} // namespace

QByteArray VideoOutputChoice::outputsFor(bool hasWindow) {
    if (!hasWindow)
        return kNoWindowOutput;
    if (s_gpuTurnedDown.load())
        return kFallbackOutput;
    return QByteArray(kGpuOutput) + ',' + kFallbackOutput;
}

void VideoOutputChoice::noteOutputInUse(const QByteArray& output) {
    if (output == kFallbackOutput)
        s_gpuTurnedDown.store(true);
}

void VideoOutputChoice::reserveDescriptorZero() {
#ifdef Q_OS_UNIX
    if (::fcntl(0, F_GETFD) != -1 || errno != EBADF)
        return;
    // The lowest free descriptor is 0; if another thread took it meanwhile,
    // this one is not needed. Inherited by children as their stdin, like any
    // program started without a terminal.
    const int fd = ::open("/dev/null", O_RDONLY);
    if (fd > 0)
        ::close(fd);
#endif
}
