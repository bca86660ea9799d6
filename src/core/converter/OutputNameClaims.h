#pragma once
// The output names of one run. Two inputs whose outputs would get the same name (a/x.pdf and
// b/x.pdf compressed into one folder) must not overwrite each other: the later one gets
// "x_Compress (2).pdf". Names the run reads from can be claimed up front, so that no output
// replaces an input either.

#include <mutex>
#include <set>
#include <string>

namespace Converter {

class OutputNameClaims {
public:
    // Marks a path as taken without changing it (an input of the run).
    void reserve(const std::wstring& path);

    // The path itself when nobody has claimed it in this run, else the first free variant with
    // " (n)" before the extension (after the whole name for a folder); claims the result.
    std::wstring claim(const std::wstring& path, bool isFolder = false);
    // The output a job of the zone writes to: the made path without trailing spaces, claimed
    // as a folder for the split zone and as a file otherwise.
    std::wstring claimOutput(std::wstring path, int zone);

private:
    static std::wstring key(const std::wstring& path);

    std::mutex m_mutex;
    std::set<std::wstring> m_taken;
};

} // namespace Converter
