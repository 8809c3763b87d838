// Starts one program on the X display named by DISPLAY and reports, on its
// standard output, when the program's top-level windows are mapped and what
// the program (with every process it started) costs at chosen moments:
//
//   peers-launcher [--windows N] [--sample MS]... [--end MS] [--mark TEXT]
//                  [--log FILE] -- PROGRAM [ARGS...]
//
// Times are milliseconds after the fork that runs PROGRAM. Lines printed:
//   start NS            CLOCK_MONOTONIC at the fork, in nanoseconds, so a
//                       caller can place its own observations on that clock
//   pid PID
//   map MS N WINDOW WxH the N-th distinct top-level window was mapped
//   first MS / all MS   the first, and the N-th (--windows), window mapped
//   mark MS             a line of the program's standard error held TEXT
//   sample MS rss_kb=.. cpu_ms=.. threads=.. procs=..
//                       at each --sample, and whenever SIGUSR1 arrives
//   exit MS STATUS      the program ended by itself (STATUS as the shell shows it)
//   ended MS            the program was ended (--end reached, or SIGTERM/SIGINT)
//
// The root window is watched for MapNotify before the program starts: with no
// window manager on the display, a top-level window is mapped at the moment
// the program asks for it. Override-redirect windows (menus, tool tips) do not
// count. The program runs in a process group of its own; ending it sends
// SIGTERM to the group, then SIGKILL after five seconds.
#include "ProcessTree.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Options {
    unsigned windows = 1;
    std::vector<long> samples;
    long endMs = -1;
    std::string mark;
    std::string log = "/dev/null";
    char** program = nullptr;
};

int g_signalPipe[2] = {-1, -1};

void onSignal(int sig) {
    const char byte = char(sig);
    (void)!write(g_signalPipe[1], &byte, 1);
}

long long nowNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

[[noreturn]] void usage(const char* why) {
    std::fprintf(stderr,
                 "peers-launcher: %s\nusage: peers-launcher [--windows N] [--sample MS]... "
                 "[--end MS] [--mark TEXT] [--log FILE] -- PROGRAM [ARGS...]\n",
                 why);
    std::exit(2);
}

Options parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--") {
            if (i + 1 >= argc)
                usage("no program given");
            o.program = argv + i + 1;
            return o;
        }
        if (i + 1 >= argc)
            usage("an option lacks its value");
        const char* v = argv[++i];
        if (a == "--windows")
            o.windows = unsigned(std::max(1L, std::strtol(v, nullptr, 10)));
        else if (a == "--sample")
            o.samples.push_back(std::strtol(v, nullptr, 10));
        else if (a == "--end")
            o.endMs = std::strtol(v, nullptr, 10);
        else if (a == "--mark")
            o.mark = v;
        else if (a == "--log")
            o.log = v;
        else
            usage("unknown option");
    }
    usage("no program given");
}

// Subscribes to the root window's children being created, configured and
// mapped, and waits until the server has taken the request, so that no map
// of the program's can come before it.
xcb_connection_t* watchRoot() {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "peers-launcher: cannot open the display\n");
        std::exit(2);
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    fcntl(xcb_get_file_descriptor(c), F_SETFD, FD_CLOEXEC); // not the program's
    return c;
}

pid_t startProgram(const Options& o, int& errRead) {
    int err[2];
    if (pipe2(err, O_CLOEXEC) != 0)
        std::exit(2);
    const pid_t pid = fork();
    if (pid < 0)
        std::exit(2);
    if (pid == 0) {
        setpgid(0, 0);
        const int log = open(o.log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (log >= 0)
            dup2(log, STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        const int null = open("/dev/null", O_RDONLY);
        dup2(null, STDIN_FILENO);
        execvp(o.program[0], o.program);
        std::fprintf(stderr, "peers-launcher: cannot run %s: %s\n", o.program[0],
                     std::strerror(errno));
        _exit(127);
    }
    setpgid(pid, pid);
    close(err[1]);
    errRead = err[0];
    return pid;
}

class Run {
public:
    Run(const Options& o, xcb_connection_t* x) : m_o(o), m_x(x) {}
    int Loop();

private:
    long elapsedMs() const { return long((nowNs() - m_startNs) / 1000000); }
    void drainX();
    void drainStderr();
    void takeSamples();
    void sampleNow(long ms);
    bool reaped();
    void endProgram();
    int pollTimeoutMs() const;

    const Options& m_o;
    xcb_connection_t* m_x;
    long long m_startNs = 0;
    pid_t m_pid = -1;
    int m_err = -1;
    int m_log = -1;
    std::string m_line;
    bool m_marked = false;
    std::size_t m_nextSample = 0;
    std::set<xcb_window_t> m_mapped;
    std::map<xcb_window_t, std::pair<int, int>> m_sizes;
};

void Run::drainX() {
    while (xcb_generic_event_t* e = xcb_poll_for_event(m_x)) {
        const uint8_t type = e->response_type & 0x7F;
        if (type == XCB_CREATE_NOTIFY) {
            auto* c = reinterpret_cast<xcb_create_notify_event_t*>(e);
            m_sizes[c->window] = {c->width, c->height};
        } else if (type == XCB_CONFIGURE_NOTIFY) {
            auto* c = reinterpret_cast<xcb_configure_notify_event_t*>(e);
            m_sizes[c->window] = {c->width, c->height};
        } else if (type == XCB_MAP_NOTIFY) {
            auto* m = reinterpret_cast<xcb_map_notify_event_t*>(e);
            if (!m->override_redirect && m_mapped.insert(m->window).second) {
                const long ms = elapsedMs();
                const auto size = m_sizes[m->window];
                std::printf("map %ld %zu 0x%x %dx%d\n", ms, m_mapped.size(), m->window, size.first,
                            size.second);
                if (m_mapped.size() == 1)
                    std::printf("first %ld\n", ms);
                if (m_mapped.size() == m_o.windows)
                    std::printf("all %ld\n", ms);
            }
        }
        std::free(e);
    }
}

void Run::drainStderr() {
    char buf[4096];
    const ssize_t n = read(m_err, buf, sizeof buf);
    if (n <= 0) {
        close(m_err);
        m_err = -1;
        return;
    }
    (void)!write(m_log, buf, std::size_t(n));
    if (m_marked || m_o.mark.empty())
        return;
    m_line.append(buf, std::size_t(n));
    std::size_t eol;
    while (!m_marked && (eol = m_line.find('\n')) != std::string::npos) {
        if (m_line.substr(0, eol).find(m_o.mark) != std::string::npos) {
            m_marked = true;
            std::printf("mark %ld\n", elapsedMs());
        }
        m_line.erase(0, eol + 1);
    }
}

void Run::sampleNow(long ms) {
    const TreeUsage u = SampleTree(m_pid);
    std::printf("sample %ld rss_kb=%ld cpu_ms=%ld threads=%ld procs=%ld\n", ms, u.RssKb, u.CpuMs,
                u.Threads, u.Processes);
}

void Run::takeSamples() {
    while (m_nextSample < m_o.samples.size() && elapsedMs() >= m_o.samples[m_nextSample])
        sampleNow(m_o.samples[m_nextSample++]);
}

bool Run::reaped() {
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) != m_pid)
        return false;
    const int shown = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::printf("exit %ld %d\n", elapsedMs(), shown);
    return true;
}

void Run::endProgram() {
    std::printf("ended %ld\n", elapsedMs());
    std::fflush(stdout);
    kill(-m_pid, SIGTERM);
    const long long deadline = nowNs() + 5000000000LL;
    int status = 0;
    while (nowNs() < deadline) {
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            kill(-m_pid, SIGKILL); // whatever it started and left behind
            return;
        }
        if (m_err >= 0)
            drainStderr();
        usleep(20000);
    }
    kill(-m_pid, SIGKILL);
    waitpid(m_pid, &status, 0);
}

int Run::pollTimeoutMs() const {
    long next = m_o.endMs >= 0 ? m_o.endMs : 1L << 30;
    if (m_nextSample < m_o.samples.size())
        next = std::min(next, m_o.samples[m_nextSample]);
    return int(std::clamp(next - elapsedMs(), 0L, 100L));
}

int Run::Loop() {
    m_log = open(m_o.log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    m_startNs = nowNs();
    m_pid = startProgram(m_o, m_err);
    std::printf("start %lld\npid %d\n", m_startNs, int(m_pid));
    for (;;) {
        std::fflush(stdout);
        pollfd fds[3] = {{xcb_get_file_descriptor(m_x), POLLIN, 0},
                         {g_signalPipe[0], POLLIN, 0},
                         {m_err, POLLIN, 0}};
        poll(fds, m_err >= 0 ? 3 : 2, pollTimeoutMs());
        drainX();
        if (xcb_connection_has_error(m_x)) {
            std::printf("display-lost %ld\n", elapsedMs());
            endProgram();
            return 1;
        }
        if (m_err >= 0 && (fds[2].revents & (POLLIN | POLLHUP)))
            drainStderr();
        takeSamples();
        if (reaped())
            return 0;
        bool ending = false;
        char sig = 0;
        while ((fds[1].revents & POLLIN) && read(g_signalPipe[0], &sig, 1) == 1) {
            if (sig == SIGUSR1)
                sampleNow(elapsedMs());
            else if (sig != SIGCHLD) // a child's end is seen by reaped()
                ending = true;
        }
        if (ending || (m_o.endMs >= 0 && elapsedMs() >= m_o.endMs)) {
            endProgram();
            return 0;
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    if (pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return 2;
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGUSR1, &sa, nullptr);
    sigaction(SIGCHLD, &sa, nullptr);
    xcb_connection_t* x = watchRoot();
    Run run(options, x);
    const int status = run.Loop();
    std::fflush(stdout);
    xcb_disconnect(x);
    return status;
}
