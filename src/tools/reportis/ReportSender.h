#pragma once
// Posts one crash report to the service as a multipart form: one part per field and the
// attachment as a file part.

#include "core/crash/KeptCrashReports.h"

#include <string>

namespace ReportSender {

enum class Outcome {
    Sent,        // the service stored it
    Rejected,    // the service refused it for good (4xx): sending it again would not help
    Unreachable, // no answer, a time-out or a server error: worth keeping
};

// Only http and https addresses are tried; anything else counts as unreachable.
Outcome send(const std::string& address, const KeptCrashReports::Report& report);

} // namespace ReportSender
