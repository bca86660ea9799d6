#pragma once
// The download window's action: reports the progress of the updater's download, stops it when
// the user cancels, and on completion checks the program against the digest the service sent
// before it is started. The window then ends the program in order.

#include "actions/CommonWndUserAction.h"

#include <memory>
#include <string>

class DownloadAction : public CommonWndUserAction, public std::enable_shared_from_this<DownloadAction> {
public:
    // expectedSha256: the hexadecimal digest the update offer carried.
    DownloadAction(WindowHandle window, std::string expectedSha256);

    void OnReply(Network::Reply& reply) override;
    int OnProgress(double totalTime, double downloadTotal, double downloaded, double uploadTotal,
                   double uploaded) override;

    // The process-wide cancel flag: set, the running download stops at its next progress call.
    static void setCancelled(bool cancelled);
    static bool cancelled();

    // Links the program downloads and runs: https, or http to a loopback host.
    static bool isAllowedLink(const std::string& link);

private:
    // Checks, stores and starts the updater; false (and nothing left behind) on any failure.
    bool installAndStart(const std::string& body, const std::string& link);
    void fail();

    std::string m_expectedSha256;
};
