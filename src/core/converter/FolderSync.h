#pragma once
// One flush to disk for all the files a run writes into a folder, instead of one per file
// (a flush per file forces a journal commit each time, which costs more than writing a small
// piece). The folder is opened when the run starts: the file system then reports, on the
// flush at the end, any write-back failure since that moment, also of files closed long ago.

#include "core/common/NonCopyable.h"
#include <string>

namespace Converter {

class FolderSync : private NonCopyable {
public:
    explicit FolderSync(const std::string& folder);
    ~FolderSync();

    // True when everything written to the folder's file system since the start is on disk.
    bool flush();

private:
    int m_fd = -1;
};

} // namespace Converter
