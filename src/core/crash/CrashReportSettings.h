#pragma once
// What the crash reporter is told about a crashed run: who we are, which process and thread
// faulted, and where.

#include <map>
#include <string>
#include <vector>

class CrashReportSettings {
public:
    static constexpr const char* kApplicationName = "PDF_Splitting_And_merging_Lumo";
    static constexpr const char* kReportPath = "/senderrormsg";

    // Identity from the current user record (package name, version, service address).
    static CrashReportSettings fromCurrentUser();

    std::string applicationName = kApplicationName;
    std::string version;        // "major.minor.0.0"
    std::string reportAddress;  // service origin + "/senderrormsg"
    std::string processId;
    std::string threadId;
    std::string exceptionPointers;
    std::map<std::string, std::string> parameters; // packagename, soft_type, version

    // "packagename:P,soft_type:12,version:V," in double quotes.
    std::string parameterText() const;
    // The whole command line as one text (without the program), ending with a space.
    std::string buildCommandLine() const;
    // The same as an argument vector; the parameter list travels without its quotes.
    std::vector<std::string> arguments() const;
};
