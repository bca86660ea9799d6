#include "menu/MakerPages.h"

#include "app/InstallSettings.h"

MakerPages MakerPages::fromInstallSettings()
{
    const InstallSettings settings = InstallSettings::readDefault();
    return {settings.helpPage(), settings.aboutPage()};
}
