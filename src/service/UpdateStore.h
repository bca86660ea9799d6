#pragma once
// The update on offer: the version the update check announces, the text shown with it, and the
// updater program handed out for it together with its SHA-256 digest. An empty version means
// that no update is offered.

#include <string>

class Database;

class UpdateStore {
public:
    struct Offer {
        std::string version;
        std::string message;
        std::string content; // the updater program
        std::string sha256;  // lower-case hexadecimal digest of content
    };

    // The updater handed out until another one is set: a script that changes nothing.
    static const std::string& defaultUpdater();

    explicit UpdateStore(Database& db);

    Offer current();
    void setVersion(const std::string& version, const std::string& message);
    void setContent(const std::string& content);

private:
    Database& m_db;
};
