#pragma once
// Which installation a request or crash report comes from: package name, program version,
// operating-system version and a network adapter address.

#include <string>

namespace InstallationIdentity {

// The product type code sent as "soft_type".
inline constexpr const char* kSoftType = "12";

struct FileVersion {
    int major = 0;
    int minor = 0;
    std::string text; // four numbers joined by "."
};

// The package name of the install settings, UTF-8 and percent-escaped by libcurl.
std::string readPackageName();
// Escapes a wide package name the same way (exposed so the rule can be checked).
std::string escapePackageName(const std::wstring& name);

// The version this program was built as.
FileVersion getFileVersion();

// The kernel release's major.minor ("%d.%d"), or "0.0" when it cannot be read.
std::string osVersionText();

// Appends the hardware address of the first interface (in system order) that has an IPv4
// address and a non-zero hardware address, as "XX-XX-XX-XX-XX-XX". False when the interface
// list cannot be read.
bool getMacAddress(std::string& out);

// getMacAddress, with "empty" when nothing was found.
std::string macAddressText();

} // namespace InstallationIdentity
