#pragma once
// On a fault (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, or std::terminate) the program starts
// the crash reporter "reportis" from its own folder, waits for it and exits with code 1. When
// the reporter cannot start, it says why on standard error and exits with the error number.
// Everything the handler needs is prepared beforehand; the handler itself only does
// async-signal-safe work.

namespace CrashHandler {

inline constexpr const char* kReporterName = "reportis";

// Installs the handlers and prepares the reporter's command line. Call first thing in main;
// call again (prepare) once the user record exists so the identity is filled in.
void install();
void prepare();

// Starts the reporter in the background ("reportis -resend") when reports of earlier crashes
// are kept because they could not be sent; returns without waiting for the sending.
void sendKeptReports();

} // namespace CrashHandler
