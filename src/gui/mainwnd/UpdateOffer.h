#pragma once
// The update check of the window: the user's own check, the offer the reply brings (or the
// notice that this is the newest version), and the download window for an accepted offer.

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

class Action;
class QWidget;
struct UpgradeInfo;

class UpdateOffer : public QObject {
    Q_OBJECT
public:
    UpdateOffer(QWidget& window, std::shared_ptr<Action> action);

    // The user's own check (request 23); the reply arrives as an offer or a notice.
    void check();
    // The reply of a check, the silent one of start-up or the user's.
    void onReply(const UpgradeInfo& info);
    // The download window for the offered link, run modally; sha256 is the digest the offer
    // gave for the updater, size (when the offer names one) all the download may bring.
    void openDownloadWindow(const QString& url, const QString& sha256 = QString(), std::uint64_t size = 0);

signals:
    // The downloaded updater runs: the program has to end at once, in order.
    void updaterStarted();

private:
    QWidget& m_window;
    std::shared_ptr<Action> m_action;
};
