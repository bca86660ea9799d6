#include "HugePages.h"

#include "HugePageHeap.h"

#ifdef KORVEX_JEMALLOC
#include <jemalloc/jemalloc.h>
#include <string>
#include <sys/mman.h>
#endif

namespace HugePages {

#ifdef KORVEX_JEMALLOC

namespace {

extent_hooks_t* g_default = nullptr;
extent_hooks_t g_marking;

void* allocMarked(extent_hooks_t*, void* at, size_t size, size_t alignment, bool* zero, bool* commit, unsigned arena)
{
    void* mapped = g_default->alloc(g_default, at, size, alignment, zero, commit, arena);
    // Advice only: where the kernel has no huge pages the heap works as before.
    if (mapped)
        ::madvise(mapped, size, MADV_HUGEPAGE);
    return mapped;
}

} // namespace

void useForHeap()
{
    if (HugePageHeap::switchSet() || g_default)
        return;
    unsigned arena = 0;
    size_t size = sizeof(arena);
    if (::mallctl("thread.arena", &arena, &size, nullptr, 0) != 0)
        return;
    const std::string hooks = "arena." + std::to_string(arena) + ".extent_hooks";
    extent_hooks_t* current = nullptr;
    size = sizeof(current);
    if (::mallctl(hooks.c_str(), &current, &size, nullptr, 0) != 0 || !current || !current->alloc)
        return;
    g_default = current;
    g_marking = *current;
    g_marking.alloc = allocMarked;
    extent_hooks_t* marking = &g_marking;
    if (::mallctl(hooks.c_str(), nullptr, nullptr, &marking, sizeof(marking)) != 0)
        g_default = nullptr;
}

#else

void useForHeap() {}

#endif

} // namespace HugePages
