// The configuration file as the program finds it at start: any bytes. Loading never throws,
// and what was loaded can be read and written again.

#include "FuzzInput.h"
#include "OfflineUser.h"

#include <filesystem>
#include <fstream>

namespace {

std::filesystem::path g_folder;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // No request leaves the process: error reports of a broken file go nowhere.
    g_folder = makeFuzzFolder("config");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::error_code error;
    std::filesystem::remove_all(g_folder / "config", error);
    std::filesystem::create_directories(g_folder / "config");
    {
        std::ofstream out(g_folder / "config" / "korvex_split_and_merge_config.json", std::ios::binary);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    auto user = makeOfflineUser((g_folder / "config").string());
    user->getHistory();
    user->getSavePath();
    user->getLanguage();
    user->getUserId();
    user->getOpenKey();
    user->getValue("m_hotkeyValue");
    // A change is written and reads back.
    user->setUserName("fuzz");
    user.reset();
    FUZZ_CHECK(makeOfflineUser((g_folder / "config").string())->getUserName() == "fuzz");
    return 0;
}
