// The desktop utilities: revealing a file in the file manager, opening targets, and the error
// reports they file. Nothing here reaches the user's own desktop: the session
// bus is a private dbus-daemon (or none), and URLs go to a recorder.

#include "FakeFileManager.h"
#include "ModalDriver.h"

#include "core/common/Diagnostics.h"
#include "gui/common/DesktopUtils.h"
#include "support/TempDir.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

// One private bus for the whole program, started before the first test reaches D-Bus and ended
// after the last.
class BusEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        m_bus = std::make_unique<PrivateSessionBus>();
        m_available = m_bus->start();
        if (!m_available) {
            // No bus at all rather than the user's.
            ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/korvex-test-bus", 1);
        }
    }
    void TearDown() override
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("qt_default_session_bus"));
        m_bus.reset();
    }
    static bool available() { return m_available; }

private:
    std::unique_ptr<PrivateSessionBus> m_bus;
    static inline bool m_available = false;
};

::testing::Environment* const g_bus = ::testing::AddGlobalTestEnvironment(new BusEnvironment);

const QString kService = QStringLiteral("org.freedesktop.FileManager1");
const QString kPath = QStringLiteral("/org/freedesktop/FileManager1");

// Registers the stand-in file manager for the life of this object.
class RegisteredFileManager {
public:
    RegisteredFileManager()
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        m_ok = bus.registerObject(kPath, &manager, QDBusConnection::ExportAllSlots) &&
               bus.registerService(kService);
    }
    ~RegisteredFileManager()
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterService(kService);
        bus.unregisterObject(kPath);
    }
    bool ok() const { return m_ok; }
    FakeFileManager manager;

private:
    bool m_ok = false;
};

class RecordedUrls {
public:
    RecordedUrls()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
    }
    ~RecordedUrls()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }
    UrlRecorder recorder;
};

std::string reportOf(const std::string& operation, const std::string& detail, const std::string& line)
{
    return operation + "||" + detail + "||..\\..\\include\\common\\Utils||" + line;
}

// What the next file dialog showed when it opened; answer then accepts or rejects it.
struct ShownDialog {
    QString title, filterShown;
    QStringList filters;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
};
void whenFileDialog(ShownDialog& shown, std::function<void(QFileDialog*)> answer)
{
    whenModal([&shown, answer](QDialog* window) {
        auto* dialog = qobject_cast<QFileDialog*>(window);
        ASSERT_NE(dialog, nullptr);
        shown = {dialog->windowTitle(), dialog->selectedNameFilter(), dialog->nameFilters(), dialog->fileMode()};
        answer(dialog);
    });
}

} // namespace

TEST(DesktopUtils, RevealingAMissingPathFilesILCreateFromPath)
{
    TempDir dir;
    const std::wstring missing = dir.wide("missing.pdf");
    RecordedUrls urls;
    EXPECT_FALSE(DesktopUtils::openFolderAndSelectItem(missing));
    EXPECT_EQ(Diagnostics::instance().lastReport(),
              reportOf("ILCreateFromPath", dir.file("missing.pdf").string(), "198"));
    EXPECT_TRUE(urls.recorder.opened.isEmpty()) << "nothing is opened for a missing path";
}

TEST(DesktopUtils, RevealAsksTheFileManagerToShowTheItem)
{
    if (!BusEnvironment::available())
        GTEST_SKIP() << "no dbus-daemon to stand in for the session bus";
    RegisteredFileManager fileManager;
    ASSERT_TRUE(fileManager.ok()) << QDBusConnection::sessionBus().lastError().message().toStdString();
    RecordedUrls urls;
    TempDir dir;
    writeFile(dir.file("out put#1.pdf"), "%PDF-1.4\n");
    const std::string before = Diagnostics::instance().lastReport();

    EXPECT_TRUE(DesktopUtils::openFolderAndSelectItem(dir.wide("out put#1.pdf")));
    EXPECT_EQ(fileManager.manager.calls, 1);
    ASSERT_EQ(fileManager.manager.shownItems.size(), 1);
    const QUrl shown(fileManager.manager.shownItems.front());
    EXPECT_TRUE(shown.isLocalFile()) << fileManager.manager.shownItems.front().toStdString();
    EXPECT_EQ(shown.toLocalFile(), QString::fromStdString(dir.file("out put#1.pdf").string()));
    EXPECT_TRUE(urls.recorder.opened.isEmpty()) << "no fallback when the file manager answers";
    EXPECT_EQ(Diagnostics::instance().lastReport(), before);
}

TEST(DesktopUtils, WithoutAFileManagerTheFolderOpens)
{
    RecordedUrls urls;
    TempDir dir;
    writeFile(dir.file("a.pdf"), "%PDF-1.4\n");
    const std::string before = Diagnostics::instance().lastReport();

    EXPECT_TRUE(DesktopUtils::openFolderAndSelectItem(dir.wide("a.pdf")));
    ASSERT_EQ(urls.recorder.opened.size(), 1);
    EXPECT_EQ(urls.recorder.opened.front(), QUrl::fromLocalFile(QString::fromStdString(dir.path().string())));
    EXPECT_EQ(Diagnostics::instance().lastReport(), before);
}

TEST(DesktopUtils, WhenNothingCanShowTheFolderSHOpenFolderAndSelectItemsIsFiled)
{
    // No file manager on the bus, and the offscreen platform opens no URLs.
    ASSERT_EQ(qgetenv("QT_QPA_PLATFORM"), QByteArray("offscreen"));
    TempDir dir;
    writeFile(dir.file("a.pdf"), "%PDF-1.4\n");
    EXPECT_FALSE(DesktopUtils::openFolderAndSelectItem(dir.wide("a.pdf")));
    EXPECT_EQ(Diagnostics::instance().lastReport(),
              reportOf("SHOpenFolderAndSelectItems", dir.file("a.pdf").string() + "|-1", "191"));
}

TEST(DesktopUtils, ShellOpenTellsWebAddressesFromPaths)
{
    RecordedUrls urls;
    DesktopUtils::shellOpen(std::wstring(L"https://example.com/help?q=1"));
    DesktopUtils::shellOpen(std::wstring(L"/tmp/some file.pdf"));
    DesktopUtils::shellOpen(std::string("/tmp/文件.pdf"));
    ASSERT_EQ(urls.recorder.opened.size(), 3);
    EXPECT_EQ(urls.recorder.opened[0], QUrl(QStringLiteral("https://example.com/help?q=1")));
    EXPECT_EQ(urls.recorder.opened[1], QUrl::fromLocalFile(QStringLiteral("/tmp/some file.pdf")));
    EXPECT_EQ(urls.recorder.opened[2], QUrl::fromLocalFile(QStringLiteral("/tmp/文件.pdf")));
}

TEST(DesktopUtils, SelectFilesGivesEveryPathFollowedByALineFeed)
{
    TempDir dir;
    for (const char* name : {"a.pdf", "b c.pdf", "d.pdf", "e.txt"})
        writeFile(dir.file(name), "%PDF-1.4\n");
    const QString folder = QString::fromStdString(dir.path().string());
    ShownDialog shown;
    whenFileDialog(shown, [folder](QFileDialog* dialog) {
        dialog->setDirectory(folder);
        dialog->selectFile(QStringLiteral("\"a.pdf\" \"b c.pdf\" \"d.pdf\""));
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept, which checks the choice
    });
    const std::wstring chosen = DesktopUtils::selectFiles(
        nullptr, QStringLiteral("Add files"), QStringLiteral("PDF (*.pdf);;All files (*)"), 2);
    EXPECT_EQ(shown.title, QStringLiteral("Add files"));
    EXPECT_EQ(shown.filterShown, QStringLiteral("All files (*)"));
    EXPECT_EQ(shown.mode, QFileDialog::ExistingFiles);
    const std::wstring base = dir.wide() + L"/";
    EXPECT_EQ(chosen, base + L"a.pdf\n" + base + L"b c.pdf\n" + base + L"d.pdf\n");
}

TEST(DesktopUtils, SelectFilesTakesAWin32FilterListAndGivesNothingOnCancel)
{
    ShownDialog shown;
    whenFileDialog(shown, [](QFileDialog* dialog) { dialog->reject(); });
    const QString win32 = QStringLiteral("PDF Files\0*.pdf\0Images\0*.png;*.jpg\0All\0*.*\0\0");
    const std::wstring chosen = DesktopUtils::selectFiles(nullptr, QStringLiteral("Add"), win32, 1);
    EXPECT_TRUE(chosen.empty());
    EXPECT_EQ(shown.filters, (QStringList{QStringLiteral("PDF Files (*.pdf)"), QStringLiteral("Images (*.png *.jpg)"),
                                    QStringLiteral("All (*)")}));
    EXPECT_EQ(shown.filterShown, QStringLiteral("PDF Files (*.pdf)"));
}

TEST(DesktopUtils, SelectFolderWritesTheChosenFolder)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("out"));
    const QString target = QString::fromStdString(dir.file("out").string());
    ShownDialog shown;
    whenFileDialog(shown, [target](QFileDialog* dialog) {
        dialog->setDirectory(target);
        dialog->selectFile(target);
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept, which checks the choice
    });
    std::wstring path;
    EXPECT_TRUE(DesktopUtils::selectFolder(nullptr, path));
    EXPECT_EQ(shown.title, QStringLiteral("Please, select a folder"));
    EXPECT_EQ(path, dir.wide("out"));

    whenModal([](QDialog* window) { window->reject(); });
    std::wstring unchanged = L"/kept";
    EXPECT_FALSE(DesktopUtils::selectFolder(nullptr, unchanged));
    EXPECT_EQ(unchanged, L"/kept");
}
