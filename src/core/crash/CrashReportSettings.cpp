#include "core/crash/CrashReportSettings.h"

#include "core/app/InstallSettings.h"
#include "core/app/InstallationIdentity.h"
#include "core/user/AbstractUser.h"
#include "core/user/User.h"

CrashReportSettings CrashReportSettings::fromCurrentUser()
{
    CrashReportSettings settings;
    const InstallationIdentity::FileVersion fileVersion = InstallationIdentity::getFileVersion();
    settings.version = std::to_string(fileVersion.major) + "." + std::to_string(fileVersion.minor) + ".0.0";
    std::string packageName;
    std::string origin;
    if (User* user = User::current()) {
        packageName = user->getPackageName();
        origin = user->serviceAddress().origin();
    } else {
        // Without a user record (a crash before it exists) the installation still names its
        // package and its service.
        packageName = AbstractUser::current() ? AbstractUser::current()->getPackageName()
                                              : InstallationIdentity::readPackageName();
        origin = ServiceAddress::parse(InstallSettings::readDefault().serviceBase()).origin();
    }
    settings.reportAddress = origin + kReportPath;
    settings.parameters = {{"packagename", packageName},
                           {"soft_type", InstallationIdentity::kSoftType},
                           {"version", settings.version}};
    return settings;
}

std::string CrashReportSettings::parameterText() const
{
    std::string inner;
    for (const auto& [name, value] : parameters)
        inner += name + ":" + value + ",";
    return "\"" + inner + "\"";
}

std::string CrashReportSettings::buildCommandLine() const
{
    return "-n " + applicationName + " " + "-v " + version + " " + "-u " + reportAddress + " " +
           "-pid" + " " + processId + " " + "-tid" + " " + threadId + " " + "-xcp" + " " +
           exceptionPointers + " " + "-p " + parameterText() + " ";
}

std::vector<std::string> CrashReportSettings::arguments() const
{
    const std::string quoted = parameterText();
    return {"-n",   applicationName, "-v",   version,  "-u",   reportAddress,
            "-pid", processId,       "-tid", threadId, "-xcp", exceptionPointers,
            "-p",   quoted.substr(1, quoted.size() - 2)};
}
