#include "gui/common/DesktopUtils.h"

#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "core/common/Diagnostics.h"
#include "core/common/Utils.h"
#include "core/platform/UserFolders.h"
#include "gui/common/QtText.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>

namespace DesktopUtils {

namespace {

const char* const kSource = "..\\..\\include\\common\\Utils";

// The folder of the last files chosen in this run; only the user-interface thread uses it.
QString& lastChosenFolder()
{
    static QString folder;
    return folder;
}

const QString kFileManagerService = QStringLiteral("org.freedesktop.FileManager1");
const QString kFileManagerPath = QStringLiteral("/org/freedesktop/FileManager1");
const QString kFileManagerInterface = QStringLiteral("org.freedesktop.FileManager1");
// Long enough for a file manager that D-Bus starts on demand, short enough not to freeze the
// window when one hangs.
constexpr int kFileManagerTimeoutMs = 5000;

// A Win32 filter list ("PDF\0*.pdf\0All\0*.*\0\0") as Qt name filters; Qt filters pass as they
// are.
QStringList nameFilters(const QString& filter)
{
    if (!filter.contains(QChar(0)))
        return filter.isEmpty() ? QStringList() : filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    const QStringList parts = filter.split(QChar(0));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (patterns == QLatin1String("*.*"))
            patterns = QStringLiteral("*");
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return filters;
}

bool isWebAddress(const QString& target)
{
    // A scheme of two letters or more ("C:" is a drive, not a scheme) followed by ':'.
    const QUrl url(target, QUrl::StrictMode);
    return url.isValid() && url.scheme().size() > 1 && !target.startsWith(QLatin1Char('/'));
}

bool showItemsOverDBus(const QString& absolutePath)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    if (QDBusConnectionInterface* names = bus.interface()) {
        // Do not wait for a service that is neither running nor can be started.
        const bool running = names->isServiceRegistered(kFileManagerService).value();
        if (!running && !names->activatableServiceNames().value().contains(kFileManagerService))
            return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kFileManagerService, kFileManagerPath,
                                                       kFileManagerInterface, QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(absolutePath).toString(QUrl::FullyEncoded)} << QString();
    const QDBusMessage reply = bus.call(call, QDBus::Block, kFileManagerTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace

std::wstring selectFiles(QWidget* owner, const QString& title, const QString& filter, int filterIndex)
{
    const QStringList filters = nameFilters(filter);
    QString selected;
    if (filterIndex >= 1 && filterIndex <= filters.size())
        selected = filters[filterIndex - 1];
    QString start = lastChosenFolder();
    if (start.isEmpty() || !QFileInfo(start).isDir())
        start = toQt(Platform::documentsFolder());
    const QStringList files = QFileDialog::getOpenFileNames(owner, title, start,
                                                            filters.join(QStringLiteral(";;")), &selected);
    if (!files.isEmpty())
        lastChosenFolder() = QFileInfo(files.first()).absolutePath();
    std::wstring result;
    for (const QString& file : files)
        result += fromQt(QDir::cleanPath(file)) + L"\n";
    return result;
}

bool selectFolder(QWidget* owner, std::wstring& path)
{
    QUrl start;
    if (!path.empty() && QFileInfo(toQt(path)).isDir())
        start = QUrl::fromLocalFile(toQt(path));
    const QUrl chosen = QFileDialog::getExistingDirectoryUrl(
        owner, toQt(Glossary::text(TextId::SelectFolder)), start, QFileDialog::ShowDirsOnly,
        {QStringLiteral("file")});
    if (chosen.isEmpty())
        return false;
    if (!chosen.isLocalFile() || chosen.toLocalFile().isEmpty()) {
        Diagnostics::instance().reportError(L"SHGetPathFromIDList", L"", kSource, L"100");
        return false;
    }
    path = fromQt(QDir::cleanPath(chosen.toLocalFile()));
    return true;
}

void shellOpen(const std::wstring& target)
{
    const QString text = toQt(target);
    if (text.isEmpty())
        return;
    QDesktopServices::openUrl(isWebAddress(text) ? QUrl(text) : QUrl::fromLocalFile(text));
}

void shellOpen(const std::string& target)
{
    shellOpen(Utils::utf8ToWide(target));
}

bool openFolderAndSelectItem(const std::wstring& path)
{
    if (path.empty() || !Utils::pathExists(path)) {
        Diagnostics::instance().reportError(L"ILCreateFromPath", path, kSource, L"198");
        return false;
    }
    const QFileInfo item(QDir::cleanPath(toQt(path)));
    const QString absolute = item.absoluteFilePath();
    if (showItemsOverDBus(absolute))
        return true;
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(item.absolutePath())))
        return true;
    Diagnostics::instance().reportError(L"SHOpenFolderAndSelectItems", path + L"|-1", kSource, L"191");
    return false;
}

} // namespace DesktopUtils
