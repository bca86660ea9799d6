#pragma once
// Huge pages for the heap. A run that builds a large document takes most of its system time in
// page faults of the growing heap (a merge of 200 small files: 4,500 faults and a third of its
// time); with 2 MiB pages there are a fifth as many. glibc reads its switch for them only when a
// program starts, so the program starts itself again with it. Each use costs up to 2 MiB of
// heap never touched, so small runs go without.

#include <string>
#include <vector>

namespace HugePages {

// Whether a run that holds these inputs at once is expected to take a heap large enough: their
// sizes, and for each the fixed cost of a loaded document.
bool worthFor(const std::vector<std::string>& inputs);

// Runs this program again with glibc's huge-page switch on; returns when it is on already, was
// set either way by whoever started us, or the new start failed.
void restartWithThem(char** argv);

} // namespace HugePages
