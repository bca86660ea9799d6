// Ending a split that korvex-pages is writing, from the job's process slot.

#include "RecordingCallback.h"
#include "SlotEnding.h"
#include "core/common/Utils.h"
#include "core/converter/ConverterFactory.h"
#include "core/converter/InputElement.h"
#include "core/converter/ProcessSlot.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>


using namespace Converter;
namespace fs = std::filesystem;

TEST(EndingARun, TheSlotEndsTheSplitAndNoWorkFolderStays)
{
    TempDir dir;
    // Thousands of pieces: the run is far from done when the slot ends it.
    constexpr int kPages = 4000;
    PdfFactory::write(dir.file("long.pdf"), kPages);
    auto element = std::make_shared<InputElement>(Utils::fromFsPath(dir.file("long.pdf")), 1, kPages);
    element->setPageCount(kPages);
    element->setSplitMode(InputElement::kSplitAtPoints);
    std::vector<int> points;
    for (int p = 1; p < kPages; ++p)
        points.push_back(p);
    element->setSplitPoints(points);

    ProcessSlot slot;
    auto callback = std::make_shared<RecordingCallback>();
    callback->setProcessSlot(&slot);
    const fs::path folder = dir.file("long");
    ASSERT_TRUE(runAndEndItsChild(slot, [&] {
        createConverter(13)->run(element, Utils::fromFsPath(folder), createParameter(13), callback);
    }));
    EXPECT_EQ(callback->finished, 1);
    EXPECT_FALSE(callback->ok);
    ASSERT_EQ(callback->errors.size(), 1u);
    EXPECT_NE(callback->errors[0].detail.find(L"signal"), std::wstring::npos);
    // Finished pieces may stay; the hidden work folder with the unfinished one does not.
    if (fs::exists(folder)) {
        std::size_t pieces = 0;
        for (const auto& entry : fs::directory_iterator(folder)) {
            EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
            ++pieces;
        }
        EXPECT_LT(pieces, static_cast<std::size_t>(kPages));
    }
}
