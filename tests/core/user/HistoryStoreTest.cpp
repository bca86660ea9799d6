// The stored history at scale: a bounded list, and many entries removed with one write.

#include "support/FileWriteCounter.h"
#include "support/OfflineUser.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

constexpr const char* kName = AbstractUser::kFileName;

} // namespace

TEST(HistoryStore, SixteenThousandEntriesLoadBoundedAndPruneWithOneWrite)
{
    TempDir dir;
    fs::create_directories(dir.file("config"));
    fs::create_directories(dir.file("out"));
    std::string text = "{\"m_history\":[";
    std::vector<std::string> newest;
    for (int i = 0; i < 16000; ++i) {
        // Every 250th output still exists; the rest were deleted.
        const bool kept = i % 250 == 0;
        const std::string path = (kept ? dir.file("out") : dir.file("gone")).string() + "/" + std::to_string(i) + ".pdf";
        if (kept)
            writeFile(path, "%PDF");
        text += (i ? "," : "") + ("\"" + path + "\"");
        if (i >= 16000 - static_cast<int>(AbstractUser::kHistoryLimit))
            newest.push_back(path);
    }
    writeFile(dir.file("config") / kName, text + "]}\n");

    OfflineUser user(dir.wide("config"));
    EXPECT_EQ(user.getHistory(), newest); // the oldest went at load

    std::vector<std::string> gone;
    std::vector<std::string> existing;
    for (const std::string& path : user.getHistory())
        (fs::exists(path) ? existing : gone).push_back(path);
    ASSERT_EQ(existing.size(), 4u);
    FileWriteCounter writes(dir.file("config"), kName);
    user.removeHistoryEntries(gone);
    EXPECT_EQ(writes.count(), 1);
    EXPECT_EQ(user.getHistory(), existing);
    EXPECT_EQ(OfflineUser(dir.wide("config")).getHistory(), existing);

    // Nothing to remove: nothing written.
    const int before = writes.count();
    user.removeHistoryEntries({"/not/listed.pdf"});
    user.removeHistoryEntries({});
    EXPECT_EQ(writes.count(), before);
}

TEST(HistoryStore, NeverHoldsMoreThanTheLimitAndRemovesEachNamedOccurrence)
{
    TempDir dir;
    OfflineUser user(dir.wide());
    for (std::size_t i = 0; i < AbstractUser::kHistoryLimit + 5; ++i)
        user.addHistory("/o/" + std::to_string(i) + ".pdf");
    const std::vector<std::string> history = user.getHistory();
    ASSERT_EQ(history.size(), AbstractUser::kHistoryLimit);
    EXPECT_EQ(history.front(), "/o/5.pdf");
    EXPECT_EQ(history.back(), "/o/" + std::to_string(AbstractUser::kHistoryLimit + 4) + ".pdf");

    // A path named twice takes two occurrences, once only one.
    OfflineUser small(dir.wide("small"));
    for (const char* path : {"/x.pdf", "/y.pdf", "/x.pdf", "/x.pdf", "/z.pdf"})
        small.addHistory(path);
    small.removeHistoryEntries({"/x.pdf", "/z.pdf", "/x.pdf"});
    EXPECT_EQ(small.getHistory(), (std::vector<std::string>{"/y.pdf", "/x.pdf"}));
    small.removeHistory("/x.pdf");
    EXPECT_EQ(small.getHistory(), std::vector<std::string>{"/y.pdf"});
}
