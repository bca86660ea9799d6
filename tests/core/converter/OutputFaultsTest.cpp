// What the engine does when the disk, the input or the page count is not what it expects:
// cut-off outputs never count, FIFOs are never opened, and a failed split leaves no empty
// folder and no "page n of -1".

#include "RecordingCallback.h"

#include "core/common/Utils.h"
#include "core/converter/ConverterFactory.h"
#include "core/converter/InputElement.h"
#include "core/converter/OutputCheck.h"
#include "core/converter/PdfOperations.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace Converter;

TEST(OutputFaults, OnlyWholePdfFilesCountAsOutputs)
{
    TempDir dir;
    PdfFactory::write(dir.file("in.pdf"), 30);
    ASSERT_TRUE(compressPdf(dir.wide("in.pdf"), dir.wide("whole.pdf"), nullptr));
    const std::string whole = readFile(dir.file("whole.pdf"));
    ASSERT_GT(whole.size(), 100u);
    EXPECT_TRUE(isCompletePdf(dir.file("whole.pdf").string()));

    // What a full disk leaves: nothing, the first block, everything but the last bytes.
    const std::vector<std::size_t> cuts = {0, 1, 4096, whole.size() / 2, whole.size() - 7, whole.size() - 2};
    for (const std::size_t cut : cuts) {
        writeFile(dir.file("cut.pdf"), whole.substr(0, std::min(cut, whole.size())));
        EXPECT_FALSE(isCompletePdf(dir.file("cut.pdf").string())) << cut;
    }
    writeFile(dir.file("padded.pdf"), whole + "\r\n  \n");
    EXPECT_TRUE(isCompletePdf(dir.file("padded.pdf").string()));
    writeFile(dir.file("zeros.pdf"), whole + std::string(4096, '\0')); // a block of zeros after the end
    EXPECT_FALSE(isCompletePdf(dir.file("zeros.pdf").string()));
    EXPECT_FALSE(isCompletePdf(dir.file("missing.pdf").string()));
    fs::create_directories(dir.file("folder.pdf"));
    EXPECT_FALSE(isCompletePdf(dir.file("folder.pdf").string()));
}

TEST(OutputFaults, InspectionRefusesFifosAndDevicesInsteadOfWaiting)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe.pdf").c_str(), 0600), 0);
    for (const std::wstring& input : {dir.wide("pipe.pdf"), std::wstring(L"/dev/zero")}) {
        ConvertError error;
        EXPECT_EQ(countPages(input, nullptr, &error), -1);
        EXPECT_EQ(error.reason, FailureReason::CannotOpenInput);
        EXPECT_NE(error.detail.find(L"not a regular file"), std::wstring::npos);
        EXPECT_EQ(queryEncryptionText(input, nullptr), "");
        std::wstring copy;
        EXPECT_FALSE(decryptPdf(input, copy, L"", nullptr, &error));
        EXPECT_FALSE(compressPdf(input, dir.wide("out.pdf"), nullptr, &error));
        EXPECT_EQ(error.reason, FailureReason::CannotOpenInput);
    }
    EXPECT_FALSE(fs::exists(dir.file("out.pdf")));
}

TEST(OutputFaults, ASplitThatWritesNothingLeavesNoFolderAndNoPageCountBelowOne)
{
    TempDir dir;
    writeFile(dir.file("notes.pdf"), "not a pdf at all");
    const auto split = [&](int toPage, int pageCount, int every, const fs::path& folder) {
        auto element = std::make_shared<InputElement>(dir.wide("notes.pdf"), 1, toPage);
        element->setPageCount(pageCount);
        element->setSplitMode(InputElement::kSplitEvery);
        element->setPagesPerPiece(every);
        auto callback = std::make_shared<RecordingCallback>();
        createConverter(13)->run(element, Utils::fromFsPath(folder), createParameter(13), callback);
        return callback;
    };

    // Page count unknown (counting failed), one run per piece, and one run for the whole plan.
    for (const auto& [toPage, pageCount] : {std::pair{-1, -1}, std::pair{1, -1}, std::pair{10, 10}}) {
        const fs::path folder = dir.file("out/deep/notes");
        auto callback = split(toPage, pageCount, 1, folder);
        EXPECT_FALSE(callback->ok);
        EXPECT_FALSE(fs::exists(folder)) << toPage << " " << pageCount;
        for (const ProgressCall& call : callback->progress) {
            EXPECT_TRUE(call.current == 0 || call.total >= 1) << call.current << " / " << call.total;
            EXPECT_LE(call.current, std::max(call.total, 0));
        }
    }

    // A folder that was there before stays, and so does what it held.
    fs::create_directories(dir.file("kept"));
    EXPECT_FALSE(split(10, 10, 2, dir.file("kept"))->ok);
    EXPECT_TRUE(fs::is_directory(dir.file("kept")));
}
