// The feedback window against the stand-in service: every contact kind arrives with the
// detail, bad contacts and empty details are refused with their texts in both languages, and
// the window closes without waiting for the reply.

#include "ApiClient.h"
#include "core/app/Glossary.h"
#include "core/network/RequestRunner.h"
#include "core/user/User.h"
#include "gui/MessageBoxAnswers.h"
#include "gui/ServiceUser.h"
#include "gui/common/LanguageManager.h"
#include "gui/feedback/SuggestionWnd.h"
#include "gui/seam/QtMessageSink.h"
#include "support/ServiceProcess.h"
#include "support/TempDir.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace {

class FeedbackWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        user = startServiceUser(dir, service);
        useLanguage(Glossary::CHINESE);
    }
    void TearDown() override
    {
        boxes.stop();
        Network::RequestRunner::instance().shutdown();
        LanguageManager::instance().apply(Glossary::CHINESE);
    }
    void useLanguage(Glossary::Language language)
    {
        user->setLanguage(language);
        LanguageManager::instance().apply(language);
    }
    // Fills the window and submits; returns what the box said.
    SeenBox submit(SuggestionWnd& window, int kind, const QString& contact, const QString& detail)
    {
        window.findChild<QComboBox*>(QStringLiteral("ComboContact"))->setCurrentIndex(kind);
        window.findChild<QLineEdit*>(QStringLiteral("EditNumber"))->setText(contact);
        window.findChild<QTextEdit*>(QStringLiteral("EditDetail"))->setPlainText(detail);
        SeenBox box;
        boxes.answerNext(QStringLiteral("BtnConfirm"), &box);
        window.findChild<QPushButton*>(QStringLiteral("BtnSubmit"))->click();
        return box;
    }
    Json::Value feedbackWhenSettled()
    {
        Network::RequestRunner::instance().waitForAll();
        return api.list("feedback");
    }

    TempDir dir;
    ServiceProcess service;
    ApiClient api{service};
    std::unique_ptr<User> user;
    MessageBoxAnswers boxes;
};

} // namespace

TEST_F(FeedbackWindowTest, EveryContactKindReachesTheServiceAndTheWindowCloses)
{
    struct Case {
        int kind;
        QString contact;
        std::string key;
    };
    const Case cases[] = {{0, QStringLiteral("123456789"), "qq"},
                          {1, QStringLiteral("john.smith@example.com"), "email"},
                          {2, QStringLiteral("13812345678"), "phone"}};
    for (const Case& c : cases) {
        SuggestionWnd window;
        window.show();
        const QString detail = QStringLiteral("合并后书签丢失 & 100% 慢\n第二行 %1").arg(c.kind);
        const SeenBox box = submit(window, c.kind, c.contact, detail);
        EXPECT_EQ(box.text, QStringLiteral("提交成功"));
        EXPECT_EQ(window.result(), SuggestionWnd::Sent);
        EXPECT_FALSE(window.isVisible());
    }
    const Json::Value received = feedbackWhenSettled();
    ASSERT_EQ(received.size(), 3u) << received;
    for (Json::ArrayIndex i = 0; i < 3; ++i) {
        EXPECT_EQ(received[i]["key"].asString(), cases[i].key);
        EXPECT_EQ(received[i]["value"].asString(), cases[i].contact.toStdString());
        EXPECT_EQ(received[i]["content"].asString(),
                  QStringLiteral("合并后书签丢失 & 100% 慢\n第二行 %1").arg(cases[i].kind).toStdString());
        EXPECT_FALSE(received[i]["version"].asString().empty());
    }
}

TEST_F(FeedbackWindowTest, BadContactsAndEmptyDetailsAreRefusedAndTheWindowStaysOpen)
{
    SuggestionWnd window;
    window.show();
    EXPECT_EQ(window.size(), SuggestionWnd::kSize);
    EXPECT_EQ(window.findChild<QComboBox*>(QStringLiteral("ComboContact"))->currentIndex(), 0);
    const struct {
        int kind;
        QString contact;
        QString text;
    } bad[] = {{0, QStringLiteral("01234"), QStringLiteral("请输入正确的QQ号")},
               {0, QString(), QStringLiteral("请输入正确的QQ号")},
               {1, QStringLiteral("john.a.smith@example.com"), QStringLiteral("请输入正确的邮箱号")},
               {1, QStringLiteral("john-smith@example.com"), QStringLiteral("请输入正确的邮箱号")},
               {2, QStringLiteral("12012345678"), QStringLiteral("请输入正确的手机号")},
               {2, QString(), QStringLiteral("请输入正确的手机号")}};
    for (const auto& b : bad) {
        const SeenBox box = submit(window, b.kind, b.contact, QStringLiteral("detail"));
        EXPECT_EQ(box.text, b.text) << b.contact.toStdString();
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.findChild<QLineEdit*>(QStringLiteral("EditNumber"))->text(), b.contact);
    }
    const SeenBox box = submit(window, 1, QStringLiteral("a@b.cn"), QString());
    EXPECT_EQ(box.text, QStringLiteral("请输入建议"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(feedbackWhenSettled().size(), 0u);

    window.findChild<QPushButton*>(QStringLiteral("BtnClose"))->click();
    EXPECT_EQ(window.result(), SuggestionWnd::Closed);
    EXPECT_EQ(feedbackWhenSettled().size(), 0u);
}

TEST_F(FeedbackWindowTest, ADetailOfOnlySpacesIsNotEmptyAndIsSent)
{
    SuggestionWnd window;
    window.show();
    EXPECT_EQ(submit(window, 0, QStringLiteral("123456789"), QStringLiteral("   ")).text, QStringLiteral("提交成功"));
    EXPECT_EQ(window.result(), SuggestionWnd::Sent);
    const Json::Value received = feedbackWhenSettled();
    ASSERT_EQ(received.size(), 1u) << received;
    EXPECT_EQ(received[0]["content"].asString(), "   ");
}

TEST_F(FeedbackWindowTest, EnglishTextsOfTheWindowAndItsMessages)
{
    useLanguage(Glossary::ENGLSH);
    SuggestionWnd window;
    window.show();
    const auto label = [&](const char* name) { return window.findChild<QLabel*>(QString::fromLatin1(name))->text(); };
    EXPECT_EQ(label("titlelbl"), QStringLiteral("Feedback"));
    EXPECT_EQ(label("subtitlelbl"), QStringLiteral("Any Questions Or Suggestions: "));
    EXPECT_EQ(label("contactway"), QStringLiteral("Contact: "));
    auto* combo = window.findChild<QComboBox*>(QStringLiteral("ComboContact"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("E-mail"));
    EXPECT_EQ(window.findChild<QPushButton*>(QStringLiteral("BtnSubmit"))->text(), QStringLiteral("submit"));

    EXPECT_EQ(submit(window, 0, QStringLiteral("1234"), QStringLiteral("x")).text, QStringLiteral("Please Correct Your QQ"));
    EXPECT_EQ(submit(window, 1, QStringLiteral("a@b"), QStringLiteral("x")).text, QStringLiteral("Please Correct Your e - mail"));
    EXPECT_EQ(submit(window, 2, QStringLiteral("1381234567"), QStringLiteral("x")).text,
              QStringLiteral("Please Correct Your Microphone"));
    EXPECT_EQ(submit(window, 2, QStringLiteral("13812345678"), QString()).text, QStringLiteral("Please Enter Suggestion"));
    EXPECT_EQ(submit(window, 2, QStringLiteral("13812345678"), QStringLiteral("Works well")).text,
              QStringLiteral("Submit Success"));
    EXPECT_EQ(feedbackWhenSettled().size(), 1u);
}

TEST_F(FeedbackWindowTest, ChineseLayoutTexts)
{
    SuggestionWnd window;
    const auto label = [&](const char* name) { return window.findChild<QLabel*>(QString::fromLatin1(name))->text(); };
    EXPECT_EQ(label("titlelbl"), QStringLiteral("反馈建议"));
    EXPECT_EQ(label("subtitlelbl"), QStringLiteral("你有什么问题或建议对我们说："));
    EXPECT_EQ(label("contactway"), QStringLiteral("联系方式："));
    EXPECT_EQ(label("suggestion"), QStringLiteral("请留下你的联系方式，以方便我们快速定位问题原因。"));
    auto* combo = window.findChild<QComboBox*>(QStringLiteral("ComboContact"));
    EXPECT_EQ(combo->itemText(0), QStringLiteral("QQ"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("邮箱"));
    EXPECT_EQ(combo->itemText(2), QStringLiteral("电话"));
    EXPECT_EQ(window.findChild<QPushButton*>(QStringLiteral("BtnSubmit"))->text(), QStringLiteral("提交问题"));
}

// The form fills the fixed window in both languages: the lowest row ends at the frame's
// bottom margin, not above an empty band.
TEST_F(FeedbackWindowTest, TheFormReachesTheBottomOfTheWindowInBothLanguages)
{
    for (const Glossary::Language language : {Glossary::CHINESE, Glossary::ENGLSH}) {
        useLanguage(language);
        SuggestionWnd window;
        window.show();
        QApplication::processEvents();
        ASSERT_EQ(window.size(), SuggestionWnd::kSize);
        int lowest = 0;
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            if (widget->isVisible() && widget->objectName() != QLatin1String("Frame") &&
                widget->objectName() != QLatin1String("Body") && !widget->inherits("QComboBoxPrivateContainer"))
                lowest = std::max(lowest, widget->mapTo(&window, QPoint(0, widget->height())).y());
        }
        EXPECT_GE(lowest, window.height() - 20) << "language " << language;
        EXPECT_LE(lowest, window.height());
    }
}
