#pragma once
// What the reporter can read about the crashed process while it waits: its program, the state
// lines of /proc/PID/status and the name of the faulting thread. Nothing from its command
// line or environment, which may hold a user's secrets.

#include <string>
#include <sys/types.h>

namespace ProcessSnapshot {

inline constexpr const char* kAttachmentName = "process.txt";

// Empty when the process cannot be read (gone, or not ours).
std::string describe(pid_t processId, pid_t threadId);

} // namespace ProcessSnapshot
