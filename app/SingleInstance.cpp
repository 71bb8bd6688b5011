#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalSocket>

#include <algorithm>
#include <memory>
#include <optional>

#include <unistd.h>

namespace {

// The request is this, then a space and the launcher's token when there is one, then a newline.
constexpr char kBringForwardRequest[] = "quillow: bring forward";
constexpr int kMaxTokenBytes = 256;
constexpr int kConnectTimeoutMs = 500;

bool IsToken(const QByteArray& token) {
    return !token.isEmpty() && token.size() <= kMaxTokenBytes &&
           std::all_of(token.begin(), token.end(), [](char c) { return c > ' ' && c < 127; });
}

QByteArray LauncherToken() {
    for (const char* variable : {"XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"}) {
        const QByteArray token = qgetenv(variable);
        if (!token.isEmpty())
            return IsToken(token) ? token : QByteArray();
    }
    return {};
}

// The token of a whole request line, or nothing when the line is not a request.
std::optional<QByteArray> ParseRequest(const QByteArray& line) {
    const QByteArray request(kBringForwardRequest);
    if (line == request + '\n')
        return QByteArray();
    if (!line.startsWith(request + ' ') || !line.endsWith('\n'))
        return std::nullopt;
    const QByteArray token = line.mid(request.size() + 1).chopped(1);
    if (!IsToken(token))
        return std::nullopt;
    return token;
}

QString ServerName(const QString& caption) {
    const QByteArray digest =
        QCryptographicHash::hash(caption.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
    return QStringLiteral("quillow-%1-%2").arg(::getuid()).arg(QString::fromLatin1(digest));
}

} // namespace

bool BringRunningCopyForward(const QString& caption) {
    QLocalSocket socket;
    socket.connectToServer(ServerName(caption));
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    QByteArray request(kBringForwardRequest);
    if (const QByteArray token = LauncherToken(); !token.isEmpty())
        request += ' ' + token;
    socket.write(request + '\n');
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

CInstanceServer::CInstanceServer(std::function<void(const QByteArray&)> onBringForward)
    : m_onBringForward(std::move(onBringForward)) {
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &CInstanceServer::Answer);
}

void CInstanceServer::Listen(const QString& caption) {
    m_server.close();
    const QString name = ServerName(caption);
    if (m_server.listen(name))
        return;
    // A copy that was killed leaves its socket behind; a live one answers and keeps it.
    if (m_server.serverError() == QAbstractSocket::AddressInUseError) {
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(kConnectTimeoutMs))
            return;
        QLocalServer::removeServer(name);
        m_server.listen(name);
    }
}

void CInstanceServer::Answer() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto received = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, received] {
            *received += socket->readAll();
            const qsizetype longest = qsizetype(sizeof kBringForwardRequest) + kMaxTokenBytes + 1;
            if (!received->contains('\n') && received->size() < longest)
                return;
            socket->disconnectFromServer();
            if (const auto token = ParseRequest(*received))
                m_onBringForward(*token);
        });
    }
}
