#pragma once
// The folder a split writes its pieces into, held open for the whole split. Its last
// component is made here without following links: a symbolic link (or anything but a real
// folder) planted at its name is refused, so pieces never land in, and earlier files are
// never removed from, a folder the user did not choose. Earlier pieces are removed and new
// ones moved in through the open folder, so a swap of the name during the split cannot
// redirect them either. Opening also removes what killed runs left in it.

#include "core/common/NonCopyable.h"
#include <filesystem>
#include <string>
#include <unordered_set>

namespace Converter {

class SplitFolder : private NonCopyable {
public:
    // Removes the working folder, if one is left.
    ~SplitFolder();

    // Creates the folders above it, then the folder itself. False with the reason in problem.
    bool open(const std::wstring& folder, std::wstring& problem);
    // Whether the folder was there before open.
    bool existed() const { return m_existed; }
    // Whether the folder's name still leads to the folder that open made or found.
    bool stillInPlace() const;

    // A hidden working folder inside (mode 0700) for a child program to write into.
    bool makeWorkFolder(std::wstring& problem);
    const std::filesystem::path& workFolder() const { return m_work; }
    void removeWorkFolder();

    // Removes an earlier file of this name from the folder (a link itself, never what it
    // names); true when none is left. A folder of that name stays and gives false. The folder
    // is listed once, at the first call: a split into 20,000 pieces then asks the system about
    // the names it finds, not 20,000 times about names that are not there.
    bool removeEarlier(const std::wstring& name);
    // Moves the working folder's entry into the folder under the given name.
    bool moveIn(const std::string& workName, const std::wstring& name, std::wstring& problem);

    // Removes the folder when open made it and nothing is in it.
    void removeIfMadeAndEmpty();

private:
    void close();

    int m_parentFd = -1;
    int m_fd = -1;
    int m_workFd = -1;
    bool m_existed = false;
    std::string m_name;
    std::filesystem::path m_folder;
    std::filesystem::path m_work;
    bool m_triedListing = false;
    bool m_listed = false;
    std::unordered_set<std::string> m_earlier;
};

} // namespace Converter
