#include "AdvertisementStore.h"

#include "Database.h"

std::vector<AdvertisementStore::Advertisement> AdvertisementStore::all()
{
    std::vector<Advertisement> ads;
    auto guard = m_db.lock();
    auto st = m_db.prepare("SELECT img_key, title FROM advertisements ORDER BY position, img_key");
    while (st.step())
        ads.push_back({st.text(0), st.text(1)});
    return ads;
}

std::optional<AdvertisementStore::Advertisement> AdvertisementStore::find(const std::string& key)
{
    auto guard = m_db.lock();
    auto st = m_db.prepare("SELECT img_key, title FROM advertisements WHERE img_key = ?1");
    st.bind(1, key);
    if (!st.step())
        return std::nullopt;
    return Advertisement{st.text(0), st.text(1)};
}
