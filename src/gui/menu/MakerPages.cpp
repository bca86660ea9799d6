#include "gui/menu/MakerPages.h"

#include "core/app/InstallSettings.h"

MakerPages MakerPages::fromInstallSettings()
{
    const InstallSettings settings = InstallSettings::readDefault();
    return {settings.helpPage(), settings.aboutPage()};
}
