#pragma once
// Whether the page program's heap should live in 2 MiB pages for a run. A run that builds a large
// document takes most of its system time in page faults of the growing heap (a merge of 200
// small files: 4,500 faults and a third of its time); with huge pages there are a fifth as
// many. Each use costs up to 2 MiB of heap never touched, so small runs go without. The page
// program decides for itself from its own inputs.

#include <string>
#include <vector>

namespace HugePageHeap {

// Whether a run that holds these inputs at once is expected to take a heap large enough: their
// sizes, and for each the fixed cost of a loaded document.
bool worthFor(const std::vector<std::string>& inputs);

// Whether jemalloc's options in the environment (MALLOC_CONF) set its huge-page switch either
// way: whoever started the program then chose, and the program keeps to it.
bool switchSet();

} // namespace HugePageHeap
