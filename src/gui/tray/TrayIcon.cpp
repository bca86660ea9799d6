#include "gui/tray/TrayIcon.h"

#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "gui/common/DesktopUtils.h"
#include "gui/common/QtText.h"

#include <QCursor>
#include <QMenu>
#include <QWidget>

namespace {

// Each command with its glossary text, in menu order.
constexpr struct {
    int command;
    int text;
} kEntries[] = {{TrayIcon::Update, TextId::SoftwareUpdate}, {TrayIcon::Help, TextId::OnlineHelp},
                {TrayIcon::About, TextId::AboutUs},    {TrayIcon::Feedback, TextId::Feedback},
                {TrayIcon::Exit, TextId::ExitProcess}};

} // namespace

TrayIcon::TrayIcon(QWidget& window, const MakerPages& pages)
    : QObject(&window), m_window(window), m_pages(pages), m_menu(std::make_unique<QMenu>()),
      m_icon(new QSystemTrayIcon(this))
{
    m_menu->setObjectName(QStringLiteral("trayMenu"));
    for (const auto& entry : kEntries) {
        QAction* action = m_menu->addAction(QString());
        action->setData(entry.command);
        const int command = entry.command;
        connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
        if ((command == Help || command == About) && m_pages.help.empty())
            action->setVisible(false);
    }
    m_icon->setIcon(QIcon(QStringLiteral(":/KorvexRes/korvex.png")));
    m_icon->setContextMenu(m_menu.get());
    connect(m_icon, &QSystemTrayIcon::activated, this, &TrayIcon::onActivated);
    retranslate();
}

TrayIcon::~TrayIcon()
{
    m_icon->hide();
}

bool TrayIcon::available()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::show()
{
    m_icon->show();
}

void TrayIcon::retranslate()
{
    m_icon->setToolTip(toQt(Glossary::text(TextId::AppTitle)));
    for (const auto& entry : kEntries)
        action(entry.command)->setText(toQt(Glossary::text(entry.text)));
}

QAction* TrayIcon::action(int command) const
{
    for (QAction* action : m_menu->actions()) {
        if (action->data().toInt() == command)
            return action;
    }
    return nullptr;
}

void TrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason)
{
    // Desktops with status-notifier trays report only single activations, never a double
    // click; there a single activation brings the window back too, so it is never lost. The
    // context menu is shown by the tray itself.
    if (reason != QSystemTrayIcon::DoubleClick && reason != QSystemTrayIcon::Trigger)
        return;
    onMouse(Mouse::DoubleClick);
}

void TrayIcon::onMouse(Mouse mouse)
{
    if (mouse == Mouse::DoubleClick) {
        showWindow();
    } else if (mouse == Mouse::RightButton) {
        m_window.activateWindow();
        m_menu->popup(QCursor::pos());
    }
}

void TrayIcon::showWindow()
{
    m_window.showNormal();
    m_window.raise();
    m_window.activateWindow();
}

void TrayIcon::runCommand(int command)
{
    switch (command) {
    case Update:
        emit updateRequested();
        break;
    case Help:
    case About:
        DesktopUtils::shellOpen(m_pages.help);
        break;
    case Feedback:
        showWindow();
        emit feedbackRequested();
        break;
    case Exit:
        m_window.close();
        break;
    default:
        break;
    }
}
