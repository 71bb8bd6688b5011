#include "SingleInstance.h"

#include "UserFolders.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr std::string_view kRequest = "quillow: bring forward";
constexpr std::size_t kLongestToken = 256;
// How long a later start waits for the running copy to take its request.
constexpr auto kAnswerTime = std::chrono::seconds(3);
constexpr useconds_t kRetryMicroseconds = 20000;

using Clock = std::chrono::steady_clock;

void Warn(const std::string& path, const char* why) {
    std::fprintf(stderr, "quillow: %s: %s\n", path.c_str(), why);
}

bool IsActivationToken(std::string_view token) {
    return !token.empty() && token.size() <= kLongestToken &&
           std::all_of(token.begin(), token.end(), [](char c) { return c > ' ' && c < 0x7F; });
}

// A folder of this user that no one else may enter.
bool IsPrivateFolder(const struct stat& folder) {
    return S_ISDIR(folder.st_mode) && folder.st_uid == ::getuid() && (folder.st_mode & 077) == 0;
}

bool FitsSocketAddress(const std::string& path) {
    return path.size() < sizeof(sockaddr_un{}.sun_path);
}

// The folder at the path, made when missing and made private; empty when it is another user's
// (who may have made it first), not a folder, or too deep for a socket.
std::string OwnPrivateFolder(const std::string& path) {
    struct stat folder {};
    if ((::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) ||
        ::lstat(path.c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode) ||
        folder.st_uid != ::getuid() ||
        (!IsPrivateFolder(folder) && ::chmod(path.c_str(), 0700) != 0) ||
        !FitsSocketAddress(path + "/quillow.socket"))
        return {};
    return path;
}

sockaddr_un SocketAddress(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

int Milliseconds(Clock::duration duration) {
    return static_cast<int>(
        std::max<long long>(0, std::chrono::ceil<std::chrono::milliseconds>(duration).count()));
}

enum class Answer { TAKEN, NONE, STRANGER };

// Hands the request to the copy listening at the path, and waits for it to take it.
Answer AskListener(const std::string& path, const std::string& request, Clock::time_point until) {
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (socket < 0)
        return Answer::NONE;
    const sockaddr_un address = SocketAddress(path);
    Answer answer = Answer::NONE;
    std::string reply;
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        // Nothing there yet, or its queue is full: asked again.
    } else if (!IsOwnUser(socket)) {
        answer = Answer::STRANGER;
    } else if (::send(socket, request.data(), request.size(), MSG_NOSIGNAL) ==
               static_cast<ssize_t>(request.size())) {
        pollfd wait{socket, POLLIN, 0};
        while (reply.size() < kRequestTaken.size()) {
            const int ready = ::poll(&wait, 1, Milliseconds(until - Clock::now()));
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready <= 0)
                break;
            char buffer[8];
            const ssize_t got = ::recv(socket, buffer, sizeof buffer, 0);
            if (got > 0)
                reply.append(buffer, static_cast<std::size_t>(got));
            else if (got == 0 || (errno != EAGAIN && errno != EINTR))
                break;
        }
        if (reply == kRequestTaken)
            answer = Answer::TAKEN;
    }
    ::close(socket);
    return answer;
}

} // namespace

bool IsOwnUser(int socket) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == ::getuid();
}

std::string BringForwardRequest(std::string_view activationToken) {
    std::string request(kRequest);
    if (!activationToken.empty()) {
        request += ' ';
        request += activationToken;
    }
    return request + '\n';
}

bool ParseBringForwardRequest(std::string_view line, std::string& activationToken) {
    if (!line.starts_with(kRequest))
        return false;
    line.remove_prefix(kRequest.size());
    if (line.empty()) {
        activationToken.clear();
        return true;
    }
    if (!line.starts_with(' ') || !IsActivationToken(line.substr(1)))
        return false;
    activationToken = line.substr(1);
    return true;
}

std::size_t LongestBringForwardRequest() {
    return kRequest.size() + 1 + kLongestToken + 1;
}

std::string LauncherActivationToken() {
    for (const char* name : {"XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return IsActivationToken(value) ? value : "";
    }
    return {};
}

std::string PrivateInstanceFolder() {
    // The session's folder where the system makes one, also for a start without the variable:
    // both then take the same lock.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    for (std::string runtimeFolder :
         {std::string(runtime ? runtime : ""), "/run/user/" + std::to_string(::getuid())}) {
        while (runtimeFolder.size() > 1 && runtimeFolder.ends_with('/'))
            runtimeFolder.pop_back();
        struct stat folder {};
        if (runtimeFolder.starts_with('/') && ::stat(runtimeFolder.c_str(), &folder) == 0 &&
            IsPrivateFolder(folder) && FitsSocketAddress(runtimeFolder + "/quillow.socket"))
            return runtimeFolder;
    }
    // Else "quillow-UID" under the temporary folder, or, when another user has taken that name,
    // in the user's own cache folder.
    const char* temporary = std::getenv("TMPDIR");
    const std::string name = "/quillow-" + std::to_string(::getuid());
    std::string cache = UserCacheHome();
    ::mkdir(cache.c_str(), 0700);
    cache.pop_back();
    for (const std::string& base :
         {std::string(temporary && temporary[0] == '/' ? temporary : "/tmp"), cache})
        if (const std::string own = OwnPrivateFolder(base + name); !own.empty())
            return own;
    return {};
}

CSingleInstance::~CSingleInstance() {
    if (m_listener >= 0) {
        ::unlink(m_socketPath.c_str());
        ::close(m_listener);
    }
    if (m_lock >= 0)
        ::close(m_lock);
}

CSingleInstance::Role CSingleInstance::Claim(std::string_view activationToken) {
    const std::string folder = PrivateInstanceFolder();
    if (folder.empty()) {
        Warn("quillow-" + std::to_string(::getuid()),
             "no private folder for the single-instance lock; running without it");
        return ROLE_FIRST;
    }
    m_socketPath = folder + "/quillow.socket";
    const std::string lockPath = folder + "/quillow.lock";
    m_lock = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_lock < 0) {
        Warn(lockPath, std::strerror(errno));
        return ROLE_FIRST;
    }

    const std::string request = BringForwardRequest(activationToken);
    const Clock::time_point until = Clock::now() + kAnswerTime;
    for (;;) {
        if (::flock(m_lock, LOCK_EX | LOCK_NB) == 0) {
            Listen();
            return ROLE_FIRST;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            Warn(lockPath, std::strerror(errno));
            Listen();
            return ROLE_FIRST;
        }
        switch (AskListener(m_socketPath, request, until)) {
        case Answer::TAKEN:
            return ROLE_ASKED;
        case Answer::STRANGER:
            Warn(m_socketPath, "belongs to another user; ignored");
            // Whoever holds the lock listens there: a lock of its own takes the old one's place.
            ::close(m_lock);
            ::unlink(lockPath.c_str());
            m_lock = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
            if (m_lock < 0 || ::flock(m_lock, LOCK_EX | LOCK_NB) != 0)
                Warn(lockPath, "cannot be locked");
            Listen();
            return ROLE_FIRST;
        case Answer::NONE:
            // Still starting or just ending: the lock or the socket is asked again.
            break;
        }
        if (Clock::now() >= until)
            return ROLE_NO_ANSWER;
        ::usleep(kRetryMicroseconds);
    }
}

void CSingleInstance::Listen() {
    // What is there is a killed copy's socket or something that is not ours to keep.
    ::unlink(m_socketPath.c_str());
    m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const sockaddr_un address = SocketAddress(m_socketPath);
    if (m_listener >= 0 &&
        ::bind(m_listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        ::listen(m_listener, SOMAXCONN) == 0)
        return;
    Warn(m_socketPath, std::strerror(errno));
    if (m_listener >= 0)
        ::close(m_listener);
    m_listener = -1;
}
