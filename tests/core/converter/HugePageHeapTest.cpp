// When the page program's heap goes into huge pages, and the switch a program started from here
// gets: what we run with is kept, a switch set either way by whoever started us wins.

#include "core/converter/HugePageHeap.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Sets MALLOC_CONF (null: unsets it) for one test and puts back what was there.
class HeapOptions {
public:
    explicit HeapOptions(const char* value)
    {
        const char* had = std::getenv("MALLOC_CONF");
        m_had = had != nullptr;
        m_before = had ? had : "";
        if (value)
            ::setenv("MALLOC_CONF", value, 1);
        else
            ::unsetenv("MALLOC_CONF");
    }
    ~HeapOptions()
    {
        if (m_had)
            ::setenv("MALLOC_CONF", m_before.c_str(), 1);
        else
            ::unsetenv("MALLOC_CONF");
    }

private:
    bool m_had = false;
    std::string m_before;
};

} // namespace

TEST(HugePageHeap, TheSwitchIsAddedToWhatWeRunWithUnlessItIsSetAlready)
{
    {
        HeapOptions none(nullptr);
        EXPECT_EQ(HugePageHeap::options(true), "MALLOC_CONF=thp:always");
        EXPECT_EQ(HugePageHeap::options(false), "MALLOC_CONF=thp:default");
    }
    for (const char* other : {"narenas:1", "metadata_thp:auto"}) {
        HeapOptions options(other);
        EXPECT_EQ(HugePageHeap::options(true), std::string("MALLOC_CONF=") + other + ",thp:always");
    }
    for (const char* set : {"thp:never", "narenas:1,thp:always"}) {
        HeapOptions explicitly(set);
        EXPECT_EQ(HugePageHeap::options(true), std::nullopt) << set;
    }
}

TEST(HugePageHeap, LargeFilesOrManyDocumentsAreWorthItAFewSmallOnesAreNot)
{
    TempDir dir;
    writeFile(dir.file("small.pdf"), std::string(10000, 'x'));
    writeFile(dir.file("large.pdf"), std::string(1 << 20, 'x'));
    const std::string small = dir.file("small.pdf").string(), large = dir.file("large.pdf").string();
    EXPECT_FALSE(HugePageHeap::worthFor({small, small, small}));
    EXPECT_TRUE(HugePageHeap::worthFor({small, large}));
    // Each loaded document costs its share whatever its size, also one that cannot be read.
    EXPECT_FALSE(HugePageHeap::worthFor(std::vector<std::string>(40, small)));
    EXPECT_TRUE(HugePageHeap::worthFor(std::vector<std::string>(60, small)));
    EXPECT_TRUE(HugePageHeap::worthFor(std::vector<std::string>(130, dir.file("missing.pdf").string())));
}
