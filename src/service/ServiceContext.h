#pragma once
// Everything the request handlers share: the database with its stores, the armed faults and the
// address under which the service hands out its links.

#include "AccountStore.h"
#include "AdvertisementStore.h"
#include "Database.h"
#include "FaultInjector.h"
#include "LoginCodeStore.h"
#include "ReportStore.h"
#include "SettingsStore.h"
#include "UpdateStore.h"

#include <string>

struct ServiceContext {
    explicit ServiceContext(const std::string& databasePath)
        : db(databasePath), accounts(db), codes(db), reports(db), settings(db), ads(db), updates(db)
    {
    }

    // "http://127.0.0.1:PORT" without a trailing slash; set once the port is bound.
    std::string link(const std::string& path) const { return baseUrl + path; }

    Database db;
    AccountStore accounts;
    LoginCodeStore codes;
    ReportStore reports;
    SettingsStore settings;
    AdvertisementStore ads;
    UpdateStore updates;
    FaultInjector faults;
    std::string baseUrl;
};
