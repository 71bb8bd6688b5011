// Starts a program under the current X display and prints, tab-separated: the milliseconds from
// the start to its first top-level window being mapped, and its RSS and PSS in kB a settle time
// after that. Then ends the program with SIGTERM.
//   startup_probe SETTLE_MS PROGRAM [ARGS...]
#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
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

// Waits for a MapNotify of a child of the root window; false after the timeout.
bool WaitForMap(Display* display, Window root, Clock::time_point deadline) {
    const int fd = ConnectionNumber(display);
    for (;;) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && event.xmap.event == root)
                return true;
        }
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero())
            return false;
        timeval timeout{
            0, static_cast<suseconds_t>(
                   std::chrono::duration_cast<std::chrono::microseconds>(left).count() % 1000000)};
        timeout.tv_sec = std::chrono::duration_cast<std::chrono::seconds>(left).count();
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        select(fd + 1, &readable, nullptr, nullptr, &timeout);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s SETTLE_MS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    const bool mapped = WaitForMap(display, root, start + std::chrono::seconds(20));
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atol(argv[1])));
    const long rss = SmapsField(pid, "Rss"), pss = SmapsField(pid, "Pss");
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    XCloseDisplay(display);
    if (!mapped) {
        std::fprintf(stderr, "%s: no window within 20 s\n", argv[2]);
        return 1;
    }
    std::printf("%.1f\t%ld\t%ld\n", ms, rss, pss);
    return 0;
}
