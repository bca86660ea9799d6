// CMessageWnd: the program's message box.

#include "ModalDriver.h"

#include "core/app/Glossary.h"
#include "gui/dialogs/CMessageWnd.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class MessageBox : public ::testing::Test {
protected:
    void SetUp() override { Glossary::setCurrentLanguage(Glossary::ENGLSH); }
    void TearDown() override { Glossary::setCurrentLanguage(Glossary::CHINESE); }
};

QPushButton* button(QWidget* box, const char* name)
{
    auto* found = box->findChild<QPushButton*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QLabel* label(QWidget* box, const char* name)
{
    auto* found = box->findChild<QLabel*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Which of Retry, Confirm, Cancel show in a box of the type while it runs.
std::vector<bool> shownButtons(int type)
{
    std::vector<bool> shown;
    whenModal([&](QDialog* box) {
        for (const char* name : {"BtnRetry", "BtnConfirm", "BtnCancel"})
            shown.push_back(button(box, name)->isVisible());
        button(box, "closebtn")->click();
    });
    EXPECT_EQ(CMessageWnd::showMessage(nullptr, QStringLiteral("Title"), QStringLiteral("Text"), type),
              CMessageWnd::Closed);
    return shown;
}

int clickIn(int type, const char* name)
{
    whenModal([name](QDialog* box) { button(box, name)->click(); });
    return CMessageWnd::showMessage(nullptr, QString(), QStringLiteral("Question?"), type);
}

} // namespace

TEST_F(MessageBox, TypesShowTheirButtons)
{
    using V = std::vector<bool>;
    EXPECT_EQ(shownButtons(0), (V{false, true, true}));
    EXPECT_EQ(shownButtons(1), (V{false, true, false}));
    EXPECT_EQ(shownButtons(2), (V{false, false, true}));
    EXPECT_EQ(shownButtons(3), (V{true, false, true}));
    EXPECT_EQ(shownButtons(4), (V{false, false, false}));
    // Any other type leaves the buttons as the form lays them out: all three.
    EXPECT_EQ(shownButtons(5), (V{true, true, true}));
    EXPECT_EQ(shownButtons(-1), (V{true, true, true}));
}

TEST_F(MessageBox, EachButtonReturnsItsCode)
{
    EXPECT_EQ(clickIn(0, "BtnConfirm"), 1);
    EXPECT_EQ(clickIn(0, "BtnCancel"), 0);
    EXPECT_EQ(clickIn(3, "BtnRetry"), 2);
    EXPECT_EQ(clickIn(0, "closebtn"), 3);
    EXPECT_EQ(clickIn(4, "closebtn"), 3);
}

TEST_F(MessageBox, EscapeAndClosingTheWindowCountAsClose)
{
    whenModal([](QDialog* box) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(box, &escape);
    });
    EXPECT_EQ(CMessageWnd::showMessage(nullptr, QString(), QStringLiteral("Esc"), 0), 3);

    whenModal([](QDialog* box) { box->close(); });
    EXPECT_EQ(CMessageWnd::showMessage(nullptr, QString(), QStringLiteral("Close"), 0), 3);
}

TEST_F(MessageBox, EnterPressesConfirm)
{
    whenModal([](QDialog* box) {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(box, &enter);
    });
    EXPECT_EQ(CMessageWnd::showMessage(nullptr, QString(), QStringLiteral("Enter"), 0), 1);
}

TEST_F(MessageBox, TitleAndTextAreShownAndEmptyOnesKeepTheForm)
{
    QString title;
    QString text;
    whenModal([&](QDialog* box) {
        title = label(box, "MsgTitle")->text();
        text = label(box, "MsgText")->text();
        button(box, "BtnConfirm")->click();
    });
    CMessageWnd::showMessage(nullptr, QStringLiteral("Update"), QStringLiteral("New version"), 1);
    EXPECT_EQ(title, QStringLiteral("Update"));
    EXPECT_TRUE(text.contains(QStringLiteral("New version"))) << text.toStdString();

    // No translator: the form's English text.
    CMessageWnd plain;
    plain.setTitle(QString());
    plain.setText(QString());
    EXPECT_EQ(label(&plain, "MsgTitle")->text(), QStringLiteral("Prompt"));
    EXPECT_TRUE(label(&plain, "MsgText")->text().isEmpty());

    // With the Chinese layout texts: "提示".
    ChineseLayoutTexts chinese;
    ASSERT_TRUE(chinese.loaded());
    whenModal([&](QDialog* box) {
        title = label(box, "MsgTitle")->text();
        button(box, "BtnConfirm")->click();
    });
    CMessageWnd::showMessage(nullptr, QString(), QStringLiteral("正文"), 0);
    EXPECT_EQ(title, QStringLiteral("提示"));
}

TEST_F(MessageBox, MarkupShowsAsColouredRichText)
{
    CMessageWnd box;
    box.setText(QStringLiteral("File <c #ff0000>a&b.pdf</c> is 1 < 2"));
    QLabel* text = label(&box, "MsgText");
    EXPECT_EQ(text->textFormat(), Qt::RichText);
    EXPECT_TRUE(text->wordWrap());
    const QString html = text->text();
    EXPECT_TRUE(html.contains(QStringLiteral("<span style=\"color:#ff0000\">a&amp;b.pdf</span>")))
        << html.toStdString();
    EXPECT_FALSE(html.contains(QStringLiteral("<c "))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("1 &lt; 2"))) << html.toStdString();
}

TEST_F(MessageBox, LineBreaksStayLineBreaks)
{
    CMessageWnd box;
    box.setText(QStringLiteral("first\nsecond"));
    EXPECT_EQ(label(&box, "MsgText")->text(), QStringLiteral("first<br/>second"));
}

TEST_F(MessageBox, ButtonTextsFollowTheGlossaryLanguage)
{
    QString confirm;
    QString cancel;
    auto read = [&](QDialog* box) {
        confirm = button(box, "BtnConfirm")->text();
        cancel = button(box, "BtnCancel")->text();
        button(box, "BtnCancel")->click();
    };
    whenModal(read);
    CMessageWnd::showMessage(nullptr, QString(), QStringLiteral("x"), 0);
    EXPECT_EQ(confirm, QStringLiteral("Ok"));
    EXPECT_EQ(cancel, QStringLiteral("Cancle"));

    Glossary::setCurrentLanguage(Glossary::CHINESE);
    whenModal(read);
    CMessageWnd::showMessage(nullptr, QString(), QStringLiteral("x"), 0);
    EXPECT_EQ(confirm, QStringLiteral("确定"));
    EXPECT_EQ(cancel, QStringLiteral("取消"));

    whenModal(read);
    EXPECT_EQ(CMessageWnd::showMessageWithButtons(nullptr, QString(), QStringLiteral("x"),
                                                  QStringLiteral("Exit"), QStringLiteral("Stay"), 0),
              0);
    EXPECT_EQ(confirm, QStringLiteral("Exit"));
    EXPECT_EQ(cancel, QStringLiteral("Stay"));
}

TEST_F(MessageBox, KeepsItsSizeAndGrowsOnlyForALongText)
{
    CMessageWnd box;
    box.setText(QStringLiteral("Short"));
    EXPECT_EQ(box.size(), QSize(380, 180));
    EXPECT_EQ(box.minimumSize(), box.maximumSize()) << "the box cannot be resized";
    EXPECT_TRUE(box.windowFlags() & Qt::FramelessWindowHint);

    QString longText;
    for (int i = 0; i < 40; ++i)
        longText += QStringLiteral("A rather long message word ");
    box.setText(longText);
    box.show();
    QApplication::processEvents();
    EXPECT_EQ(box.width(), 380);
    EXPECT_GT(box.height(), 180);
    QLabel* text = label(&box, "MsgText");
    EXPECT_GE(text->height(), text->heightForWidth(text->width())) << "the text is cut off";
    box.close();
}

TEST_F(MessageBox, CentredOnItsOwner)
{
    QWidget owner;
    owner.setGeometry(100, 120, 900, 600);
    owner.show();
    QPoint centre;
    whenModal([&](QDialog* box) {
        centre = box->frameGeometry().center();
        button(box, "BtnConfirm")->click();
    });
    CMessageWnd::showMessage(&owner, QString(), QStringLiteral("x"), 1);
    const QPoint expected = owner.frameGeometry().center();
    EXPECT_LE((centre - expected).manhattanLength(), 2) << centre.x() << "," << centre.y();
}

TEST_F(MessageBox, CanBeDraggedByItsCaption)
{
    CMessageWnd box;
    box.move(200, 200);
    box.show();
    QApplication::processEvents();
    QWidget* caption = box.findChild<QWidget*>(QStringLiteral("MsgCaption"));
    ASSERT_NE(caption, nullptr);
    const QPoint start = box.pos();
    const QPointF grab(50, 10);
    const QPointF grabGlobal = caption->mapToGlobal(grab);
    QMouseEvent press(QEvent::MouseButtonPress, grab, grabGlobal, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(caption, &press);
    QMouseEvent move(QEvent::MouseMove, grab + QPointF(30, 40), grabGlobal + QPointF(30, 40),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(caption, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, grab + QPointF(30, 40),
                        grabGlobal + QPointF(30, 40), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(caption, &release);
    EXPECT_EQ(box.pos(), start + QPoint(30, 40));
    box.close();
}

TEST_F(MessageBox, FollowsALanguageChange)
{
    CMessageWnd box;
    box.useGlossaryButtonTexts();
    QLabel* title = label(&box, "MsgTitle");
    EXPECT_EQ(title->text(), QStringLiteral("Prompt"));
    {
        Glossary::setCurrentLanguage(Glossary::CHINESE);
        ChineseLayoutTexts chinese; // sends LanguageChange to every widget
        ASSERT_TRUE(chinese.loaded());
        QApplication::processEvents();
        EXPECT_EQ(title->text(), QStringLiteral("提示"));
        EXPECT_EQ(button(&box, "BtnConfirm")->text(), QStringLiteral("确定"));
        EXPECT_EQ(button(&box, "BtnRetry")->text(), QStringLiteral("重试"));
        Glossary::setCurrentLanguage(Glossary::ENGLSH);
    }
    QApplication::processEvents();
    EXPECT_EQ(title->text(), QStringLiteral("Prompt"));
    EXPECT_EQ(button(&box, "BtnConfirm")->text(), QStringLiteral("Ok"));

    // A title of the caller's own survives the change.
    box.setTitle(QStringLiteral("Mine"));
    ChineseLayoutTexts chinese;
    QApplication::processEvents();
    EXPECT_EQ(title->text(), QStringLiteral("Mine"));
}
