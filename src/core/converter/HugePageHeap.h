#pragma once
// Whether the page program's heap should live in 2 MiB pages for a run. A run that builds a large
// document takes most of its system time in page faults of the growing heap (a merge of 200
// small files: 4,500 faults and a third of its time); with huge pages there are a fifth as
// many. Each use costs up to 2 MiB of heap never touched, so small runs go without. glibc reads
// its switch only when a program starts: whoever starts the program sets it, and the program
// itself starts again with it when nobody did.

#include <optional>
#include <string>
#include <vector>

namespace HugePageHeap {

// Whether a run that holds these inputs at once is expected to take a heap large enough: their
// sizes, and for each the fixed cost of a loaded document.
bool worthFor(const std::vector<std::string>& inputs);

// The GLIBC_TUNABLES value ("NAME=value") that gives a program started from here glibc's switch
// set to on, keeping what tunables we run with; nothing when we run with the switch set either way,
// which the program then keeps.
std::optional<std::string> tunables(bool on);

} // namespace HugePageHeap
