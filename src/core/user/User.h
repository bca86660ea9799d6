#pragma once
// The process-wide user record: the configuration store plus everything needed to talk to the
// online service (request builder, downloads, advertisements).

#include "core/network/TransferLimits.h"
#include "core/network/Url.h"
#include "core/user/AbstractUser.h"
#include "core/user/AdvertisementList.h"
#include "core/user/ServiceAddress.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class User : public AbstractUser {
public:
    static constexpr const char* kApiKey = "QX7TN2LW4RB8MZ5D";
    static constexpr const char* kApiPath = "/index.php";

    // The updater is not among them: it is streamed to its file while it arrives (DownloadAction).
    enum class ReplyFileKind { QrImage, AdvertisementImage, Avatar };

    // The record of this run, created on first use with the documents folder and the service
    // address of the install settings.
    static User& instance();
    // The record that is current (instance(), or one a test made); null before either exists.
    static User* current();

    // A record with its own configuration folder and service address; it becomes current.
    User(std::optional<std::wstring> configFolder, const std::string& serviceBase);
    ~User() override;

    void SendRequest(int request, std::shared_ptr<Network::AbstractAction> action) override;
    // Downloads of links the service handed out (25 to 29); other numbers do nothing.
    // announcedSize: the size the service said the file has (0: not said).
    void SendRequestTo(int request, std::shared_ptr<Network::AbstractAction> action,
                       const Network::URL& target, std::uint64_t announcedSize = 0);
    // What a request of that number may receive: service replies and pictures a few MB, the
    // updater the announced size or a stated maximum.
    static Network::TransferLimits transferLimits(int request, std::uint64_t announcedSize = 0);

    Network::URL buildRequestUrl(int request) const;
    std::string adClickUrl(const std::string& key) const;

    // Escapes each value (percent-encoding of every byte but letters, digits and "-._~").
    void setFeedbackFields(const std::string& key, const std::string& value,
                           const std::string& content);

    // Writes a downloaded body where its kind belongs and returns the path.
    std::wstring saveReplyFile(ReplyFileKind kind, const std::string& body, const std::string& link);

    AdvertisementList& advertisements() { return m_ads; }
    void downloadAdvertisements(std::shared_ptr<Network::AbstractAction> action);

    // The web base address the service tells in its configuration reply.
    std::string getWebBase() const;
    void setWebBase(const std::string& base);

    const ServiceAddress& serviceAddress() const { return m_address; }

    // Files the program fetched for this run only (QR codes, the screenshot) live here: a
    // private folder, removed at exit.
    std::wstring runFolder();
    // The downloaded updater lives here: as private, but left in place at exit, since the
    // updater runs on after the program has ended. Ends with the separator; empty when the
    // folder cannot be made.
    std::wstring updaterFolder();

private:
    ServiceAddress m_address;
    AdvertisementList m_ads;
    std::string m_webBase;
    std::atomic<int> m_qrCounter{0};
};
