// Names of the pieces of a split by bookmarks.

#include "core/common/Utils.h"
#include "core/converter/BookmarkPieceName.h"

#include <gtest/gtest.h>

using Converter::bookmarkPieceName;
using Converter::safeFileTitle;

TEST(PieceNames, TitlesBecomeSafeFileNamesAndKeepEveryScript)
{
    EXPECT_EQ(bookmarkPieceName(L"第一章 总论", 1, 1, 12, L"book"), L"第一章 总论_1_1_12.pdf");
    EXPECT_EQ(bookmarkPieceName(L"Input/Output: files", 2, 13, 20, L"book"), L"Input_Output_ files_2_13_20.pdf");
    EXPECT_EQ(safeFileTitle(L"a\\b*c?d\"e<f>g|h\ti\nj"), L"a_b_c_d_e_f_g_h_i_j");
    // Nothing of the title left: the fallback, then a fixed word.
    EXPECT_EQ(bookmarkPieceName(L"...", 3, 5, 5, L"book"), L"book_3_5_5.pdf");
    EXPECT_EQ(bookmarkPieceName(L" / ", 3, 5, 5, L"book"), L"book_3_5_5.pdf");
    EXPECT_EQ(bookmarkPieceName(L"..", 4, 1, 2, L"..."), L"bookmark_4_1_2.pdf");
    // No hidden files, no trailing dots.
    EXPECT_EQ(safeFileTitle(L".profile"), L"profile");
    EXPECT_EQ(safeFileTitle(L"Appendix A."), L"Appendix A");
}

TEST(PieceNames, LongTitlesAreCutOnACharacterBoundary)
{
    std::wstring title;
    for (int i = 0; i < 200; ++i)
        title += L"章";
    const std::wstring safe = safeFileTitle(title);
    const std::string bytes = Utils::wideToUtf8(safe);
    EXPECT_LE(bytes.size(), Converter::kMaxTitleBytes);
    EXPECT_EQ(bytes.size() % 3, 0u); // whole three-byte characters only
    EXPECT_EQ(safe, title.substr(0, safe.size()));
}
