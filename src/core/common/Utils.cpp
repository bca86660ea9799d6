#include "core/common/Utils.h"

#include "core/common/Diagnostics.h"
#include "core/common/Utf8.h"

#include <cstdio>
#include <cwchar>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace Utils {

namespace {

// Where reports of this module say they come from.
constexpr const char* kSourceName = "..\\..\\include\\common\\Utils";

bool isDirectory(const std::wstring& path)
{
    struct stat st {};
    return ::stat(wideToUtf8(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

std::wstring ansiToWide(const std::string& text) { return Utf8::decode(text); }
std::string wideToAnsi(const std::wstring& text) { return Utf8::encode(text); }
std::wstring utf8ToWide(const std::string& text) { return Utf8::decode(text); }
std::string wideToUtf8(const std::wstring& text) { return Utf8::encode(text); }

std::unique_ptr<char[]> toNarrowBuffer(const wchar_t* text, CodePage)
{
    if (!text)
        return nullptr;
    const std::string narrow = Utf8::encode(std::wstring(text));
    auto buffer = std::make_unique<char[]>(narrow.size() + 1); // zero-filled
    narrow.copy(buffer.get(), narrow.size());
    return buffer;
}

std::filesystem::path toFsPath(const std::wstring& path)
{
    return std::filesystem::path(wideToUtf8(path));
}

std::wstring fromFsPath(const std::filesystem::path& path)
{
    return utf8ToWide(path.native());
}

bool pathExists(const std::wstring& path)
{
    return !path.empty() && ::access(wideToUtf8(path).c_str(), F_OK) == 0;
}

std::wstring withTrailingSeparator(std::wstring folder)
{
    if (folder.empty() || folder.back() != kPathSeparator)
        folder.push_back(kPathSeparator);
    return folder;
}

bool createDeepDirectory(const std::wstring& path)
{
    // Walk the path one level at a time; only the final check decides, so a level that another
    // process creates in between is no failure.
    std::wstring prefix;
    std::size_t pos = 0;
    if (!path.empty() && path[0] == kPathSeparator)
        pos = 1;
    while (pos <= path.size()) {
        std::size_t next = path.find(kPathSeparator, pos);
        if (next == std::wstring::npos)
            next = path.size();
        const std::wstring component = path.substr(pos, next - pos);
        if (!component.empty()) {
            if (!prefix.empty() || path[0] == kPathSeparator)
                prefix.push_back(kPathSeparator);
            prefix += component;
            if (!pathExists(prefix))
                ::mkdir(wideToUtf8(prefix).c_str(), 0777);
        }
        pos = next + 1;
    }
    if (path.empty() || !isDirectory(path)) {
        Diagnostics::instance().reportError(L"createDeepDirectory", path, kSourceName, L"129");
        return false;
    }
    return true;
}

std::wstring getFileTitle(const std::wstring& path)
{
    const std::size_t slash = path.rfind(kPathSeparator);
    const std::size_t begin = slash == std::wstring::npos ? 0 : slash + 1;
    std::size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || dot < begin)
        dot = path.size();
    return path.substr(begin, dot - begin);
}

std::wstring getFileExtension(const std::wstring& path)
{
    const std::size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos)
        return {};
    return path.substr(dot + 1);
}

std::int64_t getFileSize(const std::wstring& path)
{
    struct stat st {};
    if (path.empty() || ::stat(wideToUtf8(path).c_str(), &st) != 0)
        return -1;
    return static_cast<std::int64_t>(st.st_size);
}

std::wstring getModuleDirectory()
{
    std::vector<char> buffer(262);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n <= 0)
            return {};
        if (static_cast<std::size_t>(n) < buffer.size()) {
            std::wstring path = utf8ToWide(std::string(buffer.data(), static_cast<std::size_t>(n)));
            const std::size_t slash = path.rfind(kPathSeparator);
            if (slash == std::wstring::npos)
                return {};
            return path.substr(0, slash + 1);
        }
        buffer.resize(buffer.size() + 262); // the path was cut: grow and read again
    }
}

std::wstring formatFileSize(double size)
{
    wchar_t buffer[260];
    if (size < 1024)
        std::swprintf(buffer, 260, L"%.2f B", size);
    else if (size <= 1048576)
        std::swprintf(buffer, 260, L"%.2f KB", size / 1024);
    else
        std::swprintf(buffer, 260, L"%.1f MB", size / 1024 / 1024);
    return buffer;
}

} // namespace Utils
