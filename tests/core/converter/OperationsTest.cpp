// The operations against the real qpdf, on generated PDFs.

#include "RecordingCallback.h"
#include "core/common/Utils.h"
#include "core/converter/ConverterFactory.h"
#include "core/converter/InputElement.h"
#include "core/converter/PdfHandleConverter.h"
#include "core/converter/PdfHandleParameter.h"
#include "core/converter/PdfOperations.h"
#include "core/converter/PrivateTempFolder.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

using namespace Converter;
namespace fs = std::filesystem;

namespace {

class Operations : public testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(in);
        fs::create_directories(out);
        PdfFactory::write(in / "ten.pdf", 10);
        PdfFactory::write(in / "five.pdf", 5);
    }

    std::wstring w(const fs::path& p) const { return Utils::fromFsPath(p); }

    // Everything in the output folder, hidden files included.
    std::vector<std::string> outFiles() const
    {
        return namesIn(out);
    }

    static std::vector<int> range(int first, int last) { return PdfFactory::pageRange(first, last); }

    TempDir dir;
    // Spaces and quotes in folder names travel as parts of one argument.
    const fs::path in = dir.path() / "in put \"q\"";
    const fs::path out = dir.path() / "out 'x'";
};

} // namespace

TEST_F(Operations, CompressExtractAndMergeWriteTheSelectedPages)
{
    ConvertError error;
    EXPECT_TRUE(compressPdf(w(in / "ten.pdf"), w(out / "c.pdf"), nullptr, &error));
    EXPECT_EQ(PdfFactory::pageNumbers(out / "c.pdf"), range(1, 10));

    EXPECT_TRUE(extractPages(w(in / "ten.pdf"), L"3-7", w(out / "e.pdf"), nullptr, &error));
    EXPECT_EQ(PdfFactory::pageNumbers(out / "e.pdf"), range(3, 7));

    const PdfHandleParameter::MergeList list = {{w(in / "ten.pdf"), L"2-3"}, {w(in / "five.pdf"), L"5-4"}};
    EXPECT_TRUE(mergePdfs(list, w(out / "m.pdf"), nullptr, &error));
    EXPECT_EQ(PdfFactory::pageNumbers(out / "m.pdf"), (std::vector<int>{2, 3, 5, 4}));

    // A single entry gives a copy of its range.
    EXPECT_TRUE(mergePdfs({{w(in / "five.pdf"), L"2-4"}}, w(out / "one.pdf"), nullptr, &error));
    EXPECT_EQ(PdfFactory::pageNumbers(out / "one.pdf"), range(2, 4));

    // Nothing but the results: no temporary names stay behind.
    EXPECT_EQ(outFiles(), (std::vector<std::string>{"c.pdf", "e.pdf", "m.pdf", "one.pdf"}));
}

TEST_F(Operations, AFailureLeavesNothingThatLooksLikeAResult)
{
    writeFile(in / "notes.pdf", "just some text, not a PDF\n");
    // An earlier run's output at the target must not turn this failure into success, and the
    // failure must not take it away either.
    writeFile(out / "c.pdf", "%PDF-1.4 stale result of an earlier run");

    ConvertError error;
    EXPECT_FALSE(compressPdf(w(in / "notes.pdf"), w(out / "c.pdf"), nullptr, &error));
    EXPECT_EQ(error.code, 201);
    EXPECT_EQ(error.message, w(in / "notes.pdf"));
    EXPECT_EQ(error.reason, FailureReason::NotAPdf);
    EXPECT_NE(error.detail.find(L"notes.pdf"), std::wstring::npos);
    EXPECT_EQ(outFiles(), std::vector<std::string>{"c.pdf"});
    EXPECT_EQ(readFile(out / "c.pdf"), "%PDF-1.4 stale result of an earlier run");
    std::filesystem::remove(out / "c.pdf");

    EXPECT_FALSE(extractPages(w(in / "missing.pdf"), L"1-2", w(out / "e.pdf"), nullptr, &error));
    EXPECT_EQ(error.reason, FailureReason::CannotOpenInput);

    // A range beyond the last page: qpdf refuses, nothing is written.
    EXPECT_FALSE(extractPages(w(in / "ten.pdf"), L"1-1000", w(out / "e.pdf"), nullptr, &error));
    EXPECT_FALSE(error.detail.empty());
    EXPECT_TRUE(outFiles().empty());

    // An output folder that cannot exist (a file is in the way).
    writeFile(dir.file("plain-file"), "x");
    EXPECT_FALSE(compressPdf(w(in / "ten.pdf"), w(dir.file("plain-file") / "c.pdf"), nullptr, &error));
    EXPECT_EQ(error.reason, FailureReason::CannotCreateOutput);

    // An output that is one of the inputs is refused, and the input stays as it was.
    const std::string before = readFile(in / "five.pdf");
    EXPECT_FALSE(mergePdfs({{w(in / "ten.pdf"), L"1-2"}, {w(in / "five.pdf"), L"1-2"}}, w(in / "five.pdf"), nullptr, &error));
    EXPECT_EQ(error.reason, FailureReason::CannotCreateOutput);
    EXPECT_EQ(readFile(in / "five.pdf"), before);
}

TEST_F(Operations, WarningsStillCountAsSuccessAndMarkTheFileForDecryption)
{
    PdfFactory::write(in / "damaged.pdf", 4, {.damagedXref = true});
    ConvertError error;
    EXPECT_TRUE(compressPdf(w(in / "damaged.pdf"), w(out / "repaired.pdf"), nullptr, &error)) << error.detail;
    EXPECT_EQ(PdfFactory::pageNumbers(out / "repaired.pdf"), range(1, 4));
    EXPECT_EQ(countPages(w(in / "damaged.pdf"), nullptr), 4);
    EXPECT_TRUE(queryEncryption(w(in / "damaged.pdf"), nullptr));

    EXPECT_FALSE(queryEncryption(w(in / "ten.pdf"), nullptr));
    EXPECT_EQ(countPages(w(in / "ten.pdf"), nullptr), 10);
    EXPECT_EQ(countPages(w(in / "missing.pdf"), nullptr, &error), -1);
    EXPECT_EQ(error.reason, FailureReason::CannotOpenInput);
    EXPECT_TRUE(queryEncryption(w(in / "missing.pdf"), nullptr)); // a failed query counts as encrypted
}

TEST_F(Operations, DecryptedCopiesGoToAPrivateFolderUnderUniqueNames)
{
    fs::create_directories(in / "other");
    ASSERT_TRUE(PdfFactory::encrypt(in / "ten.pdf", in / "locked.pdf", ""));
    ASSERT_TRUE(PdfFactory::encrypt(in / "five.pdf", in / "other" / "locked.pdf", ""));
    EXPECT_TRUE(queryEncryption(w(in / "locked.pdf"), nullptr));
    EXPECT_EQ(countPages(w(in / "locked.pdf"), nullptr), 10); // the empty user password opens it

    std::wstring first, second;
    ConvertError error;
    ASSERT_TRUE(decryptPdf(w(in / "locked.pdf"), first, L"", nullptr, &error)) << error.detail;
    ASSERT_TRUE(decryptPdf(w(in / "other" / "locked.pdf"), second, L"", nullptr, &error));
    EXPECT_NE(first, second);
    EXPECT_EQ(fs::path(Utils::toFsPath(first)).filename(), "locked.pdf");
    EXPECT_EQ(fs::path(Utils::toFsPath(second)).filename(), "locked.pdf");
    EXPECT_EQ(PdfFactory::pageNumbers(Utils::toFsPath(first)), range(1, 10));
    EXPECT_EQ(PdfFactory::pageNumbers(Utils::toFsPath(second)), range(1, 5));
    EXPECT_FALSE(PdfFactory::isEncrypted(Utils::toFsPath(first)));

    PrivateTempFolder& temp = PrivateTempFolder::instance();
    EXPECT_TRUE(temp.contains(first));
    struct stat st {};
    ASSERT_EQ(::stat(Utils::wideToUtf8(temp.folder()).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    EXPECT_TRUE(temp.removeCopy(first));
    EXPECT_FALSE(fs::exists(Utils::toFsPath(first).parent_path()));
    EXPECT_FALSE(temp.removeCopy(w(in / "ten.pdf"))); // never outside the folder
    EXPECT_TRUE(fs::exists(in / "ten.pdf"));

    // A named output works the same way.
    std::wstring named = w(out / "d.pdf");
    EXPECT_TRUE(decryptPdf(w(in / "locked.pdf"), named, L"", nullptr, &error));
    EXPECT_EQ(named, w(out / "d.pdf"));
    EXPECT_FALSE(PdfFactory::isEncrypted(out / "d.pdf"));
}

TEST_F(Operations, AUserPasswordIsNeededAndPassedWhole)
{
    const std::string password = "open sesame ";
    ASSERT_TRUE(PdfFactory::encrypt(in / "ten.pdf", in / "secret.pdf", password));
    const std::wstring secret = w(in / "secret.pdf");
    ConvertError error;
    EXPECT_EQ(countPages(secret, nullptr, &error), -1);
    EXPECT_EQ(error.reason, FailureReason::PasswordProtected);

    const auto copiesBefore = std::distance(fs::directory_iterator(Utils::toFsPath(PrivateTempFolder::instance().folder())),
                                            fs::directory_iterator());
    std::wstring copy;
    EXPECT_FALSE(decryptPdf(secret, copy, L"", nullptr, &error));
    EXPECT_EQ(error.reason, FailureReason::PasswordProtected);
    EXPECT_FALSE(fs::exists(Utils::toFsPath(copy)));
    copy.clear();
    EXPECT_FALSE(decryptPdf(secret, copy, L"open", nullptr, &error));
    EXPECT_EQ(error.reason, FailureReason::WrongPassword);
    copy.clear();
    EXPECT_FALSE(decryptPdf(secret, copy, L"open\nsesame", nullptr, &error));
    EXPECT_EQ(error.reason, FailureReason::WrongPassword);
    // Failed attempts leave no copies (nor their folders) behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(Utils::toFsPath(PrivateTempFolder::instance().folder())),
                            fs::directory_iterator()),
              copiesBefore);

    copy.clear();
    ASSERT_TRUE(decryptPdf(secret, copy, Utils::utf8ToWide(password), nullptr, &error)) << error.detail;
    EXPECT_EQ(PdfFactory::pageNumbers(Utils::toFsPath(copy)), range(1, 10));
    EXPECT_FALSE(decryptPdf(w(in / "missing.pdf"), copy, L"", nullptr, &error));
    EXPECT_EQ(error.reason, FailureReason::CannotOpenInput);
}

TEST_F(Operations, TheConverterReportsProgressErrorsAndTheEndOnce)
{
    const auto job = [&](int zone, std::shared_ptr<File> file, const fs::path& output) {
        auto callback = std::make_shared<RecordingCallback>();
        createConverter(zone)->run(std::move(file), w(output), createParameter(zone), callback);
        return callback;
    };
    auto ten = std::make_shared<InputElement>(w(in / "ten.pdf"), 3, 7);

    auto extracted = job(9, ten, out / "e.pdf");
    EXPECT_EQ(extracted->progress, (std::vector<ProgressCall>{{0, 0, 0}}));
    EXPECT_TRUE(extracted->ok);
    EXPECT_EQ(extracted->finished, 1);
    EXPECT_TRUE(extracted->errors.empty());
    EXPECT_EQ(extracted->inputPath, w(in / "ten.pdf"));
    EXPECT_EQ(extracted->outputPath, w(out / "e.pdf"));
    EXPECT_EQ(PdfFactory::pageNumbers(out / "e.pdf"), range(3, 7));

    EXPECT_TRUE(job(10, ten, out / "c.pdf")->ok);
    EXPECT_TRUE(job(11, ten, out / "d.pdf")->ok);

    auto parameter = std::dynamic_pointer_cast<PdfHandleParameter>(createParameter(12));
    parameter->setMergeList({{w(in / "five.pdf"), L"1-2"}, {w(in / "ten.pdf"), L"10-10"}});
    auto merged = std::make_shared<RecordingCallback>();
    createConverter(12)->run(std::make_shared<InputElement>(w(in / "five.pdf"), 1, 2), w(out / "m.pdf"), parameter, merged);
    EXPECT_TRUE(merged->ok);
    EXPECT_EQ(merged->progress, (std::vector<ProgressCall>{{3, 0, 0}}));
    EXPECT_EQ(PdfFactory::pageNumbers(out / "m.pdf"), (std::vector<int>{1, 2, 10}));

    auto failed = job(10, std::make_shared<InputElement>(w(in / "missing.pdf"), 1, 1), out / "x.pdf");
    EXPECT_FALSE(failed->ok);
    EXPECT_EQ(failed->finished, 1);
    ASSERT_EQ(failed->errors.size(), 1u);
    EXPECT_EQ(failed->errors[0].code, 201);
    EXPECT_EQ(failed->errors[0].message, w(in / "missing.pdf"));
    EXPECT_EQ(failed->source, "..\\..\\submodule\\converter\\Converters\\PdfTools\\PdfHandleConverter");
    EXPECT_EQ(failed->line, 109);
}

// The page program reads its inputs itself, in large blocks: what it reads must be what qpdf
// reads, across block edges, when the cross-reference table has to be rebuilt by scanning the
// file line by line, and with lines that end in a carriage return only.
TEST_F(Operations, ExtractAndMergeReadRepairedFilesAndStreamsLongerThanAReadBlock)
{
    const fs::path plain = dir.path() / "plain";
    fs::create_directories(plain);
    ConvertError error;

    PdfFactory::write(plain / "damaged.pdf", 10, {.damagedXref = true});
    EXPECT_TRUE(extractPages(w(plain / "damaged.pdf"), L"3-7", w(plain / "d.pdf"), nullptr, &error))
        << Utils::wideToUtf8(error.detail);
    EXPECT_EQ(PdfFactory::pageNumbers(plain / "d.pdf"), range(3, 7));

    {
        std::ifstream damaged(plain / "damaged.pdf", std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(damaged)), std::istreambuf_iterator<char>());
        std::replace(bytes.begin(), bytes.end(), '\n', '\r');
        std::ofstream(plain / "cr.pdf", std::ios::binary) << bytes;
    }
    EXPECT_TRUE(mergePdfs({{w(plain / "cr.pdf"), L"9-10"}, {w(in / "five.pdf"), L"1"}}, w(plain / "m.pdf"),
                          nullptr, &error))
        << Utils::wideToUtf8(error.detail);
    EXPECT_EQ(PdfFactory::pageNumbers(plain / "m.pdf"), (std::vector<int>{9, 10, 1}));

    // Page 2's content runs over several blocks and ends off a block edge.
    std::vector<std::string> objects = PdfFactory::documentObjects(3);
    std::string content = "BT /F1 24 Tf 40 90 Td (Page 2) Tj ET\n";
    for (int line = 0; content.size() < 300 * 1000 + 17; ++line)
        content += "% filler line " + std::to_string(line) + "\n";
    objects[6] = "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "\nendstream";
    PdfFactory::writeObjects(plain / "long.pdf", objects);
    EXPECT_TRUE(extractPages(w(plain / "long.pdf"), L"2-3", w(plain / "l.pdf"), nullptr, &error))
        << Utils::wideToUtf8(error.detail);
    EXPECT_EQ(PdfFactory::pageNumbers(plain / "l.pdf"), range(2, 3));
    const std::string dump = (plain / "l.qdf").string();
    ASSERT_EQ(std::system(("'" + PdfFactory::qpdf() + "' --qdf --normalize-content=n --object-streams=disable '" +
                           (plain / "l.pdf").string() + "' '" + dump + "'")
                              .c_str()),
              0);
    std::ifstream written(dump, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find(content), std::string::npos);
}
