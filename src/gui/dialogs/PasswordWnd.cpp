#include "gui/dialogs/PasswordWnd.h"

#include "ui_PasswordWnd.h"

#include "core/app/Glossary.h"
#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "core/common/AlternateSignalStack.h"
#include "core/converter/PdfOperations.h"
#include "gui/common/QtText.h"

#include <QApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyle>

#include <thread>

namespace {

constexpr int kWidth = 370;
constexpr int kHeight = 233;

// The file name of a path: the text after its last separator.
QString fileNameOf(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L"/\\");
    return toQt(slash == std::wstring::npos ? path : path.substr(slash + 1));
}

} // namespace

PasswordWnd::PasswordWnd(std::wstring& outputPath, Converter::ProcessSlot* slot, QWidget* owner)
    : FramelessDialog(owner),
      m_ui(std::make_unique<Ui::PasswordWnd>()),
      m_outputPath(outputPath),
      m_slot(slot)
{
    m_ui->setupUi(this);
    setFixedSize(kWidth, kHeight);
    setCaptionStrip(m_ui->titlebarlbl);

    QIcon appIcon = QApplication::windowIcon();
    if (appIcon.isNull())
        appIcon = QIcon(QStringLiteral(":/KorvexRes/korvex-48.png"));
    if (!appIcon.isNull())
        m_ui->appicon->setPixmap(appIcon.pixmap(16, 16));
    else
        m_ui->appicon->hide();
    if (m_ui->warningctrl->pixmap().isNull())
        m_ui->warningctrl->setPixmap(
            style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(16, 16));

    m_ui->pwdwarninglot->hide();
    m_ui->pwdwarningplcholder->show();
    m_ui->passwordEdit->setFocus();

    connect(m_ui->okbtn, &QPushButton::clicked, this, &PasswordWnd::onOk);
    connect(m_ui->cancelbtn, &QPushButton::clicked, this, [this] { done(GaveUp); });
    connect(m_ui->closebtn, &QPushButton::clicked, this, [this] { done(GaveUp); });
}

PasswordWnd::~PasswordWnd() = default;

void PasswordWnd::setFilePath(const std::wstring& path)
{
    m_filePath = path;
    updatePrompt();
}

// "Enter %% Password" (text 56) with the file name; a name too long for the line is shortened
// in the middle, the whole name stays in the tooltip.
void PasswordWnd::updatePrompt()
{
    ensurePolished(); // the style sheet's font decides the width
    const QString name = fileNameOf(m_filePath);
    const QString full = toQt(Glossary::text(TextId::EnterPassword, fromQt(name)));
    const QMargins body = m_ui->bodyLayout->contentsMargins();
    const QMargins frame = m_ui->frameLayout->contentsMargins();
    const int room = kWidth - frame.left() - frame.right() - body.left() - body.right();
    const QFontMetrics metrics(m_ui->promptLbl->font());
    QString shown = full;
    if (metrics.horizontalAdvance(full) > room && !name.isEmpty()) {
        const QString around = toQt(Glossary::text(TextId::EnterPassword, L"\x2026"));
        const int nameRoom = room - metrics.horizontalAdvance(around) +
                             metrics.horizontalAdvance(QChar(0x2026));
        shown = toQt(Glossary::text(
            TextId::EnterPassword, fromQt(metrics.elidedText(name, Qt::ElideMiddle, qMax(nameRoom, 0)))));
    }
    m_ui->promptLbl->setText(shown);
    m_ui->promptLbl->setToolTip(shown == full ? QString() : full);
}

void PasswordWnd::onOk()
{
    if (m_decrypting)
        return;
    const QString typed = m_ui->passwordEdit->text();
    if (typed.isEmpty()) {
        showWarning(Warning::EmptyPassword);
        m_ui->passwordEdit->setFocus();
        return;
    }
    if (decrypt(fromQt(typed))) {
        done(Decrypted);
        return;
    }
    showWarning(Warning::WrongPassword);
    m_ui->passwordEdit->selectAll();
    m_ui->passwordEdit->setFocus();
}

// Runs qpdf on a thread of its own and waits for it here, with the prompt's controls disabled
// and a busy cursor, so the window keeps painting and no click lands while it runs.
bool PasswordWnd::decrypt(const std::wstring& password)
{
    const std::wstring requested = m_outputPath;
    const std::wstring input = m_filePath;
    Converter::ProcessSlot* const slot = m_slot;
    std::wstring output = requested;
    bool ok = false;

    setBusy(true);
    const QPointer<PasswordWnd> self(this);
    QEventLoop loop;
    std::thread worker = AlternateSignalStack::start([&loop, &ok, &output, input, password, slot] {
        ok = Converter::decryptPdf(input, output, password, slot);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    if (!self) {
        // The prompt went away while qpdf ran (its owner closed); nothing is left to update.
        QApplication::restoreOverrideCursor();
        return false;
    }
    setBusy(false);

    // A failed attempt leaves the caller's path as it was, so the next one starts afresh.
    m_outputPath = ok ? output : requested;
    return ok;
}

void PasswordWnd::setBusy(bool busy)
{
    m_decrypting = busy;
    const std::initializer_list<QWidget*> controls = {m_ui->okbtn, m_ui->cancelbtn, m_ui->closebtn,
                                                      m_ui->passwordEdit};
    for (QWidget* control : controls)
        control->setEnabled(!busy);
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void PasswordWnd::showWarning(Warning warning)
{
    m_warning = warning;
    const bool shown = warning != Warning::None;
    m_ui->pwdwarningplcholder->setVisible(!shown);
    m_ui->pwdwarninglot->setVisible(shown);
    updateWarningText();
}

void PasswordWnd::updateWarningText()
{
    switch (m_warning) {
    case Warning::None:
        m_ui->passworderrorlbl->clear();
        break;
    case Warning::EmptyPassword:
        m_ui->passworderrorlbl->setText(toQt(Glossary::text(
            TextId::PleaseEnter, Glossary::text(TextId::PasswordWord))));
        break;
    case Warning::WrongPassword:
        m_ui->passworderrorlbl->setText(toQt(Glossary::text(TextId::PasswordError)));
        break;
    }
}

void PasswordWnd::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_ui->retranslateUi(this);
        updatePrompt();
        updateWarningText();
    }
    FramelessDialog::changeEvent(event);
}

void PasswordWnd::reject()
{
    if (m_decrypting)
        return;
    done(GaveUp);
}
