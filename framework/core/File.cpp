#include "File.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

int OpenRetrying(const std::string& path, int oflags) {
    int fd;
    do {
        fd = ::open(path.c_str(), oflags, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Brings the folder's entries, such as a rename in it, to the disk.
bool SyncFolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int fd = OpenRetrying(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    int rc;
    do {
        rc = ::fsync(fd);
    } while (rc != 0 && errno == EINTR);
    ::close(fd);
    return rc == 0;
}

// How many numbered names AtFreeName tries before giving up.
constexpr int kFreeNames = 100;

// How often Open tries again when the file at the path was replaced while it took the lock.
constexpr int kLockAttempts = 3;

} // namespace

CFile::~CFile() {
    Close();
}

bool CFile::Open(const std::string& path, unsigned flags, bool* inUse) {
    Close();
    if (inUse)
        *inUse = false;
    int oflags = O_CLOEXEC;
    oflags |= (flags & modeReadWrite) ? O_RDWR : O_RDONLY;
    if (flags & modeCreateNew)
        oflags |= O_CREAT | O_EXCL;
    else if (flags & modeCreate)
        oflags |= O_CREAT;
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        const int fd = OpenRetrying(path, oflags);
        if (fd < 0)
            return false;
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            const int code = S_ISDIR(st.st_mode) ? EISDIR : errno ? errno : EINVAL;
            ::close(fd);
            errno = code;
            return false;
        }
        if (flags & shareExclusive) {
            if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
                const int code = errno;
                if (inUse)
                    *inUse = code == EWOULDBLOCK;
                ::close(fd);
                errno = code;
                return false;
            }
            // The lock must hold the file that is at the path now, not one replaced meanwhile.
            struct stat atPath {};
            if (::stat(path.c_str(), &atPath) != 0 || !SameFile(st, atPath)) {
                ::close(fd);
                errno = ENOENT;
                continue;
            }
        }
        if ((flags & (modeCreate | modeCreateNew)) == modeCreate && st.st_size > 0 &&
            ::ftruncate(fd, 0) != 0) {
            const int code = errno;
            ::close(fd);
            errno = code;
            return false;
        }
        m_fd = fd;
        m_position = 0;
        if (!RememberState()) {
            Close();
            return false;
        }
        SetFilePath(path);
        return true;
    }
    return false;
}

bool CFile::Seek(std::int64_t offset) {
    if (m_fd < 0 || offset < 0 || ::lseek(m_fd, offset, SEEK_SET) != offset)
        return false;
    m_position = offset;
    return true;
}

std::size_t CFile::Read(void* buffer, std::size_t count) {
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (m_fd >= 0 && done < count) {
        ssize_t n = ::read(m_fd, out + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    m_position += static_cast<std::int64_t>(done);
    return done;
}

bool CFile::Write(const void* buffer, std::size_t count) {
    const auto* in = static_cast<const char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        if (m_fd < 0)
            return false;
        ssize_t n = ::write(m_fd, in + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
        m_position += n;
    }
    return RememberState();
}

bool CFile::Flush() {
    if (m_fd < 0)
        return false;
    int rc;
    do {
        rc = ::fdatasync(m_fd);
    } while (rc != 0 && errno == EINTR);
    return rc == 0;
}

std::int64_t CFile::GetLength() const {
    struct stat st {};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0)
        return -1;
    return st.st_size;
}

void CFile::Close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

bool CFile::RememberState() {
    struct stat st {};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0)
        return false;
    m_device = st.st_dev;
    m_inode = st.st_ino;
    m_length = st.st_size;
    m_changeTime = st.st_ctim;
    return true;
}

// Any write, truncation or change of permissions moves the change time, which no program can set
// back: a copy over the file that keeps its length is seen too.
bool CFile::IsUnchangedAtPath() const {
    struct stat atPath {};
    return m_fd >= 0 && ::stat(m_strPath.c_str(), &atPath) == 0 && atPath.st_dev == m_device &&
           atPath.st_ino == m_inode && atPath.st_size == m_length &&
           atPath.st_ctim.tv_sec == m_changeTime.tv_sec &&
           atPath.st_ctim.tv_nsec == m_changeTime.tv_nsec;
}

bool CFile::TakeModeOf(const CFile& other) {
    struct stat st {};
    return m_fd >= 0 && other.m_fd >= 0 && ::fstat(other.m_fd, &st) == 0 &&
           ::fchmod(m_fd, st.st_mode & 07777) == 0 && RememberState();
}

bool CFile::MoveTo(const std::string& path) {
    if (m_fd < 0 || ::rename(m_strPath.c_str(), path.c_str()) != 0)
        return false;
    SetFilePath(path);
    return RememberState() && SyncFolderOf(path);
}

std::string CFile::MoveToFreeName(const std::string& name) {
    if (m_fd < 0)
        return {};
    const std::string path = AtFreeName(name, [this](const std::string& free) {
        return ::renameat2(AT_FDCWD, m_strPath.c_str(), AT_FDCWD, free.c_str(), RENAME_NOREPLACE) ==
               0;
    });
    if (path.empty())
        return {};
    SetFilePath(path);
    return RememberState() && SyncFolderOf(path) ? path : std::string();
}

std::string AtFreeName(const std::string& name,
                       const std::function<bool(const std::string&)>& make) {
    for (int n = 1; n <= kFreeNames; ++n) {
        const std::string path = n == 1 ? name : name + "." + std::to_string(n);
        if (make(path))
            return path;
        if (errno != EEXIST)
            break;
    }
    return {};
}

void CFile::Swap(CFile& other) noexcept {
    std::swap(m_fd, other.m_fd);
    std::swap(m_strPath, other.m_strPath);
    std::swap(m_device, other.m_device);
    std::swap(m_inode, other.m_inode);
    std::swap(m_position, other.m_position);
    std::swap(m_length, other.m_length);
    std::swap(m_changeTime, other.m_changeTime);
}

void CFile::SetFilePath(const std::string& path) {
    m_strPath = path;
}

std::string CFile::GetFileTitle() const {
    auto slash = m_strPath.find_last_of('/');
    return slash == std::string::npos ? m_strPath : m_strPath.substr(slash + 1);
}
