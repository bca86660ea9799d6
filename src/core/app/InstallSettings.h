#pragma once
// Settings the installer leaves next to the executable in "install.json":
//   {"PackageName": "...", "ServiceBase": "https://host"}
// Both are optional; a missing or unreadable file gives empty values.

#include <string>

class InstallSettings {
public:
    static constexpr const char* kFileName = "install.json";

    // Reads the file in the given folder (with trailing separator).
    static InstallSettings readFrom(const std::wstring& folder);
    // Reads the file next to the running executable.
    static InstallSettings readDefault();

    const std::wstring& packageName() const { return m_packageName; }
    const std::string& serviceBase() const { return m_serviceBase; }

private:
    std::wstring m_packageName;
    std::string m_serviceBase;
};
