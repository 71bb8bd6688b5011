// This test program's own versions of the C library's calls that change files: each counts the
// change, runs the test's action when a countdown says so, then does what the C library's call
// does.
#include "KillAtChange.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kKilledStatus = 75;
int g_changesLeft = 0; // 0: no countdown
std::function<void()> g_action;

void CountChange() {
    if (g_changesLeft > 0 && --g_changesLeft == 0)
        g_action();
}

} // namespace

// Counts the change, then calls the C library's own function.
#define COUNTED_CALL(Result, name, parameters, arguments, ...)                                     \
    extern "C" Result name parameters __VA_ARGS__ {                                                \
        static const auto real =                                                                   \
            reinterpret_cast<Result(*) parameters>(::dlsym(RTLD_NEXT, #name));                     \
        CountChange();                                                                             \
        return real arguments;                                                                     \
    }

COUNTED_CALL(ssize_t, write, (int fd, const void* buffer, size_t count), (fd, buffer, count))
COUNTED_CALL(int, fdatasync, (int fd), (fd))
COUNTED_CALL(int, fsync, (int fd), (fd))
COUNTED_CALL(int, rename, (const char* from, const char* to), (from, to), noexcept)
COUNTED_CALL(int, fchmod, (int fd, mode_t mode), (fd, mode), noexcept)

void AtChange(int n, std::function<void()> action) {
    g_action = std::move(action);
    g_changesLeft = n;
}

bool KilledAtChange(int n, const std::function<void()>& f) {
    const pid_t child = ::fork();
    if (child == 0) {
        AtChange(n, [] { ::_exit(kKilledStatus); });
        try {
            f();
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    int status = 0;
    EXPECT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    const int code = WEXITSTATUS(status);
    EXPECT_TRUE(code == 0 || code == kKilledStatus) << "the child ended with status " << code;
    return code == kKilledStatus;
}
