#include "FakeFileManager.h"

#include <QStandardPaths>

#include <csignal>
#include <cstdlib>
#include <sys/prctl.h>
#include <unistd.h>

void FakeFileManager::ShowItems(const QStringList& uris, const QString& id)
{
    ++calls;
    shownItems = uris;
    startupId = id;
}

PrivateSessionBus::~PrivateSessionBus()
{
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000))
            m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }
}

bool PrivateSessionBus::start()
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty())
        return false;
    // The daemon ends with this program, even when the program dies.
    m_daemon.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_daemon.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                            QStringLiteral("--print-address=1")});
    if (!m_daemon.waitForStarted(5000))
        return false;
    while (!m_daemon.canReadLine()) {
        if (!m_daemon.waitForReadyRead(5000))
            return false;
    }
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    if (m_address.isEmpty())
        return false;
    ::setenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8().constData(), 1);
    return true;
}
