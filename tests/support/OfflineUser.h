#pragma once
// A user whose requests go nowhere: for tests of what the user stores, never of what it sends.

#include "core/user/AbstractUser.h"

#include <memory>
#include <string>

class OfflineUser : public AbstractUser {
public:
    explicit OfflineUser(const std::wstring& folder) : AbstractUser(folder) {}
    void SendRequest(int, std::shared_ptr<Network::AbstractAction>) override {}
};
