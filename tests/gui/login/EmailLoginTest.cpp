#include "LoginFixture.h"

#include "core/message/WindowMessages.h"
#include "gui/dialogs/CMessageWnd.h"

#include <QTimer>

using namespace WindowMessages;

namespace {
QString red(const QString& text)
{
    return QStringLiteral("<c #e62c2c>") + text + QStringLiteral("</c>");
}
const QString kForbidden = QStringLiteral(" can not Contain \"&,=, \" Character!");
} // namespace

class EmailLogin : public LoginFixture {
protected:
    void SetUp() override
    {
        LoginFixture::SetUp();
        user->setLanguage(Glossary::ENGLSH);
    }
    void signUp(const QString& email, const QString& password, const QString& repeated)
    {
        type("reg_emailedit", email);
        type("reg_passwordedit", password);
        type("reg_repasswordedit", repeated);
        click("reg_signupbtn");
    }
    void signIn(const QString& email, const QString& password)
    {
        type("log_emailedit", email);
        type("log_passwordedit", password);
        click("log_signinbtn");
    }
};

TEST_F(EmailLogin, SignUpThenSignInWithAPasswordFullOfQueryCharacters)
{
    open();
    EXPECT_FALSE(child<QWidget>("chinese_logwaytab")->isVisible());
    EXPECT_TRUE(child<QWidget>("offshore_logwaytab")->isVisible());
    EXPECT_FALSE(child<QWidget>("BtnRefresh")->isVisible());
    EXPECT_EQ(child<QAbstractButton>("tabopt1")->text(), QStringLiteral("Sign Up"));
    EXPECT_EQ(child<QAbstractButton>("tabopt2")->text(), QStringLiteral("Sign In"));
    EXPECT_TRUE(user->getQrGuid().empty()); // no QR code is fetched in English

    // Field checks, in their order.
    signUp({}, {}, {});
    EXPECT_EQ(markup("reg_signup_promptlbl"), red(QStringLiteral("Confirm Password Is Empty!")));
    signUp({}, {}, QStringLiteral("x"));
    EXPECT_EQ(markup("reg_signup_promptlbl"), red(QStringLiteral("E-mail Is Empty!")));
    signUp(QStringLiteral("ann@example.org"), {}, QStringLiteral("x"));
    EXPECT_EQ(markup("reg_signup_promptlbl"), red(QStringLiteral("Password Is Empty!")));
    signUp(QStringLiteral("ann=1@example.org"), QStringLiteral("x"), QStringLiteral("x"));
    EXPECT_EQ(markup("reg_signup_promptlbl"), red(QStringLiteral("E-mail") + kForbidden));
    signUp(QStringLiteral("ann@example.org"), QStringLiteral("a b"), QStringLiteral("a b"));
    EXPECT_EQ(markup("reg_signup_promptlbl"), red(QStringLiteral("Password") + kForbidden));
    signUp(QStringLiteral("ann@example.org"), QStringLiteral("one"), QStringLiteral("two"));
    EXPECT_EQ(markup("reg_signup_promptlbl"), red(QStringLiteral("Inconsistent password!")));

    // The service wants the address confirmed: the box says so, and the user is signed in.
    control("POST", "/control/config?check_mail=true");
    const QString password = QStringLiteral("p#s+w%d?中");
    QString boxText;
    // The box runs its own loop over the login window; a polling timer answers it.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<CMessageWnd*>(QApplication::activeModalWidget());
        if (!box)
            return;
        answer.stop();
        boxText = box->findChild<QLabel*>(QStringLiteral("MsgText"))->text();
        box->findChild<QAbstractButton*>(QStringLiteral("BtnConfirm"))->click();
    });
    answer.start(20);
    signUp(QStringLiteral("ann@example.org"), password, password);
    EXPECT_EQ(markup("reg_signup_promptlbl"), red(QStringLiteral("Signing Up Now!")));
    ASSERT_TRUE(pumpUntil([&] { return closed(); }));
    EXPECT_TRUE(boxText.contains(QStringLiteral("Please Check Your E-mail To Confirm Your Account")));
    const Json::Value created = account("email=ann@example.org");
    EXPECT_EQ(storedIdentity(), std::make_pair(created["uid"].asString(), created["open_key"].asString()));
    ASSERT_TRUE(pumpUntil([&] { return owner.received[WM_USER_REFRESH] == 1; }));

    // The same address again is refused with the service's words.
    open();
    signUp(QStringLiteral("ann@example.org"), QStringLiteral("x"), QStringLiteral("x"));
    ASSERT_TRUE(waitForMarkup("reg_signup_promptlbl", red(QStringLiteral("This E-mail Is Already Registered"))));
    EXPECT_FALSE(closed());

    // Sign in: checks, a wrong password, the link to the sign-up page, then the right password.
    user->setUserId({});
    user->setOpenKey({});
    click("tabopt2");
    EXPECT_EQ(child<QStackedWidget>("offshore_logwaytab")->currentIndex(), 1);
    signIn({}, QStringLiteral("x"));
    EXPECT_EQ(markup("log_signin_promptlbl"), red(QStringLiteral("Nickname Is Empty!")));
    signIn(QStringLiteral("ann@example.org"), {});
    EXPECT_EQ(markup("log_signin_promptlbl"), red(QStringLiteral("Password Is Empty!")));
    signIn(QStringLiteral("ann@example.org"), QStringLiteral("a&b"));
    EXPECT_EQ(markup("log_signin_promptlbl"), red(QStringLiteral("Password") + kForbidden));
    signIn(QStringLiteral("ann@example.org"), QStringLiteral("p#s"));
    ASSERT_TRUE(waitForMarkup("log_signin_promptlbl", red(QStringLiteral("mismatch account and password"))));
    EXPECT_EQ(storedIdentity().first, "");

    click("jumptosignupbtn");
    EXPECT_EQ(child<QStackedWidget>("offshore_logwaytab")->currentIndex(), 0);
    EXPECT_TRUE(child<QAbstractButton>("tabopt1")->isChecked());
    click("tabopt2");
    signIn(QStringLiteral("ann@example.org"), password);
    ASSERT_TRUE(pumpUntil([&] { return closed(); }));
    const Json::Value again = account("email=ann@example.org");
    EXPECT_EQ(storedIdentity(), std::make_pair(again["uid"].asString(), again["open_key"].asString()));
    EXPECT_EQ(again["uid"], created["uid"]);
}

TEST_F(EmailLogin, MalformedRepliesAndAStoppedServiceShowTheNetworkText)
{
    open();
    const QString networkError = red(QStringLiteral("Network Error"));
    control("POST", "/control/fault?kind=malformed&type=UserRegister");
    type("reg_emailedit", QStringLiteral("bob@example.org"));
    type("reg_passwordedit", QStringLiteral("pw"));
    type("reg_repasswordedit", QStringLiteral("pw"));
    click("reg_signupbtn");
    ASSERT_TRUE(waitForMarkup("reg_signup_promptlbl", networkError));
    EXPECT_EQ(markup("log_signin_promptlbl"), networkError);

    service.stop();
    click("tabopt2");
    type("log_emailedit", QStringLiteral("bob@example.org"));
    type("log_passwordedit", QStringLiteral("pw"));
    child<QLabel>("log_signin_promptlbl")->setProperty("markup", QString());
    click("log_signinbtn");
    ASSERT_TRUE(waitForMarkup("log_signin_promptlbl", networkError));
    EXPECT_FALSE(closed());
    EXPECT_EQ(storedIdentity().first, "");
}
