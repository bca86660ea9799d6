#pragma once
// The download window's action: reports the progress of the updater's download, stops it when
// the user cancels, streams it into the run's private folder, and on completion checks the
// program against the digest the service sent before it is started. The window then ends the
// program in order. One action serves one download.

#include "core/actions/UpdaterFile.h"
#include "core/network/CommonWndUserAction.h"

#include <memory>
#include <string>

class DownloadAction : public CommonWndUserAction, public std::enable_shared_from_this<DownloadAction> {
public:
    // expectedSha256: the hexadecimal digest the update offer carried.
    DownloadAction(WindowHandle window, std::string expectedSha256);

    void OnReply(Network::Reply& reply) override;
    int OnProgress(double totalTime, double downloadTotal, double downloaded, double uploadTotal,
                   double uploaded) override;
    bool streamsBody() const override { return true; }
    bool OnBodyData(const char* data, std::size_t size) override;

    // The process-wide cancel flag: set, the running download stops at its next progress call.
    static void setCancelled(bool cancelled);
    static bool cancelled();

    // Links the program downloads and runs: https, or http to a loopback host.
    static bool isAllowedLink(const std::string& link);

private:
    // Checks, places and starts the updater; false (and nothing left behind) on any failure.
    bool installAndStart();
    // The file the download goes to, made on the first bytes; null without a private folder.
    UpdaterFile* file();
    void fail();

    std::string m_expectedSha256;
    std::unique_ptr<UpdaterFile> m_file;
};
