// Preloaded into a program: of its calls that open, lock or write a file, counted from its start,
// the one that QUILLOW_STOP_AT numbers stops the program until it is continued, and the one that
// QUILLOW_FAIL_AT numbers fails with EIO, as on a failing disk.

#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Whether the call is to be made.
bool Counted() {
    static long calls = 0;
    ++calls;
    const auto numbered = [](const char* name) {
        const char* number = std::getenv(name);
        return number && std::atol(number) == calls;
    };
    if (numbered("QUILLOW_STOP_AT"))
        ::raise(SIGSTOP);
    if (!numbered("QUILLOW_FAIL_AT"))
        return true;
    errno = EIO;
    return false;
}

template <class F> F* Real(const char* name) {
    return reinterpret_cast<F*>(::dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int open(const char* path, int flags, ...) {
    std::va_list rest;
    va_start(rest, flags);
    const int mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(rest, int) : 0;
    va_end(rest);
    return Counted() ? Real<int(const char*, int, ...)>("open")(path, flags, mode) : -1;
}

extern "C" int flock(int fd, int operation) {
    return Counted() ? Real<int(int, int)>("flock")(fd, operation) : -1;
}

extern "C" ssize_t write(int fd, const void* buffer, size_t count) {
    return Counted() ? Real<ssize_t(int, const void*, size_t)>("write")(fd, buffer, count) : -1;
}
