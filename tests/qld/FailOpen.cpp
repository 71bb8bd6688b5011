// Preloaded into qld by its tests: the first open of the path that QLD_FAIL_OPEN names fails with
// EIO, as on a failing disk.

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>

extern "C" int open(const char* path, int flags, ...) {
    static const auto real =
        reinterpret_cast<int (*)(const char*, int, ...)>(::dlsym(RTLD_NEXT, "open"));
    static bool failed = false;
    std::va_list rest;
    va_start(rest, flags);
    const int mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(rest, int) : 0;
    va_end(rest);
    const char* failing = std::getenv("QLD_FAIL_OPEN");
    if (!failed && failing && std::strcmp(path, failing) == 0) {
        failed = true;
        errno = EIO;
        return -1;
    }
    return real(path, flags, mode);
}
