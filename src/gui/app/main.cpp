// The desktop program: user record and language first, one instance per user, then the main
// window until it asks to quit; workers and transfers are stopped before the libraries go.

#include "app/CrashHandler.h"
#include "app/SingleInstance.h"
#include "app/TextTable.h"
#include "common/QtText.h"
#include "converter/PrivateTempFolder.h"
#include "mainwnd/CMainWnd.h"
#include "network/RequestRunner.h"
#include "seam/QtMessageSink.h"
#include "user/User.h"

#include <QApplication>
#include <QScreen>

#include <curl/curl.h>

int main(int argc, char** argv)
{
    CrashHandler::install();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvex-pdf"));
    // A hidden window keeps running (the close prompt's "run in the background").
    QApplication::setQuitOnLastWindowClosed(false);

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
        window.setWindowTitle(toQt(Glossary::text(1)));
        window.initWindow();
        if (const QScreen* screen = QApplication::primaryScreen()) {
            QRect frame = window.frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            window.move(frame.topLeft());
        }
        window.show();
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
