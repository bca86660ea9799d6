#include "gui/capture/ScreenshotHotKey.h"

#include "core/app/Glossary.h"
#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "core/common/Utils.h"
#include "core/platform/DebugLog.h"
#include "core/user/User.h"
#include "gui/common/QtText.h"
#include "gui/dialogs/CMessageWnd.h"
#include "gui/platform/GlobalHotKey.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QTimer>

namespace {

bool g_screenshotRunning = false;

User& user()
{
    return *User::current();
}

// The Win32 key code of the stored letter: its lower-case form minus 32.
unsigned keyOf(const std::string& value)
{
    if (value.empty())
        return 0;
    const QString letter = QString::fromStdString(value).left(1).toLower();
    return letter.isEmpty() ? 0 : letter.at(0).unicode() - 32;
}

} // namespace

ScreenshotHotKey::ScreenshotHotKey(QWidget* window, QCheckBox* check, QLineEdit* edit)
    : QObject(window), m_window(window), m_check(check), m_edit(edit), m_hotKey(new GlobalHotKey(this)),
      m_program(QString::fromStdString(Utils::wideToUtf8(Utils::getModuleDirectory())) + QStringLiteral("snaptor"))
{
    connect(m_edit, &QLineEdit::textChanged, this, &ScreenshotHotKey::onTextChanged);
    connect(m_hotKey, &GlobalHotKey::activated, this, &ScreenshotHotKey::onHotKey);
}

ScreenshotHotKey::~ScreenshotHotKey() = default;

bool ScreenshotHotKey::screenshotRunning()
{
    return g_screenshotRunning;
}

bool ScreenshotHotKey::isRegistered() const
{
    return m_hotKey->isRegistered(kHotKeyId);
}

bool ScreenshotHotKey::applyHotKey()
{
    const bool enabled = user().getHotkeyStatus();
    const std::string value = user().getHotkeyValue();
    bool ok = true;
    if (enabled) {
        ok = !value.empty() && m_hotKey->registerKey(kHotKeyId, GlobalHotKey::kModAlt, keyOf(value));
    } else {
        m_hotKey->unregisterKey(kHotKeyId);
    }
    if (ok)
        return true;
    if (enabled)
        m_check->setChecked(false);
    const std::wstring what = Glossary::text(enabled ? TextId::RegisterWord : TextId::CancelWord);
    CMessageWnd::showMessage(m_window, toQt(Glossary::text(TextId::Prompt)), toQt(Glossary::text(TextId::HotKeyFailed, what)), CMessageWnd::ConfirmOnly);
    return false;
}

void ScreenshotHotKey::onTextChanged(const QString& text)
{
    if (text.isEmpty())
        m_check->setChecked(false);
    user().setHotkeyValue(Utils::wideToAnsi(fromQt(text)));
    user().setHotkeyStatus(m_check->isChecked());
    applyHotKey();
}

void ScreenshotHotKey::onHotKey(int id)
{
    if (id != kHotKeyId)
        return;
    m_hotKey->unregisterKey(kHotKeyId);
    takeScreenshot();
    registerFromValue();
}

bool ScreenshotHotKey::registerFromValue()
{
    return m_hotKey->registerKey(kHotKeyId, GlobalHotKey::kModAlt, keyOf(user().getHotkeyValue()));
}

void ScreenshotHotKey::takeScreenshot()
{
    if (g_screenshotRunning)
        return;
    g_screenshotRunning = true;
    // The program leaves its picture in its own folder, unless told of a folder of this run:
    // an installed program's folder is not writable, and two users must not share a picture.
    QString folder = toQt(user().runFolder());
    if (folder.isEmpty())
        folder = QFileInfo(m_program).absolutePath();
    // A picture left by an earlier run must not pass for this one's.
    QFile::remove(QDir(folder).filePath(QString::fromUtf8(kPictureName)));

    QProcess process;
    process.setProgram(m_program);
    process.setStandardInputFile(QProcess::nullDevice());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kPictureFolderVariable), folder);
    process.setProcessEnvironment(environment);
    process.start();
    if (!process.waitForStarted()) {
        g_screenshotRunning = false;
        return;
    }
    // The window goes on painting while the program runs, but takes no input; a program that
    // never ends is given up.
    QEventLoop loop;
    connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    limit.start(m_timeLimitMs);
    if (process.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    const bool ended = process.state() == QProcess::NotRunning;
    if (!ended) {
        Platform::debugLog("the screenshot program did not end in time; given up\n");
        process.kill();
        process.waitForFinished(5000);
    }
    g_screenshotRunning = false;
    if (ended)
        copyPicture(folder);
}

void ScreenshotHotKey::copyPicture(const QString& folder)
{
    const QString picture = QDir(folder).filePath(QString::fromUtf8(kPictureName));
    if (!QFileInfo::exists(picture))
        return;
    const QDir output(QString::fromStdString(user().getSavePath()));
    output.mkpath(QStringLiteral("."));
    const QTime now = QTime::currentTime();
    const QString target = output.filePath(toQt(Glossary::text(TextId::ScreenshotFile)).arg(now.minute()).arg(now.second()));
    QFile::remove(target);
    if (QFile::copy(picture, target))
        emit pictureSaved(target);
}
