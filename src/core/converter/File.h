#pragma once
// A file a job works on: just its full path.

#include <string>

namespace Converter {

class File {
public:
    File() = default;
    explicit File(std::wstring path) : m_path(std::move(path)) {}
    virtual ~File() = default;

    virtual void setPath(const std::wstring& path);
    const std::wstring& path() const { return m_path; }

protected:
    std::wstring m_path;
};

} // namespace Converter
