#pragma once
// The advertisements of the last GetAds reply with their downloaded images.

#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct Advertisement {
    std::string imgKey;
    std::string imgUrl;
    std::wstring localPath; // empty until the image is downloaded
};

class AdvertisementList {
public:
    void add(const Advertisement& ad);
    void clear();
    std::vector<Advertisement> all() const;
    // Records the downloaded image of every entry whose link matches.
    void setLocalPath(const std::string& imgUrl, const std::wstring& path);
    // The entry after the one with this key (wrapping); the first for an empty key; nothing
    // for an empty list or an unknown key.
    std::optional<Advertisement> next(const std::string& key) const;

private:
    mutable std::mutex m_mutex;
    std::vector<Advertisement> m_ads;
};
