#include "core/common/Utils.h"

#include "core/common/Diagnostics.h"

#include <cstdio>
#include <cwchar>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace Utils {

namespace {

// Where reports of this module say they come from.
constexpr const char* kSourceName = "..\\..\\include\\common\\Utils";

constexpr char32_t kEscapeBase = 0xDC00; // invalid byte b travels as U+DC00 + b

void appendUtf8(std::string& out, char32_t c)
{
    if (c >= 0xDC80 && c <= 0xDCFF) { // an escaped raw byte
        out.push_back(static_cast<char>(c - kEscapeBase));
        return;
    }
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        c = 0xFFFD;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Length of the valid UTF-8 sequence at text[i] and its code point; 0 when it is not valid.
std::size_t decodeOne(const std::string& text, std::size_t i, char32_t& cp)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b0 = byte(i);
    std::size_t len;
    char32_t min;
    if (b0 < 0x80) { cp = b0; return 1; }
    if ((b0 & 0xE0) == 0xC0) { len = 2; cp = b0 & 0x1F; min = 0x80; }
    else if ((b0 & 0xF0) == 0xE0) { len = 3; cp = b0 & 0x0F; min = 0x800; }
    else if ((b0 & 0xF8) == 0xF0) { len = 4; cp = b0 & 0x07; min = 0x10000; }
    else return 0;
    if (i + len > text.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

std::wstring decodeUtf8(const std::string& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const std::size_t len = decodeOne(text, i, cp);
        if (len == 0) {
            out.push_back(static_cast<wchar_t>(kEscapeBase + static_cast<unsigned char>(text[i])));
            ++i;
        } else {
            out.push_back(static_cast<wchar_t>(cp));
            i += len;
        }
    }
    return out;
}

std::string encodeUtf8(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text)
        appendUtf8(out, static_cast<char32_t>(c));
    return out;
}

bool isDirectory(const std::wstring& path)
{
    struct stat st {};
    return ::stat(wideToUtf8(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

std::wstring ansiToWide(const std::string& text) { return decodeUtf8(text); }
std::string wideToAnsi(const std::wstring& text) { return encodeUtf8(text); }
std::wstring utf8ToWide(const std::string& text) { return decodeUtf8(text); }
std::string wideToUtf8(const std::wstring& text) { return encodeUtf8(text); }

std::unique_ptr<char[]> toNarrowBuffer(const wchar_t* text, CodePage)
{
    if (!text)
        return nullptr;
    const std::string narrow = encodeUtf8(std::wstring(text));
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
