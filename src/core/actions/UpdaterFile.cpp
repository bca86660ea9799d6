#include "core/actions/UpdaterFile.h"

#include "core/common/AtomicFile.h"
#include "core/common/Sha256.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr const char* kUpdaterFileName = "korvex_updater";
}

UpdaterFile::UpdaterFile(std::string folder) : m_folder(std::move(folder)) {}

UpdaterFile::~UpdaterFile()
{
    discard();
}

bool UpdaterFile::open()
{
    if (m_fd >= 0 || m_failed)
        return m_fd >= 0;
    // mkstemp: a new file of our own, 0600, never one planted there before.
    std::string pattern = m_folder + "." + kUpdaterFileName + "-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    m_fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (m_fd < 0) {
        m_failed = true;
        return false;
    }
    m_path = name.data();
    return true;
}

bool UpdaterFile::append(const char* data, std::size_t size)
{
    if (!open())
        return false;
    m_hasher.update(std::string_view(data, size));
    if (Utils::writeAll(m_fd, data, size))
        return true;
    m_failed = true;
    discard();
    return false;
}

std::string UpdaterFile::commit(const std::string& expectedSha256)
{
    if (!open())
        return {};
    const std::string target = m_folder + kUpdaterFileName;
    // Executable only once it is known to be the program the service offered.
    const bool ready = Utils::digestMatches(m_hasher.finishHex(), expectedSha256) &&
                       ::fchmod(m_fd, 0700) == 0 && ::fsync(m_fd) == 0;
    const bool closed = ::close(m_fd) == 0;
    m_fd = -1;
    if (!ready || !closed || ::rename(m_path.c_str(), target.c_str()) != 0) {
        discard();
        return {};
    }
    m_path.clear();
    return target;
}

void UpdaterFile::discard()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_path.empty())
        ::unlink(m_path.c_str());
    m_path.clear();
}
