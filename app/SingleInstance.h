#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// At most one Quillow per user session. The first start takes a lock in a folder that only this
// user can create files in and listens on a socket beside it at once; a later start finds the
// lock held, hands the running copy one request and ends.

// The request: "quillow: bring forward", then a space and the launcher's activation token when
// there is one, then LF.
std::string BringForwardRequest(std::string_view activationToken);
// The token of a request line (without its LF); false when the line is no request.
bool ParseBringForwardRequest(std::string_view line, std::string& activationToken);
// The longest request, LF included.
std::size_t LongestBringForwardRequest();
// What the running copy sends back once it has taken a request.
inline constexpr std::string_view kRequestTaken = "ok\n";

// Whether the process at the other end of a connected socket runs as this user.
bool IsOwnUser(int socket);

// The token the launcher gave this start: XDG_ACTIVATION_TOKEN, else DESKTOP_STARTUP_ID; empty
// when there is none or it is not printable ASCII without spaces of at most 256 bytes.
std::string LauncherActivationToken();

// Where the lock and the socket live: $XDG_RUNTIME_DIR when it is this user's private folder,
// else /run/user/UID when it is, else "quillow-UID" under the temporary folder, or in the user's
// cache folder when another user has that name, made private and checked to be this user's.
// Empty when none can be trusted.
std::string PrivateInstanceFolder();

class CSingleInstance {
public:
    enum Role {
        ROLE_FIRST,    // this start runs; it listens when it could
        ROLE_ASKED,    // the running copy took the request
        ROLE_NO_ANSWER // a copy runs but did not take the request in time
    };

    CSingleInstance() = default;
    // Stops listening, the socket removed, and lets the lock go.
    ~CSingleInstance();
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // Takes the session's lock and listens, or sends the request to the copy that holds it. A
    // socket of another user is never spoken to: this start then runs and listens in its place.
    Role Claim(std::string_view activationToken);
    // The socket on which the running copy takes requests; -1 when it does not listen.
    int Listener() const { return m_listener; }

private:
    void Listen();

    std::string m_socketPath;
    int m_lock = -1;
    int m_listener = -1;
};
