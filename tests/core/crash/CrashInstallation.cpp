#include "CrashInstallation.h"

#include "core/common/Utils.h"

#include <cerrno>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

CrashInstallation::CrashInstallation()
{
    const fs::path bin = Utils::wideToUtf8(Utils::getModuleDirectory());
    fs::create_directories(programs());
    for (const char* name : {"korvex-crash-probe", "reportis"})
        fs::copy_file(bin / name, programs() / name);
    fs::create_directories(m_dir.path() / "home");
    // Until a test names its service, reports go to a loopback port nobody listens on.
    useService("http://127.0.0.1:9");
}

void CrashInstallation::useService(const std::string& base)
{
    writeFile(programs() / "install.json", "{\"PackageName\":\"Lumo Test\",\"ServiceBase\":\"" + base + "\"}");
}

fs::path CrashInstallation::configFolder() const
{
    return m_dir.path() / "home/Documents/PDF_Splitting_And_merging_Lumo";
}

std::vector<fs::path> CrashInstallation::keptReports() const
{
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator it(configFolder(), error), end; !error && it != end; it.increment(error)) {
        if (it->path().filename().string().rfind("crash-report-", 0) == 0)
            found.push_back(it->path());
    }
    return found;
}

std::pair<pid_t, int> CrashInstallation::run(const char* program, const std::vector<std::string>& args) const
{
    std::vector<std::string> all = {(programs() / program).string()};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    // The environment is made before the fork: the child only calls execve.
    const std::string home = (m_dir.path() / "home").string();
    std::vector<std::string> environment = {"HOME=" + home, "XDG_CONFIG_HOME=" + home + "/.config",
                                            "KORVEX_REPORTIS_LOG=" + log().string()};
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        if (text.rfind("HOME=", 0) != 0 && text.rfind("XDG_CONFIG_HOME=", 0) != 0 &&
            text.rfind("KORVEX_REPORTIS_LOG=", 0) != 0 && text.rfind("XDG_DOCUMENTS_DIR=", 0) != 0)
            environment.push_back(text);
    }
    std::vector<char*> envp;
    for (std::string& e : environment)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return {child, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}
