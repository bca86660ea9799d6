#include "gui/app/SingleInstance.h"

#include <QDir>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace {

constexpr int kConnectTimeoutMs = 2000;
const QByteArray kActivate = "activate\n";

QString runtimeFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath() + QStringLiteral("/korvex-runtime-") + QString::number(::getuid());
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return folder;
}

} // namespace

SingleInstance::SingleInstance(const QString& name) : m_name(name)
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::socketPath() const
{
    return runtimeFolder() + QLatin1Char('/') + m_name + QStringLiteral(".socket");
}

bool SingleInstance::sendToRunning(const QByteArray& line) const
{
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    socket.write(line);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::claim()
{
    m_lock = std::make_unique<QLockFile>(runtimeFolder() + QLatin1Char('/') + m_name + QStringLiteral(".lock"));
    m_lock->setStaleLockTime(0); // a lock whose owner died is taken over
    if (!m_lock->tryLock(100)) {
        sendToRunning(kActivate);
        return false;
    }
    // We hold the lock: a socket file left by a crashed run is ours to replace.
    QLocalServer::removeServer(socketPath());
    m_server.listen(socketPath());
    return true;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readLines(socket); });
        readLines(socket); // data that arrived with the connection
    }
}

void SingleInstance::readLines(QLocalSocket* socket)
{
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine(1 << 20).trimmed();
        if (line + '\n' == kActivate) {
            emit activateRequested();
            continue;
        }
        const QJsonDocument document = QJsonDocument::fromJson(line);
        if (document.isObject())
            emit externalReport(document.object());
    }
}
