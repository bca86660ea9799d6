#pragma once
// Turns SIGTERM, SIGINT and SIGHUP into the program's orderly shutdown: the signal handler
// only writes a byte to a pipe, and the event loop, seeing it, emits received(). The program
// then quits the way the menu does, so workers stop and the private folder is removed.

#include <QObject>

class QSocketNotifier;

class QuitOnSignals : public QObject {
    Q_OBJECT
public:
    // One per process; installs the handlers.
    explicit QuitOnSignals(QObject* parent = nullptr);
    ~QuitOnSignals() override;

signals:
    void received(int signal);

private:
    void onReadable();

    QSocketNotifier* m_notifier = nullptr;
};
