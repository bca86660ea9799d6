#pragma once
// Settings the installer leaves next to the executable in "install.json":
//   {"PackageName": "...", "ServiceBase": "https://host",
//    "HelpPage": "https://...", "AboutPage": "https://..."}
// All are optional; a missing or unreadable file gives empty values. The maker's help (online
// service chat) and about (product) pages are offered in the menus only when they are given.

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
    const std::string& helpPage() const { return m_helpPage; }
    const std::string& aboutPage() const { return m_aboutPage; }

private:
    std::wstring m_packageName;
    std::string m_serviceBase;
    std::string m_helpPage;
    std::string m_aboutPage;
};
