#pragma once
// The user of a window test against the stand-in service: Chinese, with the window side's
// message sink in place and the request runner started.

#include "core/app/Glossary.h"
#include "core/network/RequestRunner.h"
#include "core/user/User.h"
#include "gui/seam/QtMessageSink.h"
#include "support/ServiceProcess.h"
#include "support/TempDir.h"

#include <memory>

inline std::unique_ptr<User> startServiceUser(const TempDir& dir, const ServiceProcess& service)
{
    QtMessageSink::instance();
    Network::RequestRunner::instance().restart();
    auto user = std::make_unique<User>(dir.wide("config"), service.baseUrl());
    user->setLanguage(Glossary::CHINESE);
    return user;
}
