// A real full disk: a small memory file system (mounting it needs root; elsewhere the test is
// skipped). qpdf can exit with success there and leave empty pieces behind; none may count.

#include "RecordingCallback.h"

#include "core/common/Utils.h"
#include "core/converter/ConverterFactory.h"
#include "core/converter/InputElement.h"
#include "core/converter/OutputCheck.h"
#include "core/converter/PdfHandleParameter.h"
#include "core/converter/PdfOperations.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/mount.h>

namespace fs = std::filesystem;
using namespace Converter;

namespace {

// A file system of the given size at the folder, unmounted at the end.
class SmallDisk {
public:
    SmallDisk(const fs::path& folder, const char* size) : m_folder(folder)
    {
        fs::create_directories(folder);
        const std::string options = std::string("size=") + size;
        m_mounted = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(m_folder.c_str(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }

private:
    fs::path m_folder;
    bool m_mounted = false;
};

} // namespace

TEST(FullDisk, ASplitThatRunsOutOfSpaceFailsAndKeepsOnlyWholePieces)
{
    TempDir dir;
    PdfFactory::write(dir.file("big.pdf"), 3000);
    SmallDisk disk(dir.file("disk"), "300k");
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a small file system here (needs root)";

    auto element = std::make_shared<InputElement>(dir.wide("big.pdf"), 1, 3000);
    element->setPageCount(3000);
    element->setSplitMode(InputElement::kSplitEvery);
    element->setPagesPerPiece(1);
    auto callback = std::make_shared<RecordingCallback>();
    createConverter(13)->run(element, dir.wide("disk/big"), createParameter(13), callback);
    EXPECT_FALSE(callback->ok);
    ASSERT_EQ(callback->errors.size(), 1u);
    EXPECT_EQ(callback->errors[0].reason, FailureReason::CannotCreateOutput);

    std::size_t pieces = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir.file("disk"))) {
        EXPECT_NE(entry.path().filename().string().rfind(".korvex-", 0), 0u) << entry.path();
        if (entry.is_regular_file()) {
            ++pieces;
            EXPECT_TRUE(isCompletePdf(entry.path().string())) << entry.path();
        }
    }
    EXPECT_LT(pieces, 3000u);

    // A compress into what is left: no output at all rather than a broken one.
    ConvertError error;
    EXPECT_FALSE(compressPdf(dir.wide("big.pdf"), dir.wide("disk/big_Compress.pdf"), nullptr, &error));
    EXPECT_FALSE(fs::exists(dir.file("disk/big_Compress.pdf")));

    // A merge, which the page program writes: the failure is said to be the output's.
    const PdfHandleParameter::MergeList twice = {{dir.wide("big.pdf"), L"1-z"}, {dir.wide("big.pdf"), L"1-z"}};
    error = ConvertError();
    EXPECT_FALSE(mergePdfs(twice, dir.wide("disk/merged.pdf"), nullptr, &error));
    EXPECT_EQ(error.reason, FailureReason::CannotCreateOutput) << Utils::wideToUtf8(error.detail);
    EXPECT_FALSE(fs::exists(dir.file("disk/merged.pdf")));
}
