#pragma once
// The page program's own start with huge pages for its heap, when whoever started it left
// the allocator's switch for them alone (core/converter/HugePageHeap.h says when they pay).

namespace HugePages {

// Runs this program again with the allocator's huge-page switch on; returns when it is on
// already, was set either way by whoever started us, or the new start failed.
void restartWithThem(char** argv);

} // namespace HugePages
