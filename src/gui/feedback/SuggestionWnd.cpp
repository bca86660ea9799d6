#include "feedback/SuggestionWnd.h"

#include "ui_Suggestion.h"

#include "actions/CommonWndUserAction.h"
#include "app/TextTable.h"
#include "common/QtText.h"
#include "common/Utils.h"
#include "dialogs/CMessageWnd.h"
#include "user/FeedbackContact.h"
#include "user/RequestId.h"
#include "user/User.h"

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
    setFixedSize(kWidth, kHeight);
    setCaptionStrip(m_ui->Caption);
    setWindowTitle(m_ui->titlelbl->text());
    m_ui->ComboContact->setCurrentIndex(FeedbackContact::QQ);
    connect(m_ui->BtnClose, &QPushButton::clicked, this, [this] { done(Closed); });
    connect(m_ui->BtnSubmit, &QPushButton::clicked, this, &SuggestionWnd::submit);
}

SuggestionWnd::~SuggestionWnd() = default;

bool SuggestionWnd::event(QEvent* event)
{
    if (dispatchSeamEvent(event))
        return true;
    return FramelessDialog::event(event);
}

void SuggestionWnd::reject()
{
    done(Closed);
}

void SuggestionWnd::submit()
{
    const int kind = m_ui->ComboContact->currentIndex();
    const std::string contact = m_ui->EditNumber->text().toStdString();
    const QString prompt = toQt(Glossary::text(6));
    if (!FeedbackContact::isValid(kind, contact)) {
        CMessageWnd::showMessage(this, prompt, toQt(Glossary::text(49, FeedbackContact::name(kind, language()))), 1);
        return;
    }
    const QString detail = m_ui->EditDetail->toPlainText();
    if (FeedbackContact::isBlank(fromQt(detail))) {
        CMessageWnd::showMessage(this, prompt, toQt(Glossary::text(50, FeedbackContact::suggestionName(language()))), 1);
        return;
    }
    CMessageWnd::showMessage(this, prompt, toQt(Glossary::text(51)), 1);
    if (User* user = User::current()) {
        user->setFeedbackFields(FeedbackContact::key(kind), contact, detail.toStdString());
        user->SendRequest(RequestId::Feedback, std::make_shared<CommonWndUserAction>(seamHandle()));
    }
    done(Sent);
}
