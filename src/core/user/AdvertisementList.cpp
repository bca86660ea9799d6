#include "core/user/AdvertisementList.h"

void AdvertisementList::add(const Advertisement& ad)
{
    std::lock_guard lock(m_mutex);
    m_ads.push_back(ad);
}

void AdvertisementList::clear()
{
    std::lock_guard lock(m_mutex);
    m_ads.clear();
}

std::vector<Advertisement> AdvertisementList::all() const
{
    std::lock_guard lock(m_mutex);
    return m_ads;
}

void AdvertisementList::setLocalPath(const std::string& imgUrl, const std::wstring& path)
{
    std::lock_guard lock(m_mutex);
    for (Advertisement& ad : m_ads) {
        if (ad.imgUrl == imgUrl)
            ad.localPath = path;
    }
}

std::optional<Advertisement> AdvertisementList::next(const std::string& key) const
{
    std::lock_guard lock(m_mutex);
    if (m_ads.empty())
        return std::nullopt;
    if (key.empty())
        return m_ads.front();
    for (std::size_t i = 0; i < m_ads.size(); ++i) {
        if (m_ads[i].imgKey == key)
            return m_ads[(i + 1) % m_ads.size()];
    }
    return std::nullopt;
}
