// The main window's click table: every name leads to its own effect, and a name it does not
// know changes nothing.

#include "MainWindowFixture.h"

#include <QStackedWidget>

TEST_F(MainWindowFixture, ClicksReachTheirControlsAndUnknownNamesDoNothing)
{
    open();
    auto* pane = child<QStackedWidget>("switchpane");
    const QWidget* before = pane->currentWidget();
    window->onClick(QStringLiteral("no-such-control"));
    window->onClick(QString());
    pump();
    EXPECT_EQ(pane->currentWidget(), before);
    EXPECT_EQ(user->getLanguage(), Glossary::CHINESE);
    EXPECT_TRUE(window->isVisible());

    window->onClick(QStringLiteral("capturescropt"));
    EXPECT_EQ(pane->currentWidget()->objectName(), QStringLiteral("captureLayout"));
    EXPECT_TRUE(child<QAbstractButton>("capturescropt")->isChecked());

    // The advertisement button does nothing before the service has offered advertisements.
    window->onClick(QStringLiteral("adsbtn"));
    pump();
    EXPECT_EQ(pane->currentWidget()->objectName(), QStringLiteral("captureLayout"));
}
