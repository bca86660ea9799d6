#pragma once
// The name of the drop-down menu element that was chosen (WM_MENU_COMMAND).

#include "core/message/MessagePayload.h"

#include <QString>

struct MenuCommandPayload : MessagePayload {
    explicit MenuCommandPayload(QString n) : name(std::move(n)) {}
    QString name;
};
