// The shared helpers themselves: a file a test means to write is written, or the test hears
// why not.

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(TestSupport, WriteFileWritesOrThrows)
{
    TempDir dir;
    writeFile(dir.file("kept.txt"), "stale");
    EXPECT_EQ(readFile(dir.file("kept.txt")), "stale");
    writeFile(dir.file("kept.txt"), "new");
    EXPECT_EQ(readFile(dir.file("kept.txt")), "new");

    // A missing folder on the way, or a folder where the file should be.
    EXPECT_THROW(writeFile(dir.file("missing/piece.pdf"), "stale"), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
    std::filesystem::create_directories(dir.file("folder"));
    EXPECT_THROW(writeFile(dir.file("folder"), "x"), std::runtime_error);
}
