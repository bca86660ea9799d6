#pragma once
// The advertisements the service offers (seeded when the database is created).

#include <optional>
#include <string>
#include <vector>

class Database;

class AdvertisementStore {
public:
    struct Advertisement {
        std::string key;
        std::string title;
    };

    explicit AdvertisementStore(Database& db) : m_db(db) {}

    std::vector<Advertisement> all();
    std::optional<Advertisement> find(const std::string& key);

private:
    Database& m_db;
};
