// The main window against the stand-in service: a conversion that another program ran and
// reported counts as one of ours.

#include "LoginFixture.h"

#include "gui/filelist/FileListWidget.h"
#include "gui/filelist/ListRowWidget.h"
#include "gui/mainwnd/CMainWnd.h"
#include "gui/mainwnd/FileListController.h"
#include "gui/mainwnd/HistoryPanel.h"
#include "gui/mainwnd/PaneSwitcher.h"
#include "support/PdfFactory.h"

#include <QJsonObject>

#include <algorithm>

class ExternalConversion : public LoginFixture {
protected:
    // How many conversions the service has been told of.
    int conversionsCounted()
    {
        const Json::Value stats = control("GET", "/control/statistics")["result"];
        return static_cast<int>(std::count_if(stats.begin(), stats.end(),
                                              [](const Json::Value& s) { return s["kind"].asString() == "convert"; }));
    }
};

TEST_F(ExternalConversion, AReportedResultGoesToTheRowTheHistoryAndTheStatistics)
{
    user->setSavePath((dir.path() / "out").string());
    CMainWnd window;
    window.initWindow();
    window.show();
    const int zone = WorkingZone::Split;
    window.paneSwitcher().switchTo(PaneSwitcher::kPdfCategory, PaneSwitcher::pdfItem(zone));
    const std::string done = (dir.path() / "done.pdf").string(), failed = (dir.path() / "failed.pdf").string();
    PdfFactory::write(done, 2);
    PdfFactory::write(failed, 2);
    window.dropFiles({QString::fromStdString(done), QString::fromStdString(failed)});
    ASSERT_TRUE(pumpUntil([&] { return window.paneSwitcher().zoneState(zone) == PaneSwitcher::Ready; }, 180000));
    const int before = conversionsCounted();

    PdfFactory::write(dir.path() / "made.pdf", 1); // what the other program wrote
    const QString output = QString::fromStdString((dir.path() / "made.pdf").string());
    const auto report = [&](const std::string& input, const char* status) {
        window.handleExternalReport({{"phase", "conversion"}, {"userdata", QString::number(zone)}, {"status", status},
                                     {"infile", QString::fromStdString(input)}, {"outfile", output}});
    };
    report(done, "ok");
    report(failed, "fail");
    const QList<ListRowWidget*> rows = window.fileLists().list(zone)->rows();
    ASSERT_EQ(rows.size(), 2);
    const auto opens = [](ListRowWidget* row) {
        return row->findChild<QWidget*>(QStringLiteral("itemopenfilebtn"))->property("openedFilename").toString();
    };
    EXPECT_EQ(opens(rows[0]), output);
    EXPECT_TRUE(opens(rows[1]).isEmpty());

    // Only the output of the success is kept, in the configuration and in the history list.
    EXPECT_EQ(user->getHistory(), std::vector<std::string>{output.toStdString()});
    EXPECT_TRUE(pumpUntil([&] { return window.history().list()->rowCount() == 1; }));
    // Both finished conversions are counted, as our own are whatever their result.
    EXPECT_TRUE(pumpUntil([&] { return conversionsCounted() == before + 2; })) << conversionsCounted();
    window.shutdown();
}
