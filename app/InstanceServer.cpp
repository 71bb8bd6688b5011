#include "InstanceServer.h"

#include "SingleInstance.h"

#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <string>

#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kIdleMs = 2000;
constexpr std::size_t kMostConnections = 8;

} // namespace

struct CInstanceServer::Connection {
    int socket = -1;
    std::string received;
    // Both may be the sender of the signal that closes the connection: deleted later.
    QSocketNotifier* notifier = nullptr;
    QTimer* idle = nullptr;
};

CInstanceServer::CInstanceServer(int listener,
                                 std::function<void(const QByteArray&)> onBringForward)
    : m_acceptor(listener, QSocketNotifier::Read), m_onBringForward(std::move(onBringForward)) {
    connect(&m_acceptor, &QSocketNotifier::activated, this, &CInstanceServer::Accept);
}

CInstanceServer::~CInstanceServer() {
    while (!m_connections.empty())
        Close(m_connections.front().get());
}

void CInstanceServer::Accept() {
    for (;;) {
        const int socket = ::accept4(static_cast<int>(m_acceptor.socket()), nullptr, nullptr,
                                     SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (socket < 0 && errno == EINTR)
            continue;
        if (socket < 0 && (errno == EMFILE || errno == ENFILE) && !m_connections.empty()) {
            Close(m_connections.front().get());
            continue;
        }
        if (socket < 0) {
            if (errno != EAGAIN && errno != ECONNABORTED) {
                // Out of descriptors with none of ours to give back: wait before trying again.
                m_acceptor.setEnabled(false);
                QTimer::singleShot(kIdleMs, this, [this] { m_acceptor.setEnabled(true); });
            }
            return;
        }
        if (!IsOwnUser(socket)) {
            ::close(socket);
            continue;
        }
        if (m_connections.size() >= kMostConnections)
            Close(m_connections.front().get());
        auto& connection = *m_connections.emplace_back(std::make_unique<Connection>());
        connection.socket = socket;
        connection.notifier = new QSocketNotifier(socket, QSocketNotifier::Read, this);
        connection.idle = new QTimer(this);
        Connection* held = &connection;
        connect(connection.notifier, &QSocketNotifier::activated, this,
                [this, held] { Read(held); });
        connection.idle->setSingleShot(true);
        connect(connection.idle, &QTimer::timeout, this, [this, held] { Close(held); });
        connection.idle->start(kIdleMs);
        Read(held);
    }
}

void CInstanceServer::Read(Connection* connection) {
    const std::size_t longest = LongestBringForwardRequest();
    std::size_t end = std::string::npos;
    while (end == std::string::npos && connection->received.size() < longest) {
        char buffer[512];
        const std::size_t room = std::min(sizeof buffer, longest - connection->received.size());
        const ssize_t got = ::recv(connection->socket, buffer, room, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno == EAGAIN)
            return;
        if (got <= 0)
            break;
        const std::size_t before = connection->received.size();
        connection->received.append(buffer, static_cast<std::size_t>(got));
        end = connection->received.find('\n', before);
    }
    std::string token;
    const bool asked =
        end != std::string::npos &&
        ParseBringForwardRequest(std::string_view(connection->received).substr(0, end), token);
    if (asked)
        ::send(connection->socket, kRequestTaken.data(), kRequestTaken.size(),
               MSG_NOSIGNAL | MSG_DONTWAIT);
    Close(connection);
    if (asked)
        m_onBringForward(QByteArray::fromStdString(token));
}

void CInstanceServer::Close(Connection* connection) {
    const auto found =
        std::find_if(m_connections.begin(), m_connections.end(),
                     [connection](const auto& held) { return held.get() == connection; });
    connection->notifier->setEnabled(false);
    connection->notifier->disconnect(this);
    connection->notifier->deleteLater();
    connection->idle->stop();
    connection->idle->disconnect(this);
    connection->idle->deleteLater();
    ::close(connection->socket);
    m_connections.erase(found);
}
