#include "gui/dialogs/CMessageWnd.h"

#include "ui_CMessageWnd.h"

#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "gui/common/QtText.h"
#include "gui/common/RichText.h"

#include <QEvent>
#include <QPushButton>
#include <QStyle>

namespace {

constexpr int kWidth = 380;
constexpr int kHeight = 180;

// Markup as rich text; line breaks of the text stay line breaks.
QString richText(const QString& text)
{
    QString html = RichText::fromMarkup(text);
    html.replace(QStringLiteral("\r\n"), QStringLiteral("<br/>"));
    html.replace(QLatin1Char('\n'), QStringLiteral("<br/>"));
    return html;
}

} // namespace

int CMessageWnd::showMessage(QWidget* owner, const QString& title, const QString& text, int type)
{
    CMessageWnd box(owner);
    box.setType(type);
    box.setTitle(title);
    box.setText(text);
    box.useGlossaryButtonTexts();
    return box.showModal();
}

int CMessageWnd::showMessageWithButtons(QWidget* owner, const QString& title, const QString& text,
                                        const QString& confirmText, const QString& cancelText,
                                        int type)
{
    CMessageWnd box(owner);
    box.setType(type);
    box.setTitle(title);
    box.setText(text);
    box.setButtonTexts(confirmText, cancelText);
    return box.showModal();
}

CMessageWnd::CMessageWnd(QWidget* owner)
    : FramelessDialog(owner), m_ui(std::make_unique<Ui::CMessageWnd>())
{
    setObjectName(QStringLiteral("msgwnd"));
    m_ui->setupUi(this);
    setFixedSize(kWidth, kHeight);
    m_baseHeight = kHeight;
    setCaptionStrip(m_ui->MsgCaption);

    m_closeBtn = m_ui->closebtn;
    m_retryBtn = m_ui->BtnRetry;
    m_confirmBtn = m_ui->BtnConfirm;
    m_cancelBtn = m_ui->BtnCancel;

    if (m_ui->MsgBodyIcon->pixmap().isNull())
        m_ui->MsgBodyIcon->setPixmap(
            style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(40, 40));

    connect(m_confirmBtn, &QPushButton::clicked, this, [this] { done(Confirm); });
    connect(m_cancelBtn, &QPushButton::clicked, this, [this] { done(Cancel); });
    connect(m_retryBtn, &QPushButton::clicked, this, [this] { done(Retry); });
    connect(m_closeBtn, &QPushButton::clicked, this, [this] { done(Closed); });
    setWindowTitle(m_ui->MsgTitle->text());
}

CMessageWnd::~CMessageWnd() = default;

void CMessageWnd::setType(int type)
{
    // Which of Retry, Confirm and Cancel show; any other type keeps the form's layout.
    static const bool kShown[5][3] = {
        {false, true, true},   // 0
        {false, true, false},  // 1
        {false, false, true},  // 2
        {true, false, true},   // 3
        {false, false, false}, // 4
    };
    if (type >= 0 && type < 5) {
        m_retryBtn->setVisible(kShown[type][0]);
        m_confirmBtn->setVisible(kShown[type][1]);
        m_cancelBtn->setVisible(kShown[type][2]);
    }
    // Enter presses the first shown of Confirm, Retry, Cancel.
    QPushButton* preferred = !m_confirmBtn->isHidden() ? m_confirmBtn
                             : !m_retryBtn->isHidden() ? m_retryBtn
                                                       : m_cancelBtn;
    for (QPushButton* button : {m_retryBtn, m_confirmBtn, m_cancelBtn})
        button->setDefault(button == preferred && !button->isHidden());
}

void CMessageWnd::setTitle(const QString& title)
{
    m_title = title;
    applyTexts();
}

void CMessageWnd::setText(const QString& text)
{
    m_text = text;
    applyTexts();
}

void CMessageWnd::setButtonTexts(const QString& confirmText, const QString& cancelText)
{
    m_glossaryButtons = false;
    m_confirmText = confirmText;
    m_cancelText = cancelText;
    applyTexts();
}

void CMessageWnd::useGlossaryButtonTexts()
{
    m_glossaryButtons = true;
    applyTexts();
}

void CMessageWnd::applyTexts()
{
    if (m_glossaryButtons) {
        m_confirmText = toQt(Glossary::text(TextId::Ok));
        m_cancelText = toQt(Glossary::text(TextId::Cancel));
    }
    if (!m_title.isEmpty())
        m_ui->MsgTitle->setText(m_title);
    if (!m_text.isEmpty())
        m_ui->MsgText->setText(richText(m_text));
    if (!m_confirmText.isEmpty())
        m_confirmBtn->setText(m_confirmText);
    if (!m_cancelText.isEmpty())
        m_cancelBtn->setText(m_cancelText);
    m_ui->MsgTitle->setToolTip(m_ui->MsgTitle->text());
    setWindowTitle(m_ui->MsgTitle->text());
    fitTextHeight();
}

// The box keeps its width; a text too long for it makes it taller instead of being cut off.
void CMessageWnd::fitTextHeight()
{
    ensurePolished(); // the style sheet's fonts decide the text's height
    int height = kHeight;
    if (layout()->hasHeightForWidth())
        height = qMax(kHeight, layout()->heightForWidth(kWidth));
    if (height != m_baseHeight) {
        m_baseHeight = height;
        setFixedSize(kWidth, height);
    }
}

void CMessageWnd::showEvent(QShowEvent* event)
{
    fitTextHeight();
    FramelessDialog::showEvent(event);
}

void CMessageWnd::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_ui->retranslateUi(this);
        applyTexts();
    }
    FramelessDialog::changeEvent(event);
}

void CMessageWnd::reject()
{
    done(Closed);
}
