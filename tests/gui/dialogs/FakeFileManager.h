#pragma once
// Test doubles for the desktop: a stand-in freedesktop file manager on a private session bus,
// and a recorder of the URLs handed to QDesktopServices.

#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QUrl>

// Exported on the bus as org.freedesktop.FileManager1 at /org/freedesktop/FileManager1.
class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QStringList shownItems;
    QString startupId;
    int calls = 0;

public slots:
    void ShowItems(const QStringList& uris, const QString& startupId);
};

class UrlRecorder : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.push_back(url); }
};

// A dbus-daemon of this test program, used as the session bus (the user's own session bus is
// never touched). Must be started before anything in the process reaches the session bus.
class PrivateSessionBus {
public:
    ~PrivateSessionBus();
    // False when no dbus-daemon can be started here.
    bool start();
    QString address() const { return m_address; }

private:
    QProcess m_daemon;
    QString m_address;
};
