// Starts a program under the current X display and prints, tab-separated: the milliseconds from
// the start to its first top-level window being mapped, and to the first drawing into that window
// once mapped (its first paint reaching the screen); then its RSS and PSS in kB at a moment
// counted from the start (or at once, when the window came later). Then ends the program with
// SIGTERM, with every process it started. Its output goes nowhere, so that no process it leaves
// behind holds the probe's.
//   startup_probe MEMORY_AT_MS PROGRAM [ARGS...]
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <string>
#include <sys/select.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

long SmapsField(pid_t pid, const std::string& field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string name;
    long value = -1;
    while (in >> name) {
        if (name == field + ":") {
            in >> value;
            return value;
        }
        in.ignore(1 << 16, '\n');
    }
    return -1;
}

// The top-level windows as they come: each watched for drawing from its creation on, so that no
// drawing is missed however soon after its mapping it comes.
class WindowWatch {
public:
    WindowWatch(Display* display, int damageEvent)
        : m_display(display), m_damageEvent(damageEvent) {}

    // Handles one event; true once a mapped window has been drawn into.
    bool Handle(const XEvent& event, Clock::time_point now) {
        if (event.type == CreateNotify &&
            event.xcreatewindow.parent == DefaultRootWindow(m_display)) {
            m_windows[event.xcreatewindow.window].damage =
                XDamageCreate(m_display, event.xcreatewindow.window, XDamageReportNonEmpty);
        } else if (event.type == MapNotify && event.xmap.event == DefaultRootWindow(m_display)) {
            Seen& seen = m_windows[event.xmap.window];
            seen.mapped = true;
            if (!m_firstMap)
                m_mapped = now, m_firstMap = true;
        } else if (event.type == m_damageEvent + XDamageNotify) {
            const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
            const auto it = m_windows.find(damage.drawable);
            if (it != m_windows.end() && it->second.mapped && !m_firstPaint)
                m_painted = now, m_firstPaint = true;
        }
        return m_firstPaint;
    }

    Clock::time_point Mapped() const { return m_mapped; }
    Clock::time_point Painted() const { return m_painted; }

private:
    struct Seen {
        Damage damage = 0;
        bool mapped = false;
    };
    Display* m_display;
    int m_damageEvent;
    std::map<Window, Seen> m_windows;
    Clock::time_point m_mapped, m_painted;
    bool m_firstMap = false, m_firstPaint = false;
};

// Waits for the first paint of a mapped top-level window; false after the deadline.
bool WaitForPaint(Display* display, WindowWatch& watch, Clock::time_point deadline) {
    const int fd = ConnectionNumber(display);
    for (;;) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (watch.Handle(event, Clock::now()))
                return true;
        }
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero())
            return false;
        const auto us = std::chrono::duration_cast<std::chrono::microseconds>(left).count();
        timeval timeout{static_cast<time_t>(us / 1000000), static_cast<suseconds_t>(us % 1000000)};
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        select(fd + 1, &readable, nullptr, nullptr, &timeout);
    }
}

// The program and the processes it starts, in a group of their own.
volatile std::sig_atomic_t g_group = 0;

// Ends the program as the session's end would, then whatever it left in its group.
void EndGroup() {
    if (g_group <= 0)
        return;
    kill(-g_group, SIGTERM);
    int status = 0;
    waitpid(g_group, &status, 0);
    kill(-g_group, SIGKILL);
}

// Ended from outside (its benchmark's time is up), the probe takes the program's group with it:
// at once, as the program may not end on SIGTERM.
void EndWithGroup(int signal) {
    if (g_group > 0)
        kill(-g_group, SIGKILL);
    std::_Exit(128 + signal);
}

// DAMAGE cannot watch an input-only window (dbus-launch makes one when there is no session bus)
// nor one already gone: those errors are passed over. Any other ends the probe and its group.
int OnXError(Display* display, XErrorEvent* error) {
    if (error->error_code == BadMatch || error->error_code == BadWindow ||
        error->error_code == BadDrawable)
        return 0;
    char text[256];
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "X error: %s\n", text);
    EndGroup();
    std::_Exit(1);
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s MEMORY_AT_MS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    int damageEvent = 0, damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "the X server has no DAMAGE extension\n");
        return 1;
    }
    XSetErrorHandler(OnXError);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    WindowWatch watch(display, damageEvent);

    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        std::signal(signal, EndWithGroup);
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        const int nowhere = open("/dev/null", O_WRONLY);
        dup2(nowhere, STDOUT_FILENO);
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    g_group = pid;
    setpgid(pid, pid);
    const bool painted = WaitForPaint(display, watch, start + std::chrono::seconds(20));
    std::this_thread::sleep_until(start + std::chrono::milliseconds(std::atol(argv[1])));
    const long rss = SmapsField(pid, "Rss"), pss = SmapsField(pid, "Pss");
    EndGroup();
    XCloseDisplay(display);
    if (!painted) {
        std::fprintf(stderr, "%s: no window painted within 20 s\n", argv[2]);
        return 1;
    }
    std::printf("%.1f\t%.1f\t%ld\t%ld\n", Ms(watch.Mapped() - start), Ms(watch.Painted() - start),
                rss, pss);
    return 0;
}
