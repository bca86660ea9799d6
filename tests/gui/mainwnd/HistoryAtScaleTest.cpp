// A window started on a configuration with a long history whose files are mostly gone.

#include "MainWindowFixture.h"

#include "core/common/Diagnostics.h"
#include "core/common/Utils.h"
#include "gui/filelist/FileListWidget.h"
#include "gui/mainwnd/HistoryPanel.h"
#include "support/FileWriteCounter.h"

#include <json/json.h>

#include <sstream>

TEST_F(MainWindowFixture, SixteenThousandHistoryEntriesLoadBoundedAndDropTheGoneWithOneWrite)
{
    // Every value start-up would store on first read is there already, so the only change
    // left to write is the pruned history.
    user->getHotkeyStatus();
    user->getHotkeyValue();
    const std::filesystem::path config = std::filesystem::path(Utils::wideToUtf8(user->getConfigFile()));
    Json::Value document;
    std::istringstream stored(readFile(config));
    ASSERT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), stored, &document, nullptr));
    std::filesystem::create_directories(dir.file("kept"));
    std::vector<std::string> kept;
    for (int i = 0; i < 16000; ++i) {
        const bool exists = i % 400 == 399;
        const std::string path = dir.file(exists ? "kept" : "gone").string() + "/" + std::to_string(i) + ".pdf";
        if (exists) {
            writeFile(path, "%PDF");
            if (i >= 16000 - static_cast<int>(AbstractUser::kHistoryLimit))
                kept.push_back(path);
        }
        document["m_history"].append(path);
    }
    Json::StreamWriterBuilder compact;
    compact["indentation"] = "";
    writeFile(config, Json::writeString(compact, document));
    user.reset();
    user = std::make_unique<User>(dir.wide("config"), "http://127.0.0.1:1");
    EXPECT_EQ(user->getHistory().size(), AbstractUser::kHistoryLimit);

    // The gone files are reported once, not once each (each report is a service request).
    int reports = 0;
    Diagnostics::instance().setReportSink([&reports](const std::string&) { ++reports; });
    FileWriteCounter writes(config.parent_path(), config.filename().string());
    open();
    Diagnostics::instance().setReportSink(nullptr);
    EXPECT_EQ(writes.count(), 1);
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(window->history().list()->rowCount(), static_cast<int>(kept.size()));
    EXPECT_EQ(user->getHistory(), kept);
}
