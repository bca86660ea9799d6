// The header's title in the room that the window and the header's other texts leave it.

#include "MainWindowFixture.h"

#include "core/actions/ActionPayloads.h"
#include "core/common/Utils.h"
#include "core/message/WindowMessages.h"

#include <QPixmap>
#include <QToolButton>

using namespace WindowMessages;

class Header : public MainWindowFixture {
protected:
    // A logged-in account whose picture has just arrived, as after a sign-in.
    void showAccount(const std::string& name)
    {
        user->setOpenKey("key");
        user->setUserId("7");
        user->setUserName(name);
        QPixmap avatar(22, 22);
        avatar.fill(Qt::darkCyan);
        const std::string path = dir.file("avatar.png").string();
        ASSERT_TRUE(avatar.save(QString::fromStdString(path)));
        window->handleSeamMessage(WM_UI_NOTIFY, Notify::AvatarReady, std::make_unique<WidePathPayload>(Utils::ansiToWide(path)));
        pump();
    }
    // The title is shortened with an ellipsis, keeps the whole as its tip, is painted
    // inside its own room and ends before the header's options begin.
    void expectTitleFits(const QString& full)
    {
        auto* title = child<QLabel>("titlelbl");
        EXPECT_EQ(title->toolTip(), full);
        EXPECT_NE(title->text(), full);
        EXPECT_TRUE(title->text().endsWith(QChar(0x2026))) << title->text().toStdString();
        EXPECT_TRUE(full.startsWith(title->text().chopped(1)));
        EXPECT_LE(title->fontMetrics().horizontalAdvance(title->text()), title->contentsRect().width());
        EXPECT_LT(title->geometry().right(), child<QWidget>("pdfconvertopt")->geometry().left());
    }
};

TEST_F(Header, TheEnglishTitleIsShortenedToItsRoomAfterALanguageSwitchAndASignIn)
{
    open();
    window->onClick(QStringLiteral("switchlanbtn"));
    pump();
    const QString english = window->title(Glossary::ENGLSH);
    expectTitleFits(english);
    // A long address in the header takes room from the title.
    const QString address = QStringLiteral("someone.with.a.long.address@example-mail.org");
    showAccount(address.toStdString());
    expectTitleFits(english);
    // However long the name, the account button leaves the title its part of the header.
    auto* account = child<QToolButton>("loginbtn");
    EXPECT_EQ(account->toolTip(), address);
    EXPECT_TRUE(account->text().contains(QChar(0x2026)));
    EXPECT_GE(child<QLabel>("titlelbl")->width(), 100);
    window->resize(window->width() - 60, window->height());
    pump();
    expectTitleFits(english);
}
