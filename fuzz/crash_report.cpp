// What the crash reporter reads: its command line and the reports kept from earlier runs.
// A kept report that loads writes back to the same report.

#include "CrashReportArguments.h"
#include "FuzzInput.h"
#include "core/crash/KeptCrashReports.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    KeptCrashReports::Report report;
    if (KeptCrashReports::fromText(bytes, report)) {
        KeptCrashReports::Report again;
        FUZZ_CHECK(KeptCrashReports::fromText(KeptCrashReports::toText(report), again));
        FUZZ_CHECK(again.fields == report.fields && again.attachment == report.attachment &&
                   again.attachmentName == report.attachmentName);
    }
    FuzzInput input(data, size);
    const CrashReportArguments parsed = CrashReportArguments::parse(input.texts());
    for (const auto& [name, value] : parsed.report().fields) {
        FUZZ_CHECK(value.size() <= CrashReportArguments::kMaxValueLength);
        FUZZ_CHECK(CrashReportArguments::cleanText(value, value.size()) == value);
    }
    return 0;
}
