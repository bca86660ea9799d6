// Takes a picture of the main window:
//     korvex-shot OUTPUT.png [--lang en|zh] [--rows FOLDER] [--login] [--service URL]
//                            [--window download|feedback] [--menu [--logged-in]] [--capture]
//                            [--header] [--zone N] [--picker] [--list]
// With --rows, every PDF in FOLDER is added to the current zone and inspected first. With
// --login the picture is of the login window over it (in Chinese, once its QR code is shown);
// --service names the service to talk to. With --window, the picture is of that window alone
// (a download a quarter done). --menu takes the screen with the header's drop-down menu open
// (for a logged-in user with --logged-in); --capture shows the screenshot pane; --header is the
// header alone once an account with an e-mail address for its name has signed in. Run it with
// HOME pointing at a scratch folder: it uses a configuration of its own there. --zone N adds the
// rows to zone N (9 to 13) instead of the first one; --list takes the zone's file list alone once
// every row shows its page picture; --picker takes the page picker of the first row (picking
// pages 3 to 6 of an extract or merge row, or splitting a split row after pages 2 and 5).

#include "core/actions/ActionPayloads.h"
#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "core/message/WindowMessages.h"
#include "core/network/NotifyPayload.h"
#include "core/network/RequestRunner.h"
#include "core/tasks/RowRegistry.h"
#include "core/user/User.h"
#include "gui/common/LanguageManager.h"
#include "gui/common/QtText.h"
#include "gui/feedback/SuggestionWnd.h"
#include "gui/filelist/FileListWidget.h"
#include "gui/filelist/FileRowWidget.h"
#include "gui/filelist/RowThumbnail.h"
#include "gui/login/LoginWnd.h"
#include "gui/mainwnd/CMainWnd.h"
#include "gui/mainwnd/FileListController.h"
#include "gui/menu/DropMenu.h"
#include "gui/picker/PageGridDelegate.h"
#include "gui/picker/PageGridModel.h"
#include "gui/picker/PagePickerDialog.h"
#include "gui/seam/QtMessageSink.h"
#include "gui/update/DownloadWnd.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QListView>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <curl/curl.h>

#include <functional>

namespace {

void pump(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// A picture of one of the small windows, laid out as the user sees it.
int shootWindow(const QString& which, const QString& output, bool english)
{
    LanguageManager::instance().apply(english ? Glossary::ENGLSH : Glossary::CHINESE);
    std::unique_ptr<QDialog> window;
    if (which == QLatin1String("download")) {
        auto download = std::make_unique<DownloadWnd>();
        download->handleSeamMessage(WindowMessages::WM_DOWNLOAD_PROGRESS, 2097152,
                                    std::make_unique<NotifyNumber>(524288));
        window = std::move(download);
    } else if (which == QLatin1String("feedback")) {
        window = std::make_unique<SuggestionWnd>();
    } else {
        std::fprintf(stderr, "unknown window %s\n", qPrintable(which));
        return 2;
    }
    window->show();
    pump(300);
    return window->grab().save(output) ? 0 : 1;
}

// Waits (bounded) until the condition holds.
void pumpUntil(const std::function<bool()>& done, int limitMs = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < limitMs)
        pump(50);
}

// The zone's file list once every row shows its picture, or the first row's page picker.
int shootPages(CMainWnd& window, int zone, bool picker, const QString& output)
{
    FileListWidget* list = window.fileLists().list(zone);
    if (!list || list->rows().isEmpty())
        return 1;
    pumpUntil([&] {
        for (ListRowWidget* row : list->rows()) {
            auto* fileRow = dynamic_cast<FileRowWidget*>(row);
            if (fileRow && fileRow->thumbnail()->property("thumbnailState") == QStringLiteral("waiting"))
                return false;
        }
        return true;
    });
    if (!picker) {
        QRect rowsArea;
        for (ListRowWidget* row : list->rows())
            rowsArea |= QRect(row->mapTo(list, QPoint(0, 0)), row->size());
        return list->grab(rowsArea.intersected(list->rect())).save(output) ? 0 : 1;
    }
    auto* row = dynamic_cast<FileRowWidget*>(list->rows().first());
    const auto entry = window.registry()->copy(row->rowId());
    PagePickerDialog dialog(*row, entry ? entry->pageCount : 1, &window);
    dialog.resize(760, 560);
    dialog.show();
    pumpUntil([&] { return dialog.grid()->viewport()->isVisible(); });
    pump(100);
    QListView* grid = dialog.grid();
    const auto cell = [&](int page) { return grid->visualRect(dialog.model()->index(page - 1)); };
    if (dialog.mode() == PagePickerDialog::Range) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell(3).center());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, cell(6).center());
    } else {
        for (int page : {2, 5})
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, PageGridDelegate::gapOf(cell(page)).center());
    }
    pumpUntil([&] { return !dialog.model()->screenPending(); });
    pump(300);
    return dialog.grab().save(output) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: korvex-shot OUTPUT.png [--lang en|zh] [--rows FOLDER]\n");
        return 2;
    }
    const QString output = args[1];
    const bool english = args.contains(QStringLiteral("--lang")) &&
                         args.value(args.indexOf(QStringLiteral("--lang")) + 1) == QLatin1String("en");
    const QString rows = args.contains(QStringLiteral("--rows")) ? args.value(args.indexOf(QStringLiteral("--rows")) + 1) : QString();
    const bool loginWindow = args.contains(QStringLiteral("--login"));
    const bool menu = args.contains(QStringLiteral("--menu"));
    const bool loggedIn = args.contains(QStringLiteral("--logged-in"));
    const bool capture = args.contains(QStringLiteral("--capture"));
    const bool header = args.contains(QStringLiteral("--header"));
    const bool picker = args.contains(QStringLiteral("--picker"));
    const bool listOnly = args.contains(QStringLiteral("--list"));
    const int zone = args.contains(QStringLiteral("--zone")) ? args.value(args.indexOf(QStringLiteral("--zone")) + 1).toInt() : 0;
    const QString service = args.contains(QStringLiteral("--service")) ? args.value(args.indexOf(QStringLiteral("--service")) + 1) : QString();

    curl_global_init(CURL_GLOBAL_ALL);
    QtMessageSink::instance();
    std::unique_ptr<User> ownUser;
    if (!service.isEmpty())
        ownUser = std::make_unique<User>(std::nullopt, service.toStdString());
    User& user = ownUser ? *ownUser : User::instance();
    user.setLanguage(english ? Glossary::ENGLSH : Glossary::CHINESE);
    if (args.contains(QStringLiteral("--window")))
        return shootWindow(args.value(args.indexOf(QStringLiteral("--window")) + 1), output, english);
    int code = 0;
    {
        CMainWnd window;
        window.setWindowTitle(toQt(Glossary::text(TextId::AppTitle)));
        window.initWindow();
        window.show();
        pump(300);
        if (zone != 0) {
            window.paneSwitcher().switchTo(1, zone - 9);
            pump(100);
        }
        if (!rows.isEmpty()) {
            QStringList files;
            for (const QString& name : QDir(rows).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name))
                files << QDir(rows).filePath(name);
            window.fileLists().setInspectionIdle(false);
            window.fileLists().addFiles(files);
            QElapsedTimer timer;
            timer.start();
            while (!window.fileLists().inspectionIdle() && timer.elapsed() < 20000)
                pump(50);
            pump(200);
        }
        if (capture) {
            window.findChild<QAbstractButton*>(QStringLiteral("capturescropt"))->click();
            pump(200);
        }
        if (picker || listOnly) {
            code = shootPages(window, zone != 0 ? zone : window.paneSwitcher().currentZone(), picker, output);
        } else if (menu) {
            if (loggedIn) {
                user.setOpenKey("shot");
                user.setUserName("Lumo");
                window.findChild<QAbstractButton*>(QStringLiteral("loginbtn"))->setText(QString::fromStdString(user.getUserName()));
            }
            auto* drop = window.findChild<QAbstractButton*>(QStringLiteral("dropbtn"));
            QCursor::setPos(drop->mapToGlobal(QPoint(drop->width() - 150, drop->height())));
            window.onClick(QStringLiteral("dropbtn"));
            pump(400);
            const QRect area = window.frameGeometry();
            code = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                           .save(output)
                       ? 0
                       : 1;
            if (window.dropMenu())
                window.dropMenu()->close();
        } else if (header) {
            // The account arrives as after a sign-in: its name, then its picture.
            const QString avatar = QDir::home().filePath(QStringLiteral("avatar.png"));
            QPixmap(QStringLiteral(":/KorvexRes/korvex-48.png")).save(avatar);
            user.setOpenKey("shot");
            user.setUserId("1");
            user.setUserName("lumo.reader@example.org");
            window.handleSeamMessage(WindowMessages::WM_UI_NOTIFY, WindowMessages::Notify::AvatarReady,
                                     std::make_unique<WidePathPayload>(avatar.toStdWString()));
            pump(300);
            code = window.findChild<QWidget*>(QStringLiteral("header"))->grab().save(output) ? 0 : 1;
        } else if (loginWindow) {
            LoginWnd login(window.seamHandle(), &window);
            login.initWindow();
            login.show();
            auto* qr = login.findChild<QLabel*>(QStringLiteral("qrcodepng"));
            QElapsedTimer timer;
            timer.start();
            while (!english && qr && qr->pixmap().isNull() && timer.elapsed() < 20000)
                pump(50);
            pump(1200); // the countdown's first second
            code = login.grab().save(output) ? 0 : 1;
            login.done(1);
        } else {
            code = window.grab().save(output) ? 0 : 1;
        }
        window.shutdown();
    }
    Network::RequestRunner::instance().shutdown();
    curl_global_cleanup();
    return code;
}
