#pragma once
// The hidden names this program writes under in the user's output folders, and the removal of
// the ones a killed or crashed run left there. Each name carries the process id of its run:
//   ".korvex-<pid>-<counter>-<12 hex digits>.part"  a file being written
//   ".korvex-split-<pid>-<6 letters or digits>"     a split's working folder
// A leftover goes only when it is this user's, has exactly such a name, and its process no
// longer runs; this process's own and those of any running process stay.

#include <string>

namespace Converter {

// The name of a file this process writes before it is renamed into place.
std::string partFileName(unsigned counter, unsigned long long random);
// The start of a working folder name of this process; six letters or digits complete it.
std::string splitWorkPrefix();

// Removes the leftovers of ended processes from the folder; returns how many went.
int removeStaleLeftovers(const std::wstring& folder);
// The same for a folder open at fd (the descriptor stays open).
int removeStaleLeftovers(int fd);

} // namespace Converter
