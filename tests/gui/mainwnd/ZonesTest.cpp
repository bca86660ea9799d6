#include "MainWindowFixture.h"

#include "core/common/Utils.h"
#include "gui/filelist/FileListWidget.h"
#include "gui/filelist/FileRowWidget.h"
#include "gui/mainwnd/FileListController.h"
#include "gui/mainwnd/HistoryPanel.h"
#include "support/PdfFactory.h"

#include "gui/app/SingleInstance.h"
#include "gui/history/HistoryRowWidget.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QJsonDocument>
#include <QLineEdit>

namespace {

QString textOf(QWidget* row, const char* name)
{
    if (auto* label = row->findChild<QLabel*>(QString::fromLatin1(name)))
        return label->text();
    if (auto* edit = row->findChild<QLineEdit*>(QString::fromLatin1(name)))
        return edit->text();
    return {};
}

} // namespace

class Zones : public MainWindowFixture {
protected:
    std::string pdf(const std::string& name, int pages)
    {
        PdfFactory::write(dir.file(name), pages);
        return dir.file(name).string();
    }
    // Switches to the zone as the header or the zone list would.
    void selectZone(int zone)
    {
        window->paneSwitcher().switchTo(PaneSwitcher::kPdfCategory, PaneSwitcher::pdfItem(zone));
        pump();
    }
    void drop(const std::vector<std::string>& paths)
    {
        QStringList list;
        for (const auto& p : paths)
            list << QString::fromStdString(p);
        window->dropFiles(list);
    }
    bool waitForState(int zone, int state)
    {
        return pumpUntil([&] { return window->paneSwitcher().zoneState(zone) == state; });
    }
    QList<ListRowWidget*> rows(int zone) { return window->fileLists().list(zone)->rows(); }
    void start()
    {
        window->onClick(QStringLiteral("convertbtn"));
    }
};

TEST_F(Zones, SplitWritesTheNamedPiecesAndFillsTheHistory)
{
    open();
    drop({pdf("report.pdf", 100), pdf("notes.pdf", 10), dir.file("folder-is-skipped").string()});
    ASSERT_TRUE(waitForState(13, PaneSwitcher::Ready));
    ASSERT_EQ(rows(13).size(), 2);
    QWidget* report = rows(13)[0];
    EXPECT_EQ(textOf(report, "pagetolbl"), QStringLiteral("100"));
    EXPECT_EQ(textOf(report, "promoptlbl"), QStringLiteral("等待分割"));
    report->findChild<QComboBox*>(QStringLiteral("splitcombo"))->setCurrentIndex(1);
    report->findChild<QLineEdit*>(QStringLiteral("freespacingedit"))->setText(QStringLiteral("20,50"));
    rows(13)[1]->findChild<QLineEdit*>(QStringLiteral("pagespacingedit"))->setText(QStringLiteral("5"));
    start();
    ASSERT_TRUE(waitForState(13, PaneSwitcher::Finished));
    const auto out = dir.path() / "out";
    EXPECT_EQ(PdfFactory::pageNumbers(out / "report/report_1_20.pdf").size(), 20u);
    EXPECT_EQ(PdfFactory::pageNumbers(out / "report/report_21_50.pdf").size(), 30u);
    EXPECT_EQ(PdfFactory::pageNumbers(out / "report/report_51_100.pdf").size(), 50u);
    EXPECT_TRUE(std::filesystem::exists(out / "notes/notes_6_10.pdf"));
    EXPECT_EQ(report->property("Converted").toString(), QStringLiteral("true"));
    EXPECT_TRUE(report->findChild<QWidget*>(QStringLiteral("resultHor"))->isVisible());
    EXPECT_EQ(report->findChild<QWidget*>(QStringLiteral("itemopenfilebtn"))->property("openedFilename").toString(),
              QString::fromStdString((out / "report").string()));
    EXPECT_TRUE(pumpUntil([&] { return window->history().list()->rowCount() == 2; }));
    EXPECT_EQ(user->getHistory().size(), 2u);

    // Continue empties the zone and shows the empty page again.
    window->onClick(QStringLiteral("continueConvBtn"));
    pump();
    EXPECT_EQ(window->paneSwitcher().zoneState(13), PaneSwitcher::Empty);
    EXPECT_EQ(rows(13).size(), 0);
    EXPECT_TRUE(window->registry()->rowsOfZone(13).empty());
}

TEST_F(Zones, MergeFollowsTheOrderAfterADrag)
{
    open();
    selectZone(12);
    drop({pdf("a.pdf", 2), pdf("b.pdf", 3), pdf("c.pdf", 1)});
    ASSERT_TRUE(waitForState(12, PaneSwitcher::Ready));
    // Drag c to the top: the window moves the entry, the list moves the row.
    const RowId c = rows(12)[2]->rowId();
    ASSERT_TRUE(window->fileLists().moveRow(c, 0));
    window->fileLists().list(12)->moveRow(c, 0);
    window->fileLists().endMove();
    rows(12)[1]->findChild<QLineEdit*>(QStringLiteral("pagefromlbl"))->setText(QStringLiteral("2"));
    start();
    ASSERT_TRUE(waitForState(12, PaneSwitcher::Finished));
    // c (1 page), a from page 2 (1 page), b (3 pages).
    EXPECT_EQ(PdfFactory::pageNumbers(dir.path() / "out/c_合并.pdf"), (std::vector<int>{1, 2, 1, 2, 3}));
    for (QWidget* row : rows(12))
        EXPECT_EQ(row->property("Converted").toString(), QStringLiteral("true"));
    // One output, one history entry, however many rows it came from.
    EXPECT_EQ(user->getHistory().size(), 1u);
}

TEST_F(Zones, ExtractCompressAndDecryptEachWriteTheirOutput)
{
    user->setLanguage(Glossary::ENGLSH);
    open();
    selectZone(9);
    drop({pdf("pages.pdf", 9)});
    ASSERT_TRUE(waitForState(9, PaneSwitcher::Ready));
    rows(9)[0]->findChild<QLineEdit*>(QStringLiteral("pagefromlbl"))->setText(QStringLiteral("3"));
    rows(9)[0]->findChild<QLineEdit*>(QStringLiteral("pagetolbl"))->setText(QStringLiteral("7"));
    start();
    ASSERT_TRUE(waitForState(9, PaneSwitcher::Finished));
    EXPECT_EQ(PdfFactory::pageNumbers(dir.path() / "out/pages_EXTRACT.pdf"), (std::vector<int>{3, 4, 5, 6, 7}));

    selectZone(10);
    writeFile(dir.file("broken.pdf"), "this is not a pdf");
    drop({pdf("big.pdf", 4), dir.file("broken.pdf").string()});
    ASSERT_TRUE(waitForState(10, PaneSwitcher::Ready));
    start();
    ASSERT_TRUE(waitForState(10, PaneSwitcher::Finished));
    EXPECT_EQ(PdfFactory::pageCount(dir.path() / "out/big_Compress.pdf"), 4);
    EXPECT_EQ(textOf(rows(10)[1], "promoptlbl"), QStringLiteral("Fail To Conversion"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "out/broken_Compress.pdf"));

    selectZone(11);
    ASSERT_TRUE(PdfFactory::encrypt(dir.file("big.pdf"), dir.file("locked.pdf"), ""));
    drop({dir.file("locked.pdf").string()});
    ASSERT_TRUE(waitForState(11, PaneSwitcher::Ready));
    start();
    ASSERT_TRUE(waitForState(11, PaneSwitcher::Finished));
    EXPECT_FALSE(PdfFactory::isEncrypted(dir.path() / "out/locked_Decrypt.pdf"));
}

TEST_F(Zones, AddingIsRefusedWithTheRightMessages)
{
    user->setLanguage(Glossary::ENGLSH);
    open();
    const std::string a = pdf("a.pdf", 2);
    drop({a});
    ASSERT_TRUE(waitForState(13, PaneSwitcher::Ready));

    QString shown;
    answerNextBox(QStringLiteral("BtnConfirm"), &shown);
    drop({a});
    EXPECT_EQ(shown, QStringLiteral("a File Is Added"));
    ASSERT_TRUE(waitForState(13, PaneSwitcher::Ready));

    shown.clear();
    answerNextBox(QStringLiteral("BtnConfirm"), &shown);
    window->fileLists().addFiles({QString::fromStdString(dir.file("gone.pdf").string())});
    EXPECT_EQ(shown, QStringLiteral("gone File Is Not Existed"));

    shown.clear();
    window->fileLists().setInspectionIdle(false);
    answerNextBox(QStringLiteral("BtnConfirm"), &shown);
    drop({pdf("b.pdf", 1)});
    EXPECT_EQ(shown, QStringLiteral("Preprocessing File, Please Add File After Preprocessed"));
    window->fileLists().setInspectionIdle(true);

    shown.clear();
    window->paneSwitcher().setState(13, PaneSwitcher::Converting);
    answerNextBox(QStringLiteral("BtnConfirm"), &shown);
    drop({pdf("c.pdf", 1)});
    EXPECT_EQ(shown, QStringLiteral("Converting File, Please Add File After Preprocessed"));
    EXPECT_EQ(rows(13).size(), 1);
}

TEST_F(Zones, APasswordPromptKeepsOrDropsTheRow)
{
    open();
    PdfFactory::write(dir.file("src.pdf"), 3);
    ASSERT_TRUE(PdfFactory::encrypt(dir.file("src.pdf"), dir.file("secret.pdf"), "open sesame"));
    ASSERT_TRUE(PdfFactory::encrypt(dir.file("src.pdf"), dir.file("lost.pdf"), "unknown"));
    // The first prompt gets the password, the second is cancelled.
    int prompts = 0;
    auto* poll = new QTimer(window.get());
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || box->property("answered").toBool())
            return;
        box->setProperty("answered", true);
        if (prompts++ == 0) {
            box->findChild<QLineEdit*>(QStringLiteral("passwordEdit"))->setText(QStringLiteral("open sesame"));
            box->findChild<QAbstractButton*>(QStringLiteral("okbtn"))->click();
        } else {
            box->findChild<QAbstractButton*>(QStringLiteral("cancelbtn"))->click();
        }
    });
    poll->start();
    drop({dir.file("secret.pdf").string(), dir.file("lost.pdf").string()});
    ASSERT_TRUE(waitForState(13, PaneSwitcher::Ready));
    poll->stop();
    EXPECT_EQ(prompts, 2);
    ASSERT_EQ(rows(13).size(), 1);
    EXPECT_EQ(textOf(rows(13)[0], "pagetolbl"), QStringLiteral("3"));
    EXPECT_EQ(window->registry()->rowsOfZone(13).size(), 1u);
}

TEST_F(Zones, AnEmptyPiecesSizeIsShownInTheRowInsteadOfRunning)
{
    user->setLanguage(Glossary::ENGLSH);
    open();
    drop({pdf("x.pdf", 4)});
    ASSERT_TRUE(waitForState(13, PaneSwitcher::Ready));
    rows(13)[0]->findChild<QLineEdit*>(QStringLiteral("pagespacingedit"))->setText(QString());
    start();
    EXPECT_EQ(window->paneSwitcher().zoneState(13), PaneSwitcher::Ready); // nothing started
    EXPECT_TRUE(textOf(rows(13)[0], "promoptlbl").startsWith(QStringLiteral("Please Correct Your")));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "out/x"));
}

TEST_F(Zones, FiveHundredFilesAreAddedAndInspected)
{
    open();
    std::vector<std::string> paths;
    PdfFactory::write(dir.file("one.pdf"), 1);
    for (int i = 0; i < 500; ++i) {
        const auto path = dir.file("f" + std::to_string(i) + ".pdf");
        std::filesystem::copy_file(dir.file("one.pdf"), path);
        paths.push_back(path.string());
    }
    drop(paths);
    ASSERT_TRUE(waitForState(13, PaneSwitcher::Ready));
    EXPECT_EQ(rows(13).size(), 500);
    EXPECT_EQ(textOf(rows(13)[499], "pagetolbl"), QStringLiteral("1"));
}

TEST_F(Zones, FilesPickedInTheOpenDialogAreAdded)
{
    open();
    pdf("one.pdf", 2);
    pdf("two.pdf", 3);
    writeFile(dir.file("skip.txt"), "not for this zone");
    // Chooses the two files as a user would; a dialog that refuses the choice is closed rather
    // than left hanging.
    auto* poll = new QTimer(window.get());
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->stop();
        dialog->setDirectory(QString::fromStdString(dir.path().string()));
        // Typed into the name box, as the user would, so the choice does not wait for the listing.
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            name->setText(QStringLiteral("\"one.pdf\" \"two.pdf\""));
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept checks the choice
        if (dialog->isVisible())
            dialog->reject();
    });
    poll->start();
    // The dialog opens in the current folder.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(dir.path().string()));
    window->onClick(QStringLiteral("addfilebtn"));
    QDir::setCurrent(previous);
    poll->stop();
    ASSERT_TRUE(waitForState(13, PaneSwitcher::Ready));
    ASSERT_EQ(rows(13).size(), 2);
    EXPECT_EQ(rows(13)[1]->filePathname(), QString::fromStdString(dir.file("two.pdf").string()));
}

TEST_F(Zones, RevealingAHistoryFileThatIsGoneSaysSo)
{
    writeFile(dir.file("made.pdf"), "x");
    user->addHistory(dir.file("made.pdf").string());
    open();
    ASSERT_EQ(window->history().list()->rowCount(), 1);
    std::filesystem::remove(dir.file("made.pdf"));
    QString shown;
    answerNextBox(QStringLiteral("BtnConfirm"), &shown);
    window->history().reveal(static_cast<HistoryRowWidget*>(window->history().list()->rows()[0]));
    EXPECT_NE(shown.indexOf(QStringLiteral("文件无法打开")), -1);
    window->history().remove(static_cast<HistoryRowWidget*>(window->history().list()->rows()[0]));
    pump();
    EXPECT_TRUE(user->getHistory().empty());
}

TEST_F(Zones, ReportsOfExternalConversionsArriveOnTheInstanceSocket)
{
    open();
    const QString name = QStringLiteral("korvex-test-%1").arg(QCoreApplication::applicationPid());
    SingleInstance instance(name);
    ASSERT_TRUE(instance.claim());
    SingleInstance second(name);
    EXPECT_FALSE(second.claim()); // one instance per name
    QObject::connect(&instance, &SingleInstance::externalReport, window.get(), &CMainWnd::handleExternalReport);

    selectZone(10);
    const std::string input = pdf("doc.pdf", 2);
    drop({input});
    ASSERT_TRUE(waitForState(10, PaneSwitcher::Ready));
    QJsonObject report{{"phase", "conversion"}, {"userdata", "10"}, {"status", "ok"},
                       {"infile", QString::fromStdString(input)}, {"outfile", QStringLiteral("/elsewhere/doc.pdf")}};
    ASSERT_TRUE(second.sendToRunning(QJsonDocument(report).toJson(QJsonDocument::Compact) + '\n'));
    ASSERT_TRUE(pumpUntil([&] { return rows(10)[0]->property("Converted").toString() == QLatin1String("true"); }));
    EXPECT_EQ(rows(10)[0]->findChild<QWidget*>(QStringLiteral("itemopenfilebtn"))->property("openedFilename").toString(),
              QStringLiteral("/elsewhere/doc.pdf"));
    ASSERT_TRUE(second.sendToRunning("{\"phase\":\"end\",\"userdata\":\"10\"}\n"));
    EXPECT_TRUE(waitForState(10, PaneSwitcher::Finished));
}
