#include "gui/feedback/SuggestionWnd.h"

#include "ui_SuggestionWnd.h"

#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "core/common/Utils.h"
#include "core/network/CommonWndUserAction.h"
#include "core/user/FeedbackContact.h"
#include "core/user/RequestId.h"
#include "core/user/User.h"
#include "gui/common/QtText.h"
#include "gui/dialogs/CMessageWnd.h"

#include <QPushButton>

namespace {

int language()
{
    return Glossary::currentLanguage() == Glossary::ENGLSH ? Glossary::ENGLSH : Glossary::CHINESE;
}

} // namespace

SuggestionWnd::SuggestionWnd(QWidget* owner)
    : FramelessDialog(owner), SeamWindow(this), m_ui(std::make_unique<Ui::SuggestionWnd>())
{
    setObjectName(QString::fromLatin1(kWindowClassName));
    m_ui->setupUi(this);
    setFixedSize(kSize);
    setCaptionStrip(m_ui->Caption);
    setWindowTitle(m_ui->titlelbl->text());
    m_ui->ComboContact->setCurrentIndex(FeedbackContact::QQ);
    connect(m_ui->BtnClose, &QPushButton::clicked, this, [this] { done(Closed); });
    connect(m_ui->BtnSubmit, &QPushButton::clicked, this, &SuggestionWnd::submit);
}

SuggestionWnd::~SuggestionWnd() = default;

bool SuggestionWnd::event(QEvent* event)
{
    return dispatchSeamEvent(event) || FramelessDialog::event(event);
}

void SuggestionWnd::reject()
{
    done(Closed);
}

void SuggestionWnd::submit()
{
    const int kind = m_ui->ComboContact->currentIndex();
    const std::string contact = m_ui->EditNumber->text().toStdString();
    const QString prompt = toQt(Glossary::text(TextId::Prompt));
    if (!FeedbackContact::isValid(kind, contact)) {
        CMessageWnd::showMessage(this, prompt, toQt(Glossary::text(TextId::CorrectYour, FeedbackContact::name(kind, language()))), CMessageWnd::ConfirmOnly);
        return;
    }
    const QString detail = m_ui->EditDetail->toPlainText();
    if (detail.isEmpty()) { // only nothing at all is empty: a detail of spaces is sent
        CMessageWnd::showMessage(this, prompt, toQt(Glossary::text(TextId::PleaseEnter, FeedbackContact::suggestionName(language()))), CMessageWnd::ConfirmOnly);
        return;
    }
    CMessageWnd::showMessage(this, prompt, toQt(Glossary::text(TextId::SubmitSuccess)), CMessageWnd::ConfirmOnly);
    if (User* user = User::current()) {
        user->setFeedbackFields(FeedbackContact::key(kind), contact, detail.toStdString());
        user->SendRequest(RequestId::Feedback, std::make_shared<CommonWndUserAction>(seamHandle()));
    }
    done(Sent);
}
