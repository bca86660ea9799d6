#pragma once
// The modal window that downloads the offered updater (form DownloadWnd.ui): a progress bar, a
// status line and a button that stops the download. When the checked updater has been
// started the window closes with UpdaterStarted, and its owner ends the program.

#include "gui/dialogs/FramelessDialog.h"
#include "gui/seam/SeamWindow.h"

#include <QSize>

#include <cstdint>
#include <memory>

namespace Ui {
class DownloadWnd;
}

class DownloadWnd : public FramelessDialog, public SeamWindow {
    Q_OBJECT

public:
    static constexpr const char* kWindowClassName = "DownloadWnd";
    static constexpr const char* kWindowName = "DownWnd";
    static constexpr QSize kSize{400, 180};

    // Result codes: stopped, closed or failed; or the updater runs.
    enum Result { Stopped = 0, UpdaterStarted = 1 };

    explicit DownloadWnd(QWidget* owner = nullptr);
    // Stops a download that is still running.
    ~DownloadWnd() override;

    // Starts downloading the link; sha256 is the digest the offer gave for it. A link the
    // program does not download fails at once, with the failure message.
    void startDownload(const QString& url, const QString& sha256, std::uint64_t announcedSize = 0);

    std::intptr_t handleSeamMessage(int message, std::intptr_t wParam,
                                    std::unique_ptr<MessagePayload> payload) override;

    // "25% [512.00 KB/2.0 MB]" for 512 KiB of 2 MiB; empty when nothing is to be shown
    // (an unknown size, or less than 1%).
    static QString statusText(double received, double total);

protected:
    bool event(QEvent* event) override;

public slots:
    // Escape and the window's close count as the stop button.
    void reject() override;

private:
    void stop();
    void onProgress(double total, double received);
    void showFailure();

    std::unique_ptr<Ui::DownloadWnd> m_ui;
    bool m_showingFailure = false;
};
