// The add-files dialog opens in the documents folder at first, then where the user last chose
// files in this run. A program of its own, so that no earlier dialog has chosen anything.

#include "gui/common/DesktopUtils.h"
#include "gui/dialogs/ModalDriver.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFileDialog>

#include <cstdlib>

namespace {

// Opens the dialog; choose: the file to pick (relative to the folder it shows), or empty to
// cancel. Returns the folder the dialog showed when it came up.
QString openDialog(const QString& choose)
{
    QString shown;
    whenModal([&](QDialog* window) {
        auto* dialog = qobject_cast<QFileDialog*>(window);
        ASSERT_NE(dialog, nullptr);
        shown = QDir::cleanPath(dialog->directory().absolutePath());
        if (choose.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(choose);
        static_cast<QDialog*>(dialog)->accept();
    });
    DesktopUtils::selectFiles(nullptr, QStringLiteral("Add files"), QStringLiteral("PDF (*.pdf)"), 1);
    return shown;
}

} // namespace

TEST(AddFilesFolder, DocumentsFirstThenTheLastFolderChosen)
{
    TempDir home;
    std::filesystem::create_directories(home.file("Documents"));
    std::filesystem::create_directories(home.file("papers"));
    writeFile(home.file("papers/a.pdf"), "%PDF-1.4\n");
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", home.path().c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    const QString documents = QString::fromStdString(home.file("Documents").string());
    const QString papers = QString::fromStdString(home.file("papers").string());

    EXPECT_EQ(openDialog({}), documents);
    EXPECT_EQ(openDialog({}), documents); // a cancelled dialog chose nothing
    EXPECT_EQ(openDialog(papers + QStringLiteral("/a.pdf")), documents);
    EXPECT_EQ(openDialog({}), papers);

    // A folder that went away since: the documents folder again.
    std::filesystem::remove_all(home.file("papers"));
    EXPECT_EQ(openDialog({}), documents);
    ::setenv("HOME", savedHome.c_str(), 1);
}
