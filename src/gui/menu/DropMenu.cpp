#include "gui/menu/DropMenu.h"

#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "core/message/WindowMessages.h"
#include "gui/common/QtText.h"
#include "gui/menu/MenuCommandPayload.h"

#include <QCoreApplication>

DropMenu::DropMenu(WindowHandle window, const MakerPages& pages, bool loggedIn, QWidget* parent)
    : QMenu(parent), m_window(window)
{
    setObjectName(QStringLiteral("menu"));
    setMinimumWidth(140);
    addElement(QStringLiteral("BtnFeedback"), QCoreApplication::translate("DropMenu", "Feedback"),
               QStringLiteral(":/KorvexRes/hint.png"));
    addElement(QStringLiteral("BtnAbout"), QCoreApplication::translate("DropMenu", "About"),
               QStringLiteral(":/KorvexRes/question.png"))
        ->setVisible(!pages.about.empty());
    addElement(QStringLiteral("BtnUpdate"), QCoreApplication::translate("DropMenu", "Upgrade"),
               QStringLiteral(":/KorvexRes/korvex-48.png"));
    addElement(QStringLiteral("BtnLogOff"), QCoreApplication::translate("DropMenu", "Log off"),
               QStringLiteral(":/KorvexRes/user.png"))
        ->setVisible(loggedIn);
    addSeparator();
    addElement(QStringLiteral("exit"), toQt(Glossary::text(TextId::ExitProcess)), QStringLiteral(":/KorvexRes/close.png"));
}

QAction* DropMenu::addElement(const QString& name, const QString& text, const QString& icon)
{
    QAction* action = addAction(QIcon(icon), text);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, name] {
        MessageSink::current().post(m_window, WindowMessages::WM_MENU_COMMAND, 0,
                                    std::make_unique<MenuCommandPayload>(name));
    });
    return action;
}

QAction* DropMenu::element(const QString& name) const
{
    for (QAction* action : actions()) {
        if (action->objectName() == name)
            return action;
    }
    return nullptr;
}
