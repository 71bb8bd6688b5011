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

template <class Function> Function* Real(const char* name) {
    static_assert(std::is_function_v<Function>);
    return reinterpret_cast<Function*>(::dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" {

ssize_t write(int fd, const void* buffer, size_t count) {
    static const auto real = Real<ssize_t(int, const void*, size_t)>("write");
    CountChange();
    return real(fd, buffer, count);
}

int fdatasync(int fd) {
    static const auto real = Real<int(int)>("fdatasync");
    CountChange();
    return real(fd);
}

int fsync(int fd) {
    static const auto real = Real<int(int)>("fsync");
    CountChange();
    return real(fd);
}

int rename(const char* from, const char* to) noexcept {
    static const auto real = Real<int(const char*, const char*)>("rename");
    CountChange();
    return real(from, to);
}

int fchmod(int fd, mode_t mode) noexcept {
    static const auto real = Real<int(int, mode_t)>("fchmod");
    CountChange();
    return real(fd, mode);
}

} // extern "C"

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
