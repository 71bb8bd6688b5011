#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalSocket>

#include <memory>

#include <unistd.h>

namespace {

constexpr char kBringForwardRequest[] = "quillow: bring forward\n";
constexpr int kConnectTimeoutMs = 500;

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
    socket.write(kBringForwardRequest);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

CInstanceServer::CInstanceServer(std::function<void()> onBringForward)
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
            const QByteArray request(kBringForwardRequest);
            if (received->size() < request.size() && request.startsWith(*received))
                return;
            socket->disconnectFromServer();
            if (*received == request)
                m_onBringForward();
        });
    }
}
