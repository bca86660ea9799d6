#pragma once
// Whether the page program's heap should live in 2 MiB pages for a run. A run that builds a large
// document takes most of its system time in page faults of the growing heap (a merge of 200
// small files: 4,500 faults and a third of its time); with huge pages there are a fifth as
// many. Each use costs up to 2 MiB of heap never touched, so small runs go without. The page
// program's allocator, jemalloc, reads its options only when the program starts: whoever starts
// the program sets them, and the program itself starts again with them when nobody did.

#include <optional>
#include <string>
#include <vector>

namespace HugePageHeap {

// Whether a run that holds these inputs at once is expected to take a heap large enough: their
// sizes, and for each the fixed cost of a loaded document.
bool worthFor(const std::vector<std::string>& inputs);

// The MALLOC_CONF variable ("NAME=value") that gives a program started from here jemalloc's
// huge-page switch set on or off, keeping the options we run with; nothing when we run with the
// switch set either way, which the program then keeps.
std::optional<std::string> options(bool on);

} // namespace HugePageHeap
