#pragma once
// One running program per user. The first start holds a lock and listens on a local socket in
// the user's runtime folder (readable by this user only); a second start finds the socket,
// asks the first to come to the front, and exits. The same socket takes reports of external
// conversion processes: one JSON object per line.

#include <QJsonObject>
#include <QLocalServer>
#include <QLockFile>
#include <QObject>

#include <memory>

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // name: distinguishes programs (and tests) sharing a runtime folder.
    explicit SingleInstance(const QString& name = QStringLiteral("korvex-pdf"));
    ~SingleInstance() override;

    // True when this process is the first: it now listens. False when another instance runs;
    // that one has been asked to come to the front.
    bool claim();

    // Sends one line to the running instance; false when none listens.
    bool sendToRunning(const QByteArray& line) const;

    QString socketPath() const;

signals:
    void activateRequested();
    void externalReport(const QJsonObject& report);

private:
    void onNewConnection();
    void readLines(class QLocalSocket* socket);

    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
};
