#pragma once
// What a child program does when its memory runs out. qpdf reads an object it has no memory for
// as null and only warns, so a page could come out blank in a run that reports success with
// warnings. Our child programs end there instead, as failed.

namespace OutOfMemory {

// From now on an allocation that fails prints message (one line) and ends the program at once
// with exitCode: nothing that was begun is finished or cleaned up in this process; whoever
// started it removes what it left.
void endProgramOnIt(const char* message, int exitCode);

} // namespace OutOfMemory
