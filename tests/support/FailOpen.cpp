// Linked into a test program: every open of the path that QUILLOW_FAIL_OPEN names fails with EIO,
// as on a failing disk.

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>

extern "C" int open(const char* path, int flags, ...) {
    static const auto real =
        reinterpret_cast<int (*)(const char*, int, ...)>(::dlsym(RTLD_NEXT, "open"));
    std::va_list rest;
    va_start(rest, flags);
    const int mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(rest, int) : 0;
    va_end(rest);
    const char* failing = std::getenv("QUILLOW_FAIL_OPEN");
    if (failing && std::strcmp(path, failing) == 0) {
        errno = EIO;
        return -1;
    }
    return real(path, flags, mode);
}
