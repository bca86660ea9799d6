// Stand-in updater: installs nothing. It appends one line saying what it would update, with
// its arguments, to updater.log in the program's configuration folder, and exits 0.

#include "common/Utils.h"
#include "platform/UserFolders.h"
#include "user/AbstractUser.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    std::string line = "korvex_updater would update";
    for (int i = 1; i < argc; ++i)
        line += std::string(" \"") + argv[i] + "\"";
    if (argc < 2)
        line += " (no program folder given)";
    line += '\n';

    const std::filesystem::path folder =
        std::filesystem::path(Utils::wideToUtf8(Platform::documentsFolder())) / AbstractUser::kFolderName;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    FILE* log = std::fopen((folder / "updater.log").c_str(), "a");
    if (!log)
        return 0; // nothing to update either way
    std::fputs(line.c_str(), log);
    std::fclose(log);
    return 0;
}
