// The desktop program: user record and language first, one instance per user, then the main
// window until it asks to quit; workers and transfers are stopped before the libraries go.

#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "core/converter/PrivateTempFolder.h"
#include "core/crash/CrashHandler.h"
#include "core/network/RequestRunner.h"
#include "core/user/User.h"
#include "gui/app/QuitOnSignals.h"
#include "gui/app/SingleInstance.h"
#include "gui/common/QtText.h"
#include "gui/mainwnd/CMainWnd.h"
#include "gui/seam/QtMessageSink.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include <curl/curl.h>

int main(int argc, char** argv)
{
    CrashHandler::install();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvex-pdf"));
    // A hidden window keeps running (the close prompt's "run in the background").
    QApplication::setQuitOnLastWindowClosed(false);
    // Stop signals end the program the orderly way, so its private folder goes with it; the
    // quit waits in the queue until the event loop runs.
    const QuitOnSignals quitOnSignals;
    // exit rather than quit: it also ends the loop of a modal dialog that happens to be open,
    // and no window can refuse it.
    QObject::connect(&quitOnSignals, &QuitOnSignals::received, &app, [] { QCoreApplication::exit(0); },
                     Qt::QueuedConnection);
    // Folders of decrypted copies left by runs that were killed.
    Converter::PrivateTempFolder::removeStaleFolders();

    User& user = User::instance();
    user.setLanguage(Glossary::CHINESE);
    CrashHandler::prepare(); // now with the installation's identity

    SingleInstance instance;
    if (!instance.claim())
        return 0;
    CrashHandler::sendKeptReports();
    curl_global_init(CURL_GLOBAL_ALL);
    QtMessageSink::instance();

    {
        CMainWnd window;
        window.setWindowTitle(toQt(Glossary::text(TextId::AppTitle)));
        window.initWindow();
        if (const QScreen* screen = QApplication::primaryScreen()) {
            QRect frame = window.frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            window.move(frame.topLeft());
        }
        window.show();
        if (user.configurationUnreadable()) {
            // Said once, at start-up: the settings of this run are not kept. Shown from the
            // event loop, so that a stop signal ends the program while it is open.
            QTimer::singleShot(0, &window, [&window, &user] {
                QMessageBox::warning(&window, toQt(Glossary::text(TextId::AppTitle)),
                                     toQt(Glossary::text(Glossary::TextRequest(TextId::ConfigurationUnreadable,
                                                                               user.getConfigFile()))));
            });
        }
        QObject::connect(&instance, &SingleInstance::activateRequested, &window, &CMainWnd::activateFromOtherInstance);
        QObject::connect(&instance, &SingleInstance::externalReport, &window, &CMainWnd::handleExternalReport);
        QObject::connect(&window, &CMainWnd::quitRequested, &app, &QApplication::quit, Qt::QueuedConnection);
        QApplication::exec();
        window.shutdown();
    }
    Network::RequestRunner::instance().shutdown();
    Converter::PrivateTempFolder::instance().removeAll();
    curl_global_cleanup();
    return 0;
}
