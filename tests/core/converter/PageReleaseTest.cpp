// The page program lets each source page (and, where all copies go into one document, its
// content streams) go once it is copied for the last time: merges where pages carry form
// fields and come twice, in turn or one file after another, keep every page and every field;
// pages that share a content stream keep it.

#include "OutlineProbe.h"

#include "core/common/Utils.h"
#include "core/converter/PdfOperations.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace Converter;
namespace fs = std::filesystem;

namespace {

// Three pages; page 2 holds a text field of that name.
void writeForm(const fs::path& path, const std::string& field)
{
    std::vector<std::string> objects = PdfFactory::documentObjects(3);
    const std::string widget = std::to_string(objects.size() + 1) + " 0 R";
    objects[0] = "<< /Type /Catalog /Pages 2 0 R /AcroForm << /Fields [" + widget + "] >> >>";
    objects[5].insert(2, " /Annots [" + widget + "]");
    objects.push_back("<< /Type /Annot /Subtype /Widget /FT /Tx /T (" + field + ") /V (" + field +
                      ") /Rect [10 10 100 30] /P 6 0 R >>");
    PdfFactory::writeObjects(path, objects);
}

} // namespace

TEST(PageRelease, MergesKeepEveryPageAndFieldOfPagesUsedTwice)
{
    TempDir dir;
    writeForm(dir.file("a.pdf"), "alpha");
    writeForm(dir.file("b.pdf"), "beta");
    const std::wstring a = Utils::fromFsPath(dir.file("a.pdf")), b = Utils::fromFsPath(dir.file("b.pdf"));
    ConvertError error;

    const std::wstring out = Utils::fromFsPath(dir.file("m.pdf"));
    ASSERT_TRUE(mergePdfs({{a, L"1-3"}, {b, L"1-3"}, {b, L"3-2"}}, out, nullptr, &error))
        << Utils::wideToUtf8(error.detail);
    EXPECT_EQ(pageNumbersOf(dir.file("m.pdf")), (std::vector<int>{1, 2, 3, 1, 2, 3, 3, 2}));
    EXPECT_EQ(formFieldsOf(dir.file("m.pdf")), "alpha@2, beta@5, beta+1@8");

    const std::wstring turns = Utils::fromFsPath(dir.file("t.pdf"));
    ASSERT_TRUE(mergePdfs({{a, L"1-3"}, {b, L"1-3"}, {b, L"2"}}, turns, nullptr, &error, true))
        << Utils::wideToUtf8(error.detail);
    EXPECT_EQ(pageNumbersOf(dir.file("t.pdf")), (std::vector<int>{1, 1, 2, 2, 2, 3, 3}));
    EXPECT_EQ(formFieldsOf(dir.file("t.pdf")), "beta@3, alpha@4, beta+1@5");
}

TEST(PageRelease, PagesThatShareAContentStreamEachKeepIt)
{
    TempDir dir;
    // Pages 1 and 3 show one stream, page 3 comes after page 1 has been let go.
    std::vector<std::string> objects = PdfFactory::documentObjects(3);
    objects[7].replace(objects[7].find("/Contents 9 0 R"), 15, "/Contents [5 0 R]");
    PdfFactory::writeObjects(dir.file("shared.pdf"), objects);
    PdfFactory::write(dir.file("plain.pdf"), 2);
    const std::wstring shared = Utils::fromFsPath(dir.file("shared.pdf"));
    ConvertError error;

    ASSERT_TRUE(extractPages(shared, L"1,3,2", Utils::fromFsPath(dir.file("x.pdf")), nullptr, &error))
        << Utils::wideToUtf8(error.detail);
    EXPECT_EQ(pageNumbersOf(dir.file("x.pdf")), (std::vector<int>{1, 3, 2}));
    EXPECT_EQ(contentNumbersOf(dir.file("x.pdf")), (std::vector<int>{1, 1, 2}));

    ASSERT_TRUE(mergePdfs({{Utils::fromFsPath(dir.file("plain.pdf")), L"1-2"}, {shared, L"1-3"}},
                          Utils::fromFsPath(dir.file("m.pdf")), nullptr, &error))
        << Utils::wideToUtf8(error.detail);
    EXPECT_EQ(contentNumbersOf(dir.file("m.pdf")), (std::vector<int>{1, 2, 1, 2, 1}));
}
