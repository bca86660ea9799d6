// PasswordWnd: the password prompt that decrypts at once against the
// real qpdf on generated PDFs.

#include "ModalDriver.h"

#include "core/app/Glossary.h"
#include "core/common/Utils.h"
#include "core/converter/PrivateTempFolder.h"
#include "core/converter/ProcessSlot.h"
#include "gui/dialogs/PasswordWnd.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const char* const kPassword = "pass word";

class PasswordPrompt : public ::testing::Test {
protected:
    void SetUp() override
    {
        Glossary::setCurrentLanguage(Glossary::ENGLSH);
        PdfFactory::write(m_dir.file("plain.pdf"), 3);
        ASSERT_TRUE(PdfFactory::encrypt(m_dir.file("plain.pdf"), m_dir.file("locked.pdf"), kPassword));
    }
    void TearDown() override { Glossary::setCurrentLanguage(Glossary::CHINESE); }

    std::wstring lockedPath() const { return m_dir.wide("locked.pdf"); }

    TempDir m_dir;
};

template <class T> T* child(QWidget* window, const char* name)
{
    auto* found = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

struct WarningState {
    bool rowShown = false;
    bool placeholderShown = false;
    QString text;
};

WarningState warningOf(QWidget* window)
{
    return {child<QWidget>(window, "pwdwarninglot")->isVisible(),
            child<QWidget>(window, "pwdwarningplcholder")->isVisible(),
            child<QLabel>(window, "passworderrorlbl")->text()};
}

void tryPassword(QWidget* window, const QString& password)
{
    child<QLineEdit>(window, "passwordEdit")->setText(password);
    child<QPushButton>(window, "okbtn")->click();
}

} // namespace

TEST_F(PasswordPrompt, StartsWithoutWarningAndNamesTheFile)
{
    std::wstring output;
    PasswordWnd prompt(output, nullptr);
    prompt.setFilePath(lockedPath());
    prompt.show();
    const WarningState warning = warningOf(&prompt);
    EXPECT_FALSE(warning.rowShown);
    EXPECT_TRUE(warning.placeholderShown);
    EXPECT_EQ(child<QLineEdit>(&prompt, "passwordEdit")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(child<QLabel>(&prompt, "promptLbl")->text(), QStringLiteral("Enter locked.pdf Password"));
    EXPECT_EQ(child<QLabel>(&prompt, "apptitle")->text(), QStringLiteral("PDF password"));
    EXPECT_EQ(child<QLabel>(&prompt, "encryptionlbl")->text(), QStringLiteral("PDF is encrypted"));
    EXPECT_EQ(child<QPushButton>(&prompt, "cancelbtn")->text(), QStringLiteral("Cancle"));
    EXPECT_EQ(child<QPushButton>(&prompt, "okbtn")->text(), QStringLiteral("OK"));
    EXPECT_EQ(prompt.size(), QSize(370, 233));
    EXPECT_EQ(prompt.minimumSize(), prompt.maximumSize());
    prompt.close();
}

TEST_F(PasswordPrompt, ChineseTexts)
{
    Glossary::setCurrentLanguage(Glossary::CHINESE);
    ChineseLayoutTexts chinese;
    ASSERT_TRUE(chinese.loaded());
    std::wstring output;
    PasswordWnd prompt(output, nullptr);
    prompt.setFilePath(lockedPath());
    EXPECT_EQ(child<QLabel>(&prompt, "promptLbl")->text(), QStringLiteral("输入 locked.pdf 密码"));
    EXPECT_EQ(child<QLabel>(&prompt, "apptitle")->text(), QStringLiteral("解除密码"));
    EXPECT_EQ(child<QLabel>(&prompt, "encryptionlbl")->text(), QStringLiteral("pdf已加密"));
    EXPECT_EQ(child<QPushButton>(&prompt, "cancelbtn")->text(), QStringLiteral("取消"));
    EXPECT_EQ(child<QPushButton>(&prompt, "okbtn")->text(), QStringLiteral("确定"));
    prompt.show();
    tryPassword(&prompt, QString());
    EXPECT_EQ(warningOf(&prompt).text, QStringLiteral("请输入密码"));
    prompt.close();
}

TEST_F(PasswordPrompt, EmptyPasswordWarnsAndDoesNotDecrypt)
{
    std::wstring output;
    Converter::ProcessSlot slot;
    PasswordWnd prompt(output, &slot);
    prompt.setFilePath(lockedPath());
    WarningState warning;
    bool stillOpen = false;
    whenModal([&](QDialog* window) {
        tryPassword(window, QString());
        warning = warningOf(window);
        stillOpen = window->isVisible();
        child<QPushButton>(window, "cancelbtn")->click();
    });
    EXPECT_EQ(prompt.showModal(), 0);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(warning.rowShown);
    EXPECT_FALSE(warning.placeholderShown);
    EXPECT_EQ(warning.text, QStringLiteral("Please Enter Password"));
    EXPECT_TRUE(output.empty()) << "no decrypt was tried";
}

TEST_F(PasswordPrompt, ThreeWrongPasswordsThenTheRightOneSucceed)
{
    std::wstring output;
    Converter::ProcessSlot slot;
    PasswordWnd prompt(output, &slot);
    prompt.setFilePath(lockedPath());
    std::vector<WarningState> warnings;
    std::vector<bool> okEnabledAfter;
    whenModal([&](QDialog* window) {
        for (const char* wrong : {"password", "pass", "pass  word"}) {
            tryPassword(window, QString::fromLatin1(wrong));
            warnings.push_back(warningOf(window));
            okEnabledAfter.push_back(child<QPushButton>(window, "okbtn")->isEnabled());
            EXPECT_TRUE(window->isVisible());
            EXPECT_TRUE(output.empty()) << "a failed attempt leaves the caller's path alone";
        }
        tryPassword(window, QString::fromLatin1(kPassword));
    });
    EXPECT_EQ(prompt.showModal(), 1);
    ASSERT_EQ(warnings.size(), 3u);
    for (const WarningState& warning : warnings) {
        EXPECT_TRUE(warning.rowShown);
        EXPECT_FALSE(warning.placeholderShown);
        EXPECT_EQ(warning.text, QStringLiteral("Password Error"));
    }
    EXPECT_EQ(okEnabledAfter, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(slot.current(), 0) << "no qpdf is left running";

    ASSERT_FALSE(output.empty());
    const std::filesystem::path copy = Utils::toFsPath(output);
    EXPECT_TRUE(std::filesystem::exists(copy));
    EXPECT_TRUE(Converter::PrivateTempFolder::instance().contains(output));
    EXPECT_EQ(copy.filename(), "locked.pdf");
    EXPECT_FALSE(PdfFactory::isEncrypted(copy));
    EXPECT_EQ(PdfFactory::pageNumbers(copy), (std::vector<int>{1, 2, 3}));
    Converter::PrivateTempFolder::instance().removeCopy(output);
}

TEST_F(PasswordPrompt, ACallersOutputPathIsWhereTheCopyGoes)
{
    std::wstring output = m_dir.wide("opened.pdf");
    const std::wstring requested = output;
    PasswordWnd prompt(output, nullptr);
    prompt.setFilePath(lockedPath());
    whenModal([&](QDialog* window) {
        tryPassword(window, QStringLiteral("wrong"));
        EXPECT_EQ(output, requested);
        EXPECT_FALSE(std::filesystem::exists(m_dir.file("opened.pdf")));
        // Enter in the password box presses OK.
        child<QLineEdit>(window, "passwordEdit")->setText(QString::fromLatin1(kPassword));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(child<QLineEdit>(window, "passwordEdit"), &enter);
    });
    EXPECT_EQ(prompt.showModal(), 1);
    EXPECT_EQ(output, requested);
    EXPECT_EQ(PdfFactory::pageNumbers(m_dir.file("opened.pdf")), (std::vector<int>{1, 2, 3}));
}

TEST_F(PasswordPrompt, CancelCloseAndEscapeGiveUp)
{
    for (const char* how : {"cancelbtn", "closebtn", "escape", "window"}) {
        std::wstring output;
        PasswordWnd prompt(output, nullptr);
        prompt.setFilePath(lockedPath());
        const std::string way = how;
        whenModal([&](QDialog* window) {
            if (way == "escape") {
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(window, &escape);
            } else if (way == "window") {
                window->close();
            } else {
                child<QPushButton>(window, how)->click();
            }
        });
        EXPECT_EQ(prompt.showModal(), 0) << how;
        EXPECT_TRUE(output.empty()) << how;
    }
}

TEST_F(PasswordPrompt, ALongFileNameIsShortenedNotCut)
{
    std::wstring output;
    PasswordWnd prompt(output, nullptr);
    const std::wstring name = L"a-very-long-file-name-that-goes-on-and-on-and-on-and-on-2024.pdf";
    prompt.setFilePath(L"/some/folder/" + name);
    prompt.show();
    QApplication::processEvents();
    QLabel* label = child<QLabel>(&prompt, "promptLbl");
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width())
        << label->text().toStdString();
    EXPECT_TRUE(label->text().startsWith(QStringLiteral("Enter a-very")));
    EXPECT_TRUE(label->text().endsWith(QStringLiteral("2024.pdf Password")));
    EXPECT_EQ(label->toolTip(), QStringLiteral("Enter ") + QString::fromStdWString(name) +
                                    QStringLiteral(" Password"));
    prompt.close();
}

TEST_F(PasswordPrompt, WhileQpdfRunsTheControlsAreDisabledAndTheCursorIsBusy)
{
    std::wstring output;
    PasswordWnd prompt(output, nullptr);
    prompt.setFilePath(lockedPath());
    bool sawRun = false;
    bool okEnabled = true;
    bool cancelEnabled = true;
    bool busyCursor = false;
    int escapeResult = -1;
    whenModal([&](QDialog* window) {
        auto* ok = child<QPushButton>(window, "okbtn");
        // Runs inside the wait for qpdf: posted before the click, handled before qpdf's end.
        QTimer::singleShot(0, window, [&, window, ok] {
            sawRun = true;
            okEnabled = ok->isEnabled();
            cancelEnabled = child<QPushButton>(window, "cancelbtn")->isEnabled();
            busyCursor = QApplication::overrideCursor() &&
                         QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            // Escape is refused while qpdf runs.
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(window, &escape);
            escapeResult = window->isVisible() ? -1 : window->result();
        });
        tryPassword(window, QStringLiteral("wrong"));
        EXPECT_TRUE(ok->isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        child<QPushButton>(window, "cancelbtn")->click();
    });
    EXPECT_EQ(prompt.showModal(), 0);
    EXPECT_TRUE(sawRun);
    EXPECT_FALSE(okEnabled);
    EXPECT_FALSE(cancelEnabled);
    EXPECT_TRUE(busyCursor);
    EXPECT_EQ(escapeResult, -1) << "the prompt stayed open";
}
