#include "StatusNotifierWatcher.h"

namespace {
const QString kName = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kPath = QStringLiteral("/StatusNotifierWatcher");
} // namespace

StatusNotifierWatcher::StatusNotifierWatcher(const QString& address)
    : m_connection(QDBusConnection::connectToBus(address, QStringLiteral("korvex-test-watcher")))
{
    m_ok = m_connection.isConnected() &&
           m_connection.registerObject(kPath, this,
                                       QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties) &&
           m_connection.registerService(kName);
}

StatusNotifierWatcher::~StatusNotifierWatcher()
{
    m_connection.unregisterService(kName);
    m_connection.unregisterObject(kPath);
    QDBusConnection::disconnectFromBus(QStringLiteral("korvex-test-watcher"));
}

void StatusNotifierWatcher::RegisterStatusNotifierItem(const QString& service)
{
    m_items << service;
}
