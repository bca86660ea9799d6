// When the page program's heap goes into huge pages, and the switch a program started from here
// gets: what we run with is kept, a switch set either way by whoever started us wins.

#include "core/converter/HugePageHeap.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Sets GLIBC_TUNABLES (null: unsets it) for one test and puts back what was there.
class Tunables {
public:
    explicit Tunables(const char* value)
    {
        const char* had = std::getenv("GLIBC_TUNABLES");
        m_had = had != nullptr;
        m_before = had ? had : "";
        if (value)
            ::setenv("GLIBC_TUNABLES", value, 1);
        else
            ::unsetenv("GLIBC_TUNABLES");
    }
    ~Tunables()
    {
        if (m_had)
            ::setenv("GLIBC_TUNABLES", m_before.c_str(), 1);
        else
            ::unsetenv("GLIBC_TUNABLES");
    }

private:
    bool m_had = false;
    std::string m_before;
};

} // namespace

TEST(HugePageHeap, TheSwitchIsAddedToWhatWeRunWithUnlessItIsSetAlready)
{
    {
        Tunables none(nullptr);
        EXPECT_EQ(HugePageHeap::tunables(true), "GLIBC_TUNABLES=glibc.malloc.hugetlb=1");
        EXPECT_EQ(HugePageHeap::tunables(false), "GLIBC_TUNABLES=glibc.malloc.hugetlb=0");
    }
    {
        Tunables other("glibc.malloc.check=0");
        EXPECT_EQ(HugePageHeap::tunables(true), "GLIBC_TUNABLES=glibc.malloc.check=0:glibc.malloc.hugetlb=1");
    }
    for (const char* set : {"glibc.malloc.hugetlb=0", "glibc.malloc.check=0:glibc.malloc.hugetlb=2"}) {
        Tunables explicitly(set);
        EXPECT_EQ(HugePageHeap::tunables(true), std::nullopt) << set;
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
