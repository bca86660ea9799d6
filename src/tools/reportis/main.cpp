// The crash reporter. The crashed program starts it with
//   -n NAME -v VERSION -u ADDRESS -pid PID -tid TID -xcp ADDRESS -p "name:value,..."
// and waits. It sends one report to ADDRESS; when that fails, the report is kept in the
// configuration folder. Kept reports go out in the background after the next report that is
// sent, or when the program starts it as "reportis -resend" (which returns at once).
// KORVEX_REPORTIS_LOG names a file that gets one line per step, for tests.

#include "CrashReportArguments.h"
#include "ProcessSnapshot.h"
#include "ReportSender.h"

#include "core/app/InstallSettings.h"
#include "core/crash/CrashReportSettings.h"
#include "core/crash/KeptCrashReports.h"
#include "core/user/ServiceAddress.h"

#include <curl/curl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace {

void logLine(const std::string& line)
{
    const char* logPath = std::getenv("KORVEX_REPORTIS_LOG");
    FILE* out = logPath ? std::fopen(logPath, "a") : stderr;
    if (!out)
        return;
    std::fputs((line + "\n").c_str(), out);
    if (out != stderr)
        std::fclose(out);
}

std::string utcTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm parts {};
    ::gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

// The report address of this installation, for runs that were not given one.
std::string installedAddress()
{
    return ServiceAddress::parse(InstallSettings::readDefault().serviceBase()).origin() +
           CrashReportSettings::kReportPath;
}

// Sends the kept reports oldest first and removes each one the service took or refused.
// Stops at the first that cannot be sent: the service is not there. One run at a time.
void sendKept(const KeptCrashReports& kept, const std::string& address)
{
    if (kept.empty())
        return;
    const std::string lockPath = kept.folder() + "/crash-reports.lock";
    const int lock = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lock < 0 || ::flock(lock, LOCK_EX | LOCK_NB) != 0) {
        if (lock >= 0)
            ::close(lock);
        return; // another run is sending them
    }
    for (const std::string& path : kept.list()) {
        KeptCrashReports::Report report;
        if (!KeptCrashReports::load(path, report)) {
            ::unlink(path.c_str());
            continue;
        }
        const ReportSender::Outcome outcome = ReportSender::send(address, report);
        if (outcome == ReportSender::Outcome::Unreachable)
            break;
        ::unlink(path.c_str());
        logLine(std::string(outcome == ReportSender::Outcome::Sent ? "resent " : "dropped refused ") + path);
    }
    ::close(lock);
}

// Leaves the caller at once; the work goes on in a process of its own that holds none of the
// caller's streams (a pipe someone reads to its end must not stay open for it).
bool detach()
{
    const pid_t child = ::fork();
    if (child != 0)
        return false;
    ::setsid();
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        if (null > STDERR_FILENO)
            ::close(null);
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string line = "crash report:";
    for (const std::string& arg : args)
        line += " " + arg;
    logLine(line);

    const KeptCrashReports kept;
    if (args.size() == 1 && args[0] == "-resend") {
        if (!detach())
            return 0;
        curl_global_init(CURL_GLOBAL_ALL);
        sendKept(kept, installedAddress());
        curl_global_cleanup();
        return 0;
    }

    const CrashReportArguments parsed = CrashReportArguments::parse(args);
    const std::string address = parsed.address().empty() ? installedAddress() : parsed.address();
    curl_global_init(CURL_GLOBAL_ALL);
    int exitCode = 0;
    if (parsed.hasReport()) {
        KeptCrashReports::Report report = parsed.report();
        report.fields["time"] = utcTime();
        report.attachment = CrashReportArguments::cleanText(
            ProcessSnapshot::describe(parsed.processId(), parsed.threadId()), 16384);
        if (!report.attachment.empty())
            report.attachmentName = ProcessSnapshot::kAttachmentName;
        const ReportSender::Outcome outcome = ReportSender::send(address, report);
        if (outcome == ReportSender::Outcome::Unreachable) {
            const std::string path = kept.keep(report);
            logLine(path.empty() ? "lost: cannot keep the report in " + kept.folder() : "kept " + path);
            exitCode = path.empty() ? 1 : 0;
        } else {
            logLine(outcome == ReportSender::Outcome::Sent ? "sent" : "refused");
            // The service is there: kept reports follow, without holding up the crashed program.
            if (!kept.empty() && detach())
                sendKept(kept, address);
        }
    } else {
        sendKept(kept, address);
    }
    curl_global_cleanup();
    return exitCode;
}
