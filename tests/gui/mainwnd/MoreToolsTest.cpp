// The header's third option: it shows the list of all five PDF functions, through which the
// Extract, Compress and Decrypt zones are reached and run, in both languages; the window still
// opens in the Split zone with the list hidden.

#include "MainWindowFixture.h"

#include "core/common/Utils.h"
#include "gui/common/QtText.h"
#include "gui/filelist/FileListWidget.h"
#include "gui/filelist/FileRowWidget.h"
#include "gui/mainwnd/FileListController.h"
#include "support/PdfFactory.h"

#include <QListWidget>
#include <QToolButton>

class MoreTools : public MainWindowFixture {
protected:
    // Picks the list's item as a click would, adds the file and runs the zone; the output.
    std::filesystem::path runFromList(int item, const std::filesystem::path& file)
    {
        child<QListWidget>("pdfprocessinglst")->setCurrentRow(item);
        pump();
        const int zone = item + 9;
        EXPECT_EQ(window->paneSwitcher().currentZone(), zone);
        EXPECT_TRUE(child<QToolButton>("moretoolsopt")->isChecked());
        EXPECT_FALSE(child<QWidget>("subchoicezone")->isHidden());
        window->dropFiles({QString::fromStdString(file.string())});
        if (!pumpUntil([&] { return window->paneSwitcher().zoneState(zone) == PaneSwitcher::Ready; }))
            return {};
        window->onClick(QStringLiteral("convertbtn"));
        if (!pumpUntil([&] { return window->paneSwitcher().zoneState(zone) == PaneSwitcher::Finished; }))
            return {};
        const auto rows = window->fileLists().list(zone)->rows();
        if (rows.size() != 1)
            return {};
        auto* open = rows[0]->findChild<QWidget*>(QStringLiteral("itemopenfilebtn"));
        return open ? Utils::toFsPath(fromQt(open->property("openedFilename").toString())) : std::filesystem::path();
    }

    void runEveryHiddenZone(const QString& optionText, const QStringList& itemTexts)
    {
        PdfFactory::write(dir.file("six.pdf"), 6);
        PdfFactory::write(dir.file("plain.pdf"), 4);
        ASSERT_TRUE(PdfFactory::encrypt(dir.file("plain.pdf"), dir.file("locked.pdf"), ""));
        open();
        // Opens as specified: Split, two options chosen between, the list hidden.
        EXPECT_EQ(window->paneSwitcher().currentZone(), 13);
        EXPECT_TRUE(child<QToolButton>("pdfconvertopt")->isChecked());
        EXPECT_TRUE(child<QWidget>("subchoicezone")->isHidden());
        auto* more = child<QToolButton>("moretoolsopt");
        ASSERT_NE(more, nullptr);
        EXPECT_FALSE(more->isHidden());
        EXPECT_EQ(more->text(), optionText);

        more->click();
        pump();
        EXPECT_FALSE(child<QWidget>("subchoicezone")->isHidden());
        EXPECT_FALSE(child<QToolButton>("pdfconvertopt")->isChecked());
        EXPECT_EQ(window->paneSwitcher().currentZone(), 13) << "the list opens on the zone that was current";
        auto* list = child<QListWidget>("pdfprocessinglst");
        ASSERT_EQ(list->count(), 5);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(list->item(i)->text(), itemTexts[i]);
        EXPECT_EQ(list->currentRow(), 4);

        const auto extracted = runFromList(0, dir.file("six.pdf"));
        EXPECT_EQ(PdfFactory::pageNumbers(extracted), (std::vector<int>{1, 2, 3, 4, 5, 6}));
        const auto compressed = runFromList(1, dir.file("six.pdf"));
        EXPECT_EQ(PdfFactory::pageCount(compressed), 6);
        EXPECT_NE(compressed, extracted);
        const auto decrypted = runFromList(2, dir.file("locked.pdf"));
        ASSERT_EQ(PdfFactory::pageCount(decrypted), 4);
        EXPECT_FALSE(PdfFactory::isEncrypted(decrypted));
        EXPECT_EQ(decrypted.parent_path(), dir.path() / "out");

        // The Split option takes the window back to the two options' look.
        child<QToolButton>("pdfconvertopt")->click();
        pump();
        EXPECT_EQ(window->paneSwitcher().currentZone(), 13);
        EXPECT_TRUE(child<QWidget>("subchoicezone")->isHidden());
        EXPECT_FALSE(more->isChecked());
    }
};

TEST_F(MoreTools, ChineseWindowReachesAndRunsExtractCompressAndDecrypt)
{
    runEveryHiddenZone(QString::fromUtf8("更多工具"), {QString::fromUtf8("抽取"), QString::fromUtf8("压缩"),
                                                    QString::fromUtf8("解密"), QString::fromUtf8("合并"),
                                                    QString::fromUtf8("分割")});
}

TEST_F(MoreTools, EnglishWindowReachesAndRunsExtractCompressAndDecrypt)
{
    user->setLanguage(Glossary::ENGLSH);
    runEveryHiddenZone(QStringLiteral("More tools"), {QStringLiteral("Extract"), QStringLiteral("Compress"),
                                                      QStringLiteral("Decrypt"), QStringLiteral("Merge"),
                                                      QStringLiteral("Split")});
}

TEST_F(MoreTools, TheListKeepsItsOptionAcrossALanguageSwitch)
{
    open();
    child<QToolButton>("moretoolsopt")->click();
    pump();
    child<QListWidget>("pdfprocessinglst")->setCurrentRow(1);
    pump();
    window->onClick(QStringLiteral("switchlanbtn"));
    pump();
    EXPECT_EQ(child<QToolButton>("moretoolsopt")->text(), QStringLiteral("More tools"));
    EXPECT_EQ(child<QListWidget>("pdfprocessinglst")->item(1)->text(), QStringLiteral("Compress"));
    EXPECT_EQ(window->paneSwitcher().currentZone(), 10);
    EXPECT_TRUE(child<QToolButton>("moretoolsopt")->isChecked());
    EXPECT_EQ(child<QListWidget>("pdfprocessinglst")->currentRow(), 1);
}
