#pragma once
// What the elements of the drop-down menu do (WM_MENU_COMMAND), by element name, compared
// without regard to case. Unknown names do nothing.

#include "gui/menu/MakerPages.h"

#include <QString>

#include <string>

class MenuTarget;

namespace MenuCommands {

// The user centre of the online service for the logged-in user.
std::string userCentreAddress();

void run(MenuTarget& target, const MakerPages& pages, const QString& name);

} // namespace MenuCommands
