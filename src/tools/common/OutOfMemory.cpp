#include "OutOfMemory.h"

#include <cstring>
#include <new>
#include <unistd.h>

namespace OutOfMemory {

namespace {

const char* g_message = "out of memory";
int g_exitCode = 2;

// Runs with no memory to spare: no allocation, no stdio.
void endNow()
{
    const std::size_t length = std::strlen(g_message);
    if (::write(STDERR_FILENO, g_message, length) == static_cast<ssize_t>(length))
        (void)::write(STDERR_FILENO, "\n", 1);
    ::_exit(g_exitCode);
}

} // namespace

void endProgramOnIt(const char* message, int exitCode)
{
    g_message = message;
    g_exitCode = exitCode;
    std::set_new_handler(endNow);
}

} // namespace OutOfMemory
