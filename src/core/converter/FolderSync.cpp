#include "core/converter/FolderSync.h"

#include <fcntl.h>
#include <unistd.h>

namespace Converter {

FolderSync::FolderSync(const std::string& folder)
    : m_fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
}

FolderSync::~FolderSync()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool FolderSync::flush()
{
    // syncfs reports write-back errors seen since the descriptor was opened; the fsync of the
    // folder itself makes the renames into it last.
    return m_fd >= 0 && ::syncfs(m_fd) == 0 && ::fsync(m_fd) == 0;
}

} // namespace Converter
