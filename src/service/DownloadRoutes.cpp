#include "DownloadRoutes.h"

#include "JsonReply.h"
#include "PictureFactory.h"
#include "ServiceContext.h"

#include <httplib.h>

#include <optional>

namespace {

// The part between prefix and suffix, when the text has both and something in between.
std::optional<std::string> between(const std::string& text, const std::string& prefix, const std::string& suffix)
{
    if (text.size() <= prefix.size() + suffix.size() || text.compare(0, prefix.size(), prefix) != 0 ||
        text.compare(text.size() - suffix.size(), suffix.size(), suffix) != 0)
        return std::nullopt;
    return text.substr(prefix.size(), text.size() - prefix.size() - suffix.size());
}

} // namespace

void DownloadRoutes::handle(const httplib::Request& req, httplib::Response& res)
{
    const std::string& path = req.path;
    if (const auto guid = between(path, "/download/qr/", ".png")) {
        if (m_context.codes.qr(*guid).state != LoginCodeStore::QrState::Unknown)
            return res.set_content(PictureFactory::qrCode(*guid), "image/png");
    } else if (const auto id = between(path, "/download/avatar/", ".png")) {
        if (const auto account = m_context.accounts.find(*id))
            return res.set_content(PictureFactory::avatar("avatar-" + std::to_string(account->id)), "image/png");
    } else if (const auto key = between(path, "/download/ads/", ".png")) {
        if (const auto ad = m_context.ads.find(*key))
            return res.set_content(PictureFactory::banner(ad->key), "image/png");
    } else if (const auto version = between(path, "/download/updater/", "/korvex_updater")) {
        const UpdateStore::Offer offer = m_context.updates.current();
        if (!offer.version.empty() && offer.version == *version)
            return res.set_content(offer.content, "application/octet-stream");
    }
    JsonReply::fail(res, 404, "not_found", "no such file");
}
