#pragma once
// Stands in for the desktop's tray on a session bus: the status-notifier watcher, with a host
// registered, that programs announce their tray icons to.

#include <QDBusConnection>
#include <QObject>
#include <QStringList>

class StatusNotifierWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
public:
    // Takes the watcher's name on the bus at that address; ok() tells whether it could.
    explicit StatusNotifierWatcher(const QString& address);
    ~StatusNotifierWatcher() override;
    bool ok() const { return m_ok; }
    QDBusConnection& connection() { return m_connection; }

    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const { return m_items; }

public slots:
    void RegisterStatusNotifierItem(const QString& service);
    void RegisterStatusNotifierHost(const QString&) {}

private:
    QDBusConnection m_connection;
    QStringList m_items;
    bool m_ok = false;
};
