#pragma once
// Huge pages for the page program's heap, for runs expected to take a large one
// (HugePageHeap.h says when they pay). Only the mappings the heap grows by are
// marked: jemalloc's own switch (thp:always) marks every mapping it makes, and its peaks were
// 3-4 MB higher and moved from run to run with where the kernel put them (bench/PROFILE.md).

namespace HugePages {

// Marks for huge pages every mapping the calling thread's heap grows by from now on. Does
// nothing when whoever started us set jemalloc's switch either way, or without jemalloc.
void useForHeap();

} // namespace HugePages
