#include "gui/login/LoginWnd.h"

#include "ui_LoginWnd.h"

#include "core/actions/ActionPayloads.h"
#include "core/actions/LoginWndAction.h"
#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "core/common/UrlEscape.h"
#include "core/common/Utils.h"
#include "core/message/WindowMessages.h"
#include "core/network/NotifyPayload.h"
#include "core/user/RequestId.h"
#include "core/user/User.h"
#include "gui/common/QtText.h"
#include "gui/common/RichText.h"
#include "gui/dialogs/CMessageWnd.h"

#include <QButtonGroup>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QTimer>

#include <json/json.h>

#include <initializer_list>
#include <utility>

using namespace WindowMessages;

namespace {

QString windowText(int id)
{
    return toQt(Glossary::text(id));
}

QString windowText(int id, const QString& replacement)
{
    return toQt(Glossary::text(id, fromQt(replacement)));
}

const QColor kClearVeil = QColor::fromRgba(0x00939393);
const QColor kExpiredVeil = QColor::fromRgba(0x33939393);

// Process-wide, as the waits alternate for the whole run: polling happens on every second
// tick, and each code page alternates a short and a long resend wait.
bool g_pollOnNextTick = false;
bool g_nextWaitShort[3] = {true, true, true};

QString red(const QString& text)
{
    return QStringLiteral("<c #e62c2c>") + text + QStringLiteral("</c>");
}

// Status lines keep the markup they were given (property "markup") and show it as rich text.
void setMarkup(QLabel* label, const QString& markup)
{
    label->setProperty("markup", markup);
    label->setText(RichText::fromMarkup(markup));
}

// Link buttons show their markup's text in its colour.
void setButtonMarkup(QAbstractButton* button, const QString& markup)
{
    static const QRegularExpression link(QStringLiteral("</?a>"));
    static const QRegularExpression colour(QStringLiteral("<c\\s+(#[0-9A-Fa-f]{6})"));
    QString text = markup;
    text.remove(link);
    button->setProperty("markup", markup);
    button->setText(RichText::stripMarkup(text));
    const QRegularExpressionMatch m = colour.match(markup);
    button->setStyleSheet(m.hasMatch() ? QStringLiteral("color: %1;").arg(m.captured(1)) : QString());
}

QString emptyField(const QString& name)
{
    return red(windowText(TextId::IsEmpty, name));
}

QString forbiddenField(const QString& name)
{
    return red(windowText(TextId::ForbiddenCharacters, name));
}

// "&", "=" and spaces would break the request's query.
bool hasForbidden(const QString& text)
{
    return text.contains(QLatin1Char('&')) || text.contains(QLatin1Char('=')) ||
           text.contains(QLatin1Char(' '));
}

// The forbidden-character message for an e-mail pair; empty when both may go out.
QString forbiddenInPair(const QString& email, const QString& password)
{
    if (hasForbidden(email))
        return forbiddenField(windowText(TextId::EmailField));
    if (hasForbidden(password))
        return forbiddenField(windowText(TextId::PasswordField));
    return {};
}

// What the prompt says of an account form: the first required field left empty (the field's
// text and the id of its name), then anything forbidden in the pair; empty when all is well.
QString accountFormProblem(std::initializer_list<std::pair<QString, int>> required, const QString& email,
                           const QString& password)
{
    for (const auto& [text, name] : required)
        if (text.isEmpty())
            return emptyField(windowText(name));
    return forbiddenInPair(email, password);
}

std::string toAnsi(const QString& text)
{
    return Utils::wideToAnsi(fromQt(text));
}

// The e-mail pair goes into a query as UTF-8, escaped so that "+", "#", "%" and the like
// arrive as typed.
std::string queryValue(const QString& text)
{
    return Utils::urlEscape(text.toStdString());
}

} // namespace

LoginWnd::LoginWnd(WindowHandle owner, QWidget* parent)
    : FramelessDialog(parent), SeamWindow(this), m_ui(std::make_unique<Ui::LoginWnd>()), m_owner(owner)
{
    m_ui->setupUi(this);
    setFixedSize(kSize);
    setCaptionStrip(m_ui->captionbar);
    auto* group = new QButtonGroup(this);
    group->setObjectName(QStringLiteral("logway"));
    group->addButton(m_ui->tabopt1, 1);
    group->addButton(m_ui->tabopt2, 2);
    const QRegularExpression phoneDigits(QStringLiteral("[0-9]{0,11}"));
    const QRegularExpression codeDigits(QStringLiteral("[0-9]{0,4}"));
    for (QLineEdit* edit : {m_ui->phonenumberedit, m_ui->phonenumberedit1})
        edit->setValidator(new QRegularExpressionValidator(phoneDigits, edit));
    for (QLineEdit* edit : {m_ui->msgcodeedit, m_ui->msgcodeedit1})
        edit->setValidator(new QRegularExpressionValidator(codeDigits, edit));
    m_ui->refreshbtn->hide();
    connect(&m_qrTimer, &QTimer::timeout, this, &LoginWnd::onQrTick);
    connect(&m_smsResendTimer, &QTimer::timeout, this, [this] { onResendTick(kSmsLoginPage); });
    connect(&m_bindResendTimer, &QTimer::timeout, this, [this] { onResendTick(kBindPhonePage); });
    connectControls();
}

LoginWnd::~LoginWnd()
{
    if (m_action)
        m_action->detach();
}

void LoginWnd::connectControls()
{
    connect(m_ui->closebtn, &QAbstractButton::clicked, this, [this] { done(1); });
    connect(m_ui->jumpbtn, &QAbstractButton::clicked, this, [this] { done(1); });
    connect(m_ui->refreshbtn, &QAbstractButton::clicked, this, &LoginWnd::refreshQr);
    connect(m_ui->BtnRefresh, &QAbstractButton::clicked, this, &LoginWnd::refreshQr);
    connect(m_ui->sendmsgcodebtn, &QAbstractButton::clicked, this, [this] { sendCode(kBindPhonePage); });
    connect(m_ui->sendmsgcodebtn1, &QAbstractButton::clicked, this, [this] { sendCode(kSmsLoginPage); });
    connect(m_ui->okbtn, &QAbstractButton::clicked, this, [this] { confirmCode(kBindPhonePage); });
    connect(m_ui->okbtn1, &QAbstractButton::clicked, this, [this] { confirmCode(kSmsLoginPage); });
    connect(m_ui->msgcodeedit, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.size() == 4)
            confirmCode(kBindPhonePage);
    });
    connect(m_ui->msgcodeedit1, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.size() == 4)
            confirmCode(kSmsLoginPage);
    });
    connect(m_ui->log_signinbtn, &QAbstractButton::clicked, this, &LoginWnd::signIn);
    connect(m_ui->reg_signupbtn, &QAbstractButton::clicked, this, &LoginWnd::signUp);
    connect(m_ui->jumptosignupbtn, &QAbstractButton::clicked, this, [this] {
        m_ui->offshore_logwaytab->setCurrentIndex(0);
        m_ui->tabopt1->setChecked(true);
    });
    connect(m_ui->tabopt1, &QAbstractButton::toggled, this, [this](bool on) {
        if (on)
            onPageOption(1);
    });
    connect(m_ui->tabopt2, &QAbstractButton::toggled, this, [this](bool on) {
        if (on)
            onPageOption(2);
    });
}

void LoginWnd::initWindow()
{
    User* user = User::current();
    m_chinese = !user || user->getLanguage() == Glossary::CHINESE;
    applyLanguage();
    m_ui->chinese_logwaytab->setVisible(m_chinese);
    m_ui->offshore_logwaytab->setVisible(!m_chinese);
    m_ui->BtnRefresh->setVisible(m_chinese);
    m_ui->chinese_logwaytab->setCurrentIndex(0);
    m_ui->offshore_logwaytab->setCurrentIndex(0);
    m_ui->tabopt1->setChecked(true);
    setMarkup(m_ui->qrcodepromptlbl, windowText(TextId::FetchingQrLink));
    m_action = std::make_shared<LoginWndAction>(seamHandle(), m_owner);
    if (m_chinese)
        refreshQr();
    m_ui->titlelbl->setText(windowText(TextId::LoginTitle));
    m_ui->welcomelbl->setText(windowText(TextId::LoginWelcome));
    setButtonMarkup(m_ui->sendmsgcodebtn, windowText(TextId::SendCode));
    setButtonMarkup(m_ui->sendmsgcodebtn1, windowText(TextId::SendCode));
}

// Option texts are the code's in both languages; the rest of the form follows the translations.
void LoginWnd::applyLanguage()
{
    m_ui->tabopt1->setText(toQt(Glossary::textIn(m_chinese ? Glossary::CHINESE : Glossary::ENGLSH, Glossary::TextRequest(TextId::QrTab))));
    m_ui->tabopt2->setText(toQt(Glossary::textIn(m_chinese ? Glossary::CHINESE : Glossary::ENGLSH, Glossary::TextRequest(TextId::SmsTab))));
}

void LoginWnd::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_ui->retranslateUi(this);
        applyLanguage();
        m_ui->titlelbl->setText(windowText(TextId::LoginTitle));
        m_ui->welcomelbl->setText(windowText(TextId::LoginWelcome));
    }
    FramelessDialog::changeEvent(event);
}

bool LoginWnd::event(QEvent* event)
{
    return dispatchSeamEvent(event) || FramelessDialog::event(event);
}

void LoginWnd::done(int result)
{
    for (QTimer* timer : {&m_qrTimer, &m_smsResendTimer, &m_bindResendTimer})
        timer->stop();
    if (m_action)
        m_action->detach();
    FramelessDialog::done(result);
}

bool LoginWnd::validPhone(const QString& phone)
{
    static const QRegularExpression pattern(QStringLiteral("^(?:1[3-9])[0-9]{9}$"));
    return pattern.match(phone).hasMatch();
}

bool LoginWnd::validCode(const QString& code)
{
    return code.size() == 4;
}

void LoginWnd::refreshQr()
{
    m_qrTimer.stop();
    m_ui->qrcodepng->clear();
    m_qrPath.clear();
    setQrVeil(false);
    m_ui->refreshbtn->hide();
    setMarkup(m_ui->qrcodepromptlbl, windowText(TextId::FetchingQrLink));
    if (User* user = User::current())
        user->SendRequest(RequestId::GetCode, m_action);
}

void LoginWnd::showQrImage(const QString& path)
{
    m_qrPath = path;
    setQrVeil(false);
    setMarkup(m_ui->qrcodepromptlbl, red(windowText(TextId::ScanQr)));
    m_qrSeconds = kQrSeconds;
    m_qrTimer.start(m_tickMs);
}

// The picture with a veil of the given colour painted over it (transparent while valid, a light
// grey once expired).
void LoginWnd::setQrVeil(bool veiled)
{
    const QColor veil = veiled ? kExpiredVeil : kClearVeil;
    m_ui->qrcodepng->setProperty("forecolor", veil.name(QColor::HexArgb));
    QPixmap picture(m_qrPath);
    if (picture.isNull()) {
        m_ui->qrcodepng->clear();
        return;
    }
    picture = picture.scaled(m_ui->qrcodepng->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (veiled) {
        QPainter painter(&picture);
        painter.fillRect(picture.rect(), veil);
    }
    m_ui->qrcodepng->setPixmap(picture);
}

void LoginWnd::onQrTick()
{
    if (--m_qrSeconds > 0) {
        setMarkup(m_ui->qrcodepromptlbl, windowText(TextId::QrSecondsLeft, QString::number(m_qrSeconds)));
        m_ui->refreshbtn->hide();
        if (g_pollOnNextTick) {
            g_pollOnNextTick = false;
            if (User* user = User::current())
                user->SendRequest(RequestId::Polling, m_action);
        } else {
            g_pollOnNextTick = true;
        }
        return;
    }
    setMarkup(m_ui->qrcodepromptlbl, red(windowText(TextId::QrExpired)));
    m_qrTimer.stop();
    m_ui->refreshbtn->show();
    setQrVeil(true);
}

void LoginWnd::sendCode(int page)
{
    const QString phone = phoneEdit(page)->text();
    if (!validPhone(phone)) {
        setMarkup(promptLabel(page), red(windowText(TextId::WrongPhone)));
        return;
    }
    sendButton(page)->setEnabled(false);
    User* user = User::current();
    if (!user)
        return;
    user->setPhone(toAnsi(phone));
    m_action->setPage(page);
    user->SendRequest(RequestId::GetSmsCode, m_action);
}

void LoginWnd::startCodeCountdown(int page)
{
    if (page != kBindPhonePage && page != kSmsLoginPage)
        return;
    bool& shortWait = g_nextWaitShort[page];
    resendSeconds(page) = shortWait ? 60 : 120;
    shortWait = !shortWait;
    resendTimer(page).start(m_tickMs);
}

void LoginWnd::onResendTick(int page)
{
    int& seconds = resendSeconds(page);
    QAbstractButton* button = sendButton(page);
    if (--seconds > 0) {
        button->setEnabled(false);
        setButtonMarkup(button, windowText(TextId::ResendIn, QString::number(seconds)));
        return;
    }
    resendTimer(page).stop();
    button->setEnabled(true);
    setButtonMarkup(button, windowText(TextId::Resend));
}

void LoginWnd::confirmCode(int page)
{
    const QString phone = phoneEdit(page)->text();
    const QString code = codeEdit(page)->text();
    if (!validPhone(phone) || !validCode(code)) {
        setMarkup(promptLabel(page), red(windowText(TextId::WrongPhoneOrCode)));
        return;
    }
    User* user = User::current();
    if (!user)
        return;
    user->setPhone(toAnsi(phone));
    user->setVerifyCode(toAnsi(code));
    m_action->setPage(page);
    user->SendRequest(page == kSmsLoginPage ? RequestId::CheckSmsCodeLogin : RequestId::CheckSmsCodeBind,
                      m_action);
}

void LoginWnd::signIn()
{
    const QString email = m_ui->log_emailedit->text();
    const QString password = m_ui->log_passwordedit->text();
    const QString problem =
        accountFormProblem({{email, TextId::NicknameField}, {password, TextId::PasswordField}}, email, password);
    if (!problem.isEmpty())
        return setMarkup(m_ui->log_signin_promptlbl, problem);
    if (User* user = User::current()) {
        user->setLoginEmail(queryValue(email));
        user->setLoginPassword(queryValue(password));
        user->SendRequest(RequestId::UserLogin, m_action);
    }
}

void LoginWnd::signUp()
{
    const QString email = m_ui->reg_emailedit->text();
    const QString password = m_ui->reg_passwordedit->text();
    const QString repeated = m_ui->reg_repasswordedit->text();
    QLabel* prompt = m_ui->reg_signup_promptlbl;
    const QString problem = accountFormProblem(
        {{repeated, TextId::ConfirmPasswordField}, {email, TextId::EmailField}, {password, TextId::PasswordField}},
        email, password);
    if (!problem.isEmpty())
        return setMarkup(prompt, problem);
    if (password != repeated)
        return setMarkup(prompt, red(windowText(TextId::InconsistentPassword)));
    User* user = User::current();
    if (!user)
        return;
    user->setRegisterEmail(queryValue(email));
    user->setRegisterPassword(queryValue(password));
    user->SendRequest(RequestId::UserRegister, m_action);
    setMarkup(prompt, red(windowText(TextId::SigningUp)));
}

void LoginWnd::onSignUpReply(std::unique_ptr<MessagePayload> payload)
{
    auto* reply = dynamic_cast<JsonPayload*>(payload.get());
    if (!reply)
        return;
    QLabel* prompt = m_ui->reg_signup_promptlbl;
    std::string userId;
    std::string openKey;
    try {
        const Json::Value& root = reply->value;
        if (!root["success"].asBool())
            return setMarkup(prompt, red(windowText(TextId::SystemError)));
        const Json::Value& result = root["result"];
        if (!result["status"].asBool())
            return setMarkup(prompt, red(toQt(Utils::ansiToWide(result["error_msg"].asString()))));
        userId = result["user_id"].asString();
        openKey = result["open_key"].asString();
        if (root["check_mail"].asBool())
            CMessageWnd::showMessage(this, windowText(TextId::Warning), windowText(TextId::ConfirmEmail),
                                     CMessageWnd::ConfirmOnly);
    } catch (const Json::Exception&) {
        // A reply of the wrong shape is the transport failure it stands for.
        return onTransportError();
    }
    finishSignIn(userId, openKey);
}

void LoginWnd::finishSignIn(const std::string& userId, const std::string& openKey)
{
    if (User* user = User::current()) {
        user->setUserId(userId);
        user->setOpenKey(openKey);
    }
    MessageSink::current().post(m_owner, WM_USER_REFRESH, 0, nullptr);
    done(1);
}

void LoginWnd::onPageOption(int option)
{
    if (m_chinese)
        m_ui->chinese_logwaytab->setCurrentIndex(option == 1 ? 0 : 2);
    else
        m_ui->offshore_logwaytab->setCurrentIndex(option == 1 ? 0 : 1);
}

// A QR account without a phone, when the service asks for bound phones: the binding page,
// which the user may skip.
void LoginWnd::showOnlyBindPage()
{
    m_ui->tabbar->hide();
    m_ui->BtnRefresh->hide();
    m_ui->chinese_logwaytab->setCurrentIndex(kBindPhonePage);
    m_ui->phonenumberedit->setFocus();
}

std::intptr_t LoginWnd::handleSeamMessage(int message, std::intptr_t wParam,
                                          std::unique_ptr<MessagePayload> payload)
{
    if (!isVisible() || (m_action && m_action->detached()))
        return 0; // closed: a late message changes nothing (its payload is freed here)
    switch (message) {
    case WM_UI_NOTIFY:
        onUiNotify(static_cast<int>(wParam), std::move(payload));
        break;
    case WM_CODE_COUNTDOWN:
        startCodeCountdown(static_cast<int>(wParam));
        break;
    case WM_STOP_TIMER:
        if (QTimer* timer = countdown(static_cast<int>(wParam)))
            timer->stop();
        break;
    case WM_CLOSE:
        done(1);
        break;
    default:
        break;
    }
    return 0;
}

void LoginWnd::onUiNotify(int subCode, std::unique_ptr<MessagePayload> payload)
{
    const auto number = [&]() -> std::intptr_t {
        auto* n = dynamic_cast<NotifyNumber*>(payload.get());
        return n ? n->value : 0;
    };
    const auto codeMessage = [&]() -> const CodeMessage* {
        return dynamic_cast<CodeMessage*>(payload.get());
    };
    switch (subCode) {
    case Notify::QrImage:
        if (auto* path = dynamic_cast<WidePathPayload*>(payload.get()))
            showQrImage(toQt(path->path));
        break;
    case LoginNotify::QrLink:
        setMarkup(m_ui->qrcodepromptlbl, number() == 1 ? red(windowText(TextId::DownloadingQr))
                                                       : red(windowText(TextId::QrRefused)));
        break;
    case LoginNotify::PollingStatus:
        setMarkup(m_ui->qrcodepromptlbl, red(windowText(TextId::PollingStatusError)));
        break;
    case LoginNotify::PollingFailed:
        setMarkup(m_ui->qrcodepromptlbl, red(windowText(TextId::PollingError)));
        break;
    case LoginNotify::CodeSent:
        if (QLabel* label = promptLabel(static_cast<int>(number())))
            setMarkup(label, red(windowText(TextId::CodeRequested)));
        break;
    case LoginNotify::CheckRefused:
        if (const CodeMessage* m = codeMessage(); m && promptLabel(m->page))
            setMarkup(promptLabel(m->page), red(toQt(m->message)));
        break;
    case LoginNotify::SendRefused:
        if (const CodeMessage* m = codeMessage(); m && promptLabel(m->page)) {
            setMarkup(promptLabel(m->page), red(toQt(m->message)));
            sendButton(m->page)->setEnabled(true);
        }
        break;
    case LoginNotify::CheckFailed:
        if (QLabel* label = promptLabel(static_cast<int>(number())))
            setMarkup(label, red(windowText(TextId::CodeRequestFailed)));
        break;
    case Notify::RequestError:
    case Notify::ParseError:
    case Notify::JsonError:
        onTransportError();
        break;
    case LoginNotify::SendFailed:
        setMarkup(m_ui->smsloginpromptlbl, red(windowText(TextId::CodeServerError)));
        break;
    case LoginNotify::SignedInNoPhone: {
        User* user = User::current();
        if (user && user->getBindPhone())
            showOnlyBindPage();
        else
            done(1);
        break;
    }
    case LoginNotify::SignUpReply:
        onSignUpReply(std::move(payload));
        break;
    case LoginNotify::SignInRefused:
        setMarkup(m_ui->log_signin_promptlbl, red(windowText(TextId::AccountMismatch)));
        break;
    default:
        break;
    }
}

// The failure may belong to a code request: its send button comes back unless a resend
// countdown holds it, so the user can try again.
void LoginWnd::onTransportError()
{
    if (m_chinese) {
        for (QLabel* label : {m_ui->qrcodepromptlbl, m_ui->bindphonepromptlbl, m_ui->smsloginpromptlbl})
            setMarkup(label, windowText(TextId::NetworkErrorChinese));
        if (!isTimerActive(kBindResendTimer))
            m_ui->sendmsgcodebtn->setEnabled(true);
        if (!isTimerActive(kSmsResendTimer))
            m_ui->sendmsgcodebtn1->setEnabled(true);
    } else {
        for (QLabel* label : {m_ui->reg_signup_promptlbl, m_ui->log_signin_promptlbl})
            setMarkup(label, windowText(TextId::NetworkErrorEnglish));
    }
}

QTimer* LoginWnd::countdown(int id)
{
    switch (id) {
    case kQrTimer:
        return &m_qrTimer;
    case kSmsResendTimer:
        return &m_smsResendTimer;
    case kBindResendTimer:
        return &m_bindResendTimer;
    default:
        return nullptr;
    }
}

QTimer& LoginWnd::resendTimer(int page)
{
    return page == kBindPhonePage ? m_bindResendTimer : m_smsResendTimer;
}

bool LoginWnd::isTimerActive(int id) const
{
    const QTimer* timer = const_cast<LoginWnd*>(this)->countdown(id);
    return timer && timer->isActive();
}

QLineEdit* LoginWnd::phoneEdit(int page) const
{
    return page == kBindPhonePage ? m_ui->phonenumberedit : m_ui->phonenumberedit1;
}

QLineEdit* LoginWnd::codeEdit(int page) const
{
    return page == kBindPhonePage ? m_ui->msgcodeedit : m_ui->msgcodeedit1;
}

QAbstractButton* LoginWnd::sendButton(int page) const
{
    return page == kBindPhonePage ? m_ui->sendmsgcodebtn : m_ui->sendmsgcodebtn1;
}

QLabel* LoginWnd::promptLabel(int page) const
{
    if (page == kBindPhonePage)
        return m_ui->bindphonepromptlbl;
    if (page == kSmsLoginPage)
        return m_ui->smsloginpromptlbl;
    return nullptr;
}
