#pragma once
// One row of the accounts table.

#include <cstdint>
#include <string>

struct Account {
    std::int64_t id = 0;
    std::string username;
    std::string email;        // empty for accounts made by QR or SMS login
    std::string phone;        // empty while no phone is bound
    std::string passwordHash; // empty for accounts without a password
};
