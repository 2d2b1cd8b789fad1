#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

using vantrel::ui::MainWindow;

TEST(MainWindow, OpensTitledAndQuitsThroughTheQuitCommand) {
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Vantrel"));
    EXPECT_EQ(window.quitAction()->shortcut(), QKeySequence(QKeySequence::Quit));

    window.quitAction()->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(window.isVisible());
}
