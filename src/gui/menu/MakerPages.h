#pragma once
// The maker's web pages that the menus offer: the help page (online service chat) and the
// product page. They come from the install settings; an entry whose page is not given is left
// out of the menus.

#include <string>

struct MakerPages {
    std::string help;
    std::string about;

    static MakerPages fromInstallSettings();
};
