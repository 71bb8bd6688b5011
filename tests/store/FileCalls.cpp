// This test program's own versions of the C library's calls that change files (a write, a flush,
// a rename, a change of permissions): each counts the change and ends the process, or fails with
// EIO, when its countdown runs out, and a write is remembered until its file is flushed, then the
// C library's own function runs. Closing a file with a write not flushed is remembered too.

#include "StoreFixture.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr int kKilledStatus = 75, kUnflushedStatus = 76;
int g_changesLeft = 0, g_changesToFailure = 0; // 0: no countdown
bool g_unflushed[1024], g_closedUnflushed;

template <class F> F* Real(const char* name) {
    return reinterpret_cast<F*>(::dlsym(RTLD_NEXT, name));
}

} // namespace

#define COUNTED_CALL(Result, name, parameters, arguments, fd, flushes, ...)                        \
    extern "C" Result name parameters __VA_ARGS__ {                                                \
        static const auto real = Real<Result parameters>(#name);                                   \
        if (g_changesLeft > 0 && --g_changesLeft == 0)                                             \
            ::_exit(kKilledStatus);                                                                \
        if (g_changesToFailure > 0 && --g_changesToFailure == 0) {                                 \
            errno = EIO;                                                                           \
            return -1;                                                                             \
        }                                                                                          \
        if (fd > 2 && fd < 1024)                                                                   \
            g_unflushed[fd] = !flushes;                                                            \
        return real arguments;                                                                     \
    }

COUNTED_CALL(ssize_t, write, (int fd, const void* buffer, size_t count), (fd, buffer, count), fd,
             false)
COUNTED_CALL(int, fdatasync, (int fd), (fd), fd, true)
COUNTED_CALL(int, fsync, (int fd), (fd), fd, true)
COUNTED_CALL(int, rename, (const char* from, const char* to), (from, to), 0, true, noexcept)
COUNTED_CALL(int, fchmod, (int fd, mode_t mode), (fd, mode), 0, true, noexcept)

void FailChange(int n) {
    g_changesToFailure = n;
}

extern "C" int close(int fd) {
    static const auto real = Real<int(int)>("close");
    if (fd > 2 && fd < 1024)
        g_closedUnflushed |= std::exchange(g_unflushed[fd], false);
    return real(fd);
}

bool LeavesUnflushed(const std::function<void()>& f) {
    std::fill(std::begin(g_unflushed), std::end(g_unflushed), false);
    g_closedUnflushed = false;
    f();
    return g_closedUnflushed || std::count(std::begin(g_unflushed), std::end(g_unflushed), true);
}

bool KilledAtChange(int n, const std::function<void()>& f) {
    const pid_t child = ::fork();
    if (child == 0) {
        g_changesLeft = n;
        ::_exit(LeavesUnflushed(f) ? kUnflushedStatus : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) &&
                (WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == kKilledStatus))
        << "the child ended with status " << status << " (" << kUnflushedStatus
        << ": a write not flushed)";
    return WEXITSTATUS(status) == kKilledStatus;
}
