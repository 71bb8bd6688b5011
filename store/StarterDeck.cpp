#include "StarterDeck.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <utility>

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return m_fd; }
    bool Close() { return ::close(std::exchange(m_fd, -1)) == 0; }

private:
    int m_fd;
};

bool WriteAll(int fd, const char* bytes, ssize_t count) {
    while (count > 0) {
        const ssize_t written = ::write(fd, bytes, static_cast<std::size_t>(count));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        count -= written;
    }
    return true;
}

bool CopyBytes(int from, int to) {
    std::array<char, 65536> buffer{};
    for (;;) {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (!WriteAll(to, buffer.data(), got))
            return false;
    }
}

} // namespace

bool CopyStarterDeck(const std::string& from, const std::string& to) {
    if (from == to)
        return false;
    Descriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (source.Get() < 0)
        return false;
    // Never over an existing file: only a file made here is filled, or removed again.
    Descriptor target(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (target.Get() < 0)
        return false;
    if (CopyBytes(source.Get(), target.Get()) && ::fsync(target.Get()) == 0 && target.Close())
        return true;
    ::unlink(to.c_str());
    return false;
}
