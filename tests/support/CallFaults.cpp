// Linked into a test program, or preloaded into another one: every open of the path that
// QUILLOW_FAIL_OPEN names fails with EIO, as on a failing disk. Of the calls that open or read a
// file, counted from the program's start, the one that QUILLOW_STOP_AT numbers stops the program
// until it is continued, and the one that QUILLOW_FAIL_AT numbers fails with EIO.

#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>

// Whether the call is to be made.
static bool Counted(const char* path = nullptr) {
    static long calls = 0;
    const auto number = [](const char* name) {
        return std::atol(std::getenv(name) ? std::getenv(name) : "");
    };
    const char* failing = std::getenv("QUILLOW_FAIL_OPEN");
    if (++calls == number("QUILLOW_STOP_AT"))
        ::raise(SIGSTOP);
    if (calls != number("QUILLOW_FAIL_AT") && !(path && failing && std::strcmp(path, failing) == 0))
        return true;
    errno = EIO;
    return false;
}

template <class F> static F* Real(const char* name) {
    return reinterpret_cast<F*>(::dlsym(RTLD_NEXT, name));
}

extern "C" int open(const char* path, int flags, ...) {
    std::va_list rest;
    va_start(rest, flags);
    const int mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(rest, int) : 0;
    va_end(rest);
    return Counted(path) ? Real<int(const char*, int, ...)>("open")(path, flags, mode) : -1;
}

extern "C" ssize_t read(int fd, void* buffer, size_t count) {
    return Counted() ? Real<ssize_t(int, void*, size_t)>("read")(fd, buffer, count) : -1;
}
