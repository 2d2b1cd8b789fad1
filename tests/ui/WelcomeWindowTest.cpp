#include "ui/WelcomeWindow.h"

#include "ui/MainWindow.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace vantrel;

TEST(WelcomeWindow, ShowsTheChoicesAsButtonsThatReportTheirTags) {
    ui::WelcomeWindow window;
    window.showSpinner();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(window.isSpinning());
    EXPECT_TRUE(window.choiceButtons().isEmpty());

    window.showChoices({QStringLiteral("Vantrel 2 detected"),
                        {{QStringLiteral("Upgrade from Vantrel 2"), 103, 240},
                         {QStringLiteral("Start with a new database"), 101, 0}}});
    EXPECT_FALSE(window.isSpinning());
    EXPECT_EQ(window.infoText(), QStringLiteral("Vantrel 2 detected"));
    const QList<QPushButton*> buttons = window.choiceButtons();
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_EQ(buttons[0]->text(), QStringLiteral("Upgrade from Vantrel 2"));
    EXPECT_GE(buttons[0]->width(), 240);
    EXPECT_EQ(buttons[1]->text(), QStringLiteral("Start with a new database"));

    QSignalSpy clicked(&window, &ui::WelcomeWindow::buttonClicked);
    QTest::mouseClick(buttons[1], Qt::LeftButton);
    QTest::mouseClick(buttons[0], Qt::LeftButton);
    ASSERT_EQ(clicked.count(), 2);
    EXPECT_EQ(clicked[0][0].toInt(), 101);
    EXPECT_EQ(clicked[1][0].toInt(), 103);

    // A second set of choices replaces the first.
    window.showChoices({QString(), {{QStringLiteral("Get Started"), 101, 0}}});
    ASSERT_EQ(window.choiceButtons().size(), 1);
    EXPECT_EQ(window.choiceButtons()[0]->text(), QStringLiteral("Get Started"));
    EXPECT_TRUE(window.infoText().isEmpty());

    window.showLoading(0.1);
    EXPECT_TRUE(window.choiceButtons().isEmpty());
    EXPECT_DOUBLE_EQ(window.loadingFraction(), 0.1);
}

TEST(MainWindow, ShowsTheEmptyViewBeforeTheStoreIsLoaded) {
    ui::MainWindow window;
    window.showContent({0, {}});
    EXPECT_TRUE(window.showsEmptyView());
    EXPECT_FALSE(window.action(ui::MainWindow::Command::NewTransaction)->isEnabled());
    EXPECT_FALSE(window.searchField()->isEnabled());
}

TEST(MainWindow, TheQuitCommandAsksTheHandlerAndTheStickyDateItemCanGo) {
    ui::MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    int asked = 0;
    window.setQuitHandler([&asked] { ++asked; });
    window.quitAction()->trigger();
    QApplication::processEvents();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(window.isVisible());

    ASSERT_NE(window.stickyDateAction(), nullptr);
    window.removeStickyDateAction();
    EXPECT_EQ(window.stickyDateAction(), nullptr);
    for (const QAction* action : window.transactionMenu()->actions()) {
        EXPECT_NE(action->text(), QStringLiteral("Sticky Date"));
    }
}
