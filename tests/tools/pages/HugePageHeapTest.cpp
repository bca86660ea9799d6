// When the page program's heap goes into huge pages, and when whoever started it chose already.

#include "tools/pages/HugePageHeap.h"

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

TEST(HugePageHeap, OnlyTheSwitchItselfCountsAsSetByWhoeverStartedUs)
{
    for (const char* unset : {static_cast<const char*>(nullptr), "", "narenas:1", "metadata_thp:auto"}) {
        HeapOptions options(unset);
        EXPECT_FALSE(HugePageHeap::switchSet()) << (unset ? unset : "(none)");
    }
    for (const char* set : {"thp:never", "narenas:1,thp:always", "thp:default,metadata_thp:auto"}) {
        HeapOptions explicitly(set);
        EXPECT_TRUE(HugePageHeap::switchSet()) << set;
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
