// The main window's sidebar and commands over a real application on a temporary home: the item model
// under QAbstractItemModelTester, renaming in place, reordering and moving transactions by drops,
// the view toggles with their titles, and deleting an account.
#include "ModalAnswerer.h"
#include "app/AppController.h"
#include "app/WelcomeController.h"
#include "model/Account.h"
#include "model/ScheduledItem.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/objectstore/Context.h"
#include "store/CoreDataController.h"
#include "support/ModelValues.h"
#include "text/TextPrinters.h"
#include "ui/DesktopApplication.h"
#include "ui/RegisterView.h"
#include "ui/ScheduledEditorSheet.h"
#include "ui/SidebarModel.h"
#include "ui/WelcomeWindow.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace vantrel;
using Command = ui::MainWindow::Command;
using testsupport::amount;

namespace {

class MainWindowSidebarTest : public ::testing::Test {
protected:
    void SetUp() override {
        EXPECT_TRUE(paths.ensureDefaultsFolderExists());
        application = std::make_unique<ui::DesktopApplication>(paths, clock, QStringLiteral("en_US"));
        application->launch();
        ui::WelcomeWindow& welcome = application->shell().welcomeWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !welcome.choiceButtons().isEmpty(); }, 10'000));
        QTest::mouseClick(welcome.choiceButtons().constFirst(), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window().sidebarModel() != nullptr; }, 10'000));
        tester = std::make_unique<QAbstractItemModelTester>(
            window().sidebarModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    }

    ui::MainWindow& window() { return application->mainWindow(); }
    objectstore::Context& context() { return application->welcome().appController()->managedObjectContext(); }
    ui::SidebarModel& sidebar() { return *window().sidebarModel(); }

    model::Account addAccount(const QString& name, const char* startBalance,
                              const QString& type = QStringLiteral("checking")) {
        model::Account account = model::Account::insertInContext(context(), clock);
        account.setName(name);
        account.setType(type);
        account.setStartBalance(amount(startBalance));
        application->welcome().appController()->save();
        window().reloadAllViews();
        return account;
    }

    // The accounts' part of "Transactions" as the sidebar shows it, spacers as "-" ("Scheduled",
    // which follows, is left out).
    QStringList entries() {
        QStringList shown;
        const QModelIndex group = sidebar().index(0, 0);
        for (int row = 0; row < sidebar().rowCount(group); ++row) {
            const QModelIndex entry = sidebar().index(row, 0, group);
            if (static_cast<app::SidebarNode::Kind>(entry.data(ui::SidebarModel::KindRole).toInt()) ==
                app::SidebarNode::Kind::Scheduled) {
                continue;
            }
            const QString title = entry.data().toString();
            shown << (title.isEmpty()
                          ? QStringLiteral("-")
                          : title + QLatin1Char(' ') + entry.data(ui::SidebarModel::BalanceRole).toString());
        }
        return shown;
    }

    std::unique_ptr<QMimeData> dragOf(const model::Account& account) {
        return std::unique_ptr<QMimeData>(sidebar().mimeData({sidebar().indexOf(account.object()->id())}));
    }

    QTemporaryDir home;
    platform::Paths paths = platform::Paths::underRoot(home.path());
    platform::FixedClock clock{QDateTime(QDate(2024, 3, 1), QTime(12, 0), QTimeZone::utc()),
                               QTimeZone::utc()};
    testsupport::ModalAnswerer answers;
    std::unique_ptr<ui::DesktopApplication> application;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(MainWindowSidebarTest, AccountsShowWithBalancesAndRenameInPlace) {
    EXPECT_EQ(entries(),
              (QStringList{QStringLiteral("All Accounts $0"), QStringLiteral("-"), QStringLiteral("-")}));
    const model::Account everyday = addAccount(QStringLiteral("Everyday"), "1250.40");
    addAccount(QStringLiteral("Visa"), "-300");
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("All Accounts $950"), QStringLiteral("-"),
                                      QStringLiteral("Everyday $1,250"), QStringLiteral("Visa -$300"),
                                      QStringLiteral("-")}));
    EXPECT_FALSE(sidebar().flags(sidebar().index(1, 0, sidebar().index(0, 0))) & Qt::ItemIsSelectable);
    EXPECT_FALSE(sidebar().flags(sidebar().allAccountsIndex()) & Qt::ItemIsEditable);

    // Renaming in place saves; a blank name is refused.
    const QModelIndex entry = sidebar().indexOf(everyday.object()->id());
    EXPECT_TRUE(sidebar().setData(entry, QStringLiteral("Main Checking")));
    EXPECT_FALSE(sidebar().setData(entry, QStringLiteral("  ")));
    EXPECT_EQ(entry.data().toString(), QStringLiteral("Main Checking"));
    objectstore::Context saved(
        application->welcome().appController()->coreDataController().sharedPersistentStore());
    EXPECT_EQ(model::Account(saved.object(everyday.object()->id())).name(), QStringLiteral("Main Checking"));

    // Cents, and the command's title naming what it will do.
    QAction* cents = window().action(Command::ToggleCents);
    window().updateCommands();
    EXPECT_EQ(cents->text(), QStringLiteral("Show Cents in Accounts List"));
    cents->trigger();
    EXPECT_EQ(entries().at(2), QStringLiteral("Main Checking $1,250.40"));
    EXPECT_EQ(cents->text(), QStringLiteral("Hide Cents in Accounts List"));
}

TEST_F(MainWindowSidebarTest, DroppingAnAccountReordersAndDroppingRowsMovesThem) {
    const model::Account first = addAccount(QStringLiteral("First"), "0");
    addAccount(QStringLiteral("Second"), "0");
    const model::Account third = addAccount(QStringLiteral("Third"), "0");
    const QModelIndex group = sidebar().index(0, 0);

    // The third account dropped at position 2 becomes the first; only between the spacers.
    std::unique_ptr<QMimeData> drag = dragOf(third);
    EXPECT_FALSE(sidebar().canDropMimeData(drag.get(), Qt::MoveAction, 1, 0, group));
    EXPECT_FALSE(sidebar().canDropMimeData(drag.get(), Qt::MoveAction, 6, 0, group));
    ASSERT_TRUE(sidebar().dropMimeData(drag.get(), Qt::MoveAction, 2, 0, group));
    ASSERT_TRUE(QTest::qWaitFor([&] { return entries().at(2).startsWith(QStringLiteral("Third")); }, 5'000));
    // The first account dropped at position 5 lands at index 2.
    drag = dragOf(first);
    ASSERT_TRUE(sidebar().dropMimeData(drag.get(), Qt::MoveAction, 5, 0, group));
    ASSERT_TRUE(QTest::qWaitFor([&] { return entries().at(4).startsWith(QStringLiteral("First")); }, 5'000));
    EXPECT_EQ(model::Account(context().object(first.object()->id())).realIndex(), 2u);

    // Register rows dropped on an account move there once the user agrees.
    window().selectAccount(third);
    ui::RegisterView& view = *window().registerView();
    view.addTransaction();
    view.commitEditing();
    ASSERT_EQ(view.table()->model()->rowCount(), 1);
    view.table()->selectRow(0);
    std::unique_ptr<QMimeData> rows(view.table()->model()->mimeData({view.table()->model()->index(0, 1)}));
    const QModelIndex target = sidebar().indexOf(first.object()->id());
    EXPECT_FALSE(sidebar().canDropMimeData(rows.get(), Qt::CopyAction, -1, 0, sidebar().allAccountsIndex()));
    answers.answer(QStringLiteral("Move"));
    ASSERT_TRUE(sidebar().dropMimeData(rows.get(), Qt::CopyAction, -1, 0, target));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.table()->model()->rowCount() == 0; }, 5'000));
    ASSERT_EQ(answers.shown().size(), 1u);
    EXPECT_EQ(answers.shown()[0].text,
              QStringLiteral("Are you sure you want to move 1 transaction to First?"));
    EXPECT_EQ(model::Account(context().object(first.object()->id())).transactions().size(), 1u);
}

TEST_F(MainWindowSidebarTest, CommandsFollowTheSelectionAndDeleteTakesTheAccount) {
    const model::Account cash = addAccount(QStringLiteral("Wallet"), "20", QStringLiteral("cash"));
    const model::Account bank = addAccount(QStringLiteral("Everyday"), "100");

    window().selectAccount(std::nullopt);
    window().updateCommands();
    EXPECT_EQ(window().currentView(), app::WindowCommands::View::AllAccountsRegister);
    EXPECT_FALSE(window().action(Command::ImportFromBank)->isEnabled());
    EXPECT_FALSE(window().action(Command::ToggleRunningBalance)->isEnabled());
    window().selectAccount(cash);
    window().updateCommands();
    EXPECT_FALSE(window().action(Command::ImportFromBank)->isEnabled());
    window().selectAccount(bank);
    window().updateCommands();
    EXPECT_TRUE(window().action(Command::ImportFromBank)->isEnabled());
    QAction* balance = window().action(Command::ToggleRunningBalance);
    EXPECT_EQ(balance->text(), QStringLiteral("Show Running Balance"));
    balance->trigger();
    EXPECT_EQ(balance->text(), QStringLiteral("Hide Running Balance"));

    answers.answer(QStringLiteral("Cancel"));
    answers.answer(QStringLiteral("Delete"));
    window().action(Command::DeleteAccount)->trigger();
    EXPECT_EQ(context().count(u"Account"), 2);
    window().action(Command::DeleteAccount)->trigger();
    EXPECT_EQ(context().count(u"Account"), 1);
    EXPECT_EQ(answers.shown().at(1).text,
              QStringLiteral("Are you sure you want to delete the account \"Everyday\"?"));
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("All Accounts $20"), QStringLiteral("-"),
                                      QStringLiteral("Wallet $20"), QStringLiteral("-")}));
    EXPECT_EQ(window().currentView(), app::WindowCommands::View::AllAccountsRegister);
}

TEST_F(MainWindowSidebarTest, PlanningEntriesShowTheirViewsAndARowBecomesAScheduledItem) {
    using Kind = app::SidebarNode::Kind;
    using View = app::WindowCommands::View;
    // Where no dock shows counts, the count goes into the title.
    qputenv("XDG_CURRENT_DESKTOP", QByteArray());
    model::Account bank = addAccount(QStringLiteral("Everyday"), "100");
    const QModelIndex charts = sidebar().index(1, 0);
    EXPECT_EQ(charts.data().toString(), QStringLiteral("Charts"));
    EXPECT_EQ(sidebar().rowCount(charts), 2);
    window().selectEntry({Kind::Breakdown, std::nullopt});
    window().updateCommands();
    EXPECT_EQ(window().currentView(), View::Breakdown);
    EXPECT_TRUE(window().action(Command::ExportBreakdown)->isEnabled());
    EXPECT_FALSE(window().action(Command::NewTransaction)->isEnabled());
    window().selectEntry({Kind::Trends, std::nullopt});
    EXPECT_EQ(window().currentView(), View::Trends);

    // A register row becomes a monthly item past today, opened in the editor.
    const model::Transaction rent =
        bank.createTransactionWithDate(testsupport::day(2024, 2, 20), QStringLiteral("Rent"), amount("-900"),
                                       nullptr, QString(), std::nullopt, clock);
    application->welcome().appController()->save();
    window().selectAccount(bank);
    window().registerView()->selectTransactions({rent});
    window().updateCommands();
    ASSERT_TRUE(window().action(Command::ScheduleTransaction)->isEnabled());
    window().action(Command::ScheduleTransaction)->trigger();
    EXPECT_EQ(window().currentView(), View::Scheduled);
    ASSERT_EQ(context().count(u"ScheduledItem"), 1u);
    const model::ScheduledItem item(context().fetch(u"ScheduledItem").front());
    EXPECT_EQ(item.title(), QStringLiteral("Rent"));
    EXPECT_EQ(item.nextDueDate(), testsupport::day(2024, 3, 20));
    ui::ScheduledEditorSheet* editor = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return (editor = window().findChild<ui::ScheduledEditorSheet*>()) != nullptr &&
                   editor->isVisible();
        },
        5'000));
    editor->reject();

    // An item due today puts a count on "Scheduled" and in the window's title.
    model::ScheduledItem phone = model::ScheduledItem::insertInContext(context());
    phone.setTitle(QStringLiteral("Phone"));
    phone.setAmount(amount("-40"));
    phone.setAccount(bank.object());
    phone.setNextDueDate(testsupport::day(2024, 3, 1));
    application->welcome().appController()->save();
    window().reloadAllViews();
    const QModelIndex scheduled = sidebar().indexOf(app::SidebarNode::Key{Kind::Scheduled, std::nullopt});
    EXPECT_EQ(scheduled.data(ui::SidebarModel::BadgeRole).toInt(), 1);
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Vantrel (1)"));
}

} // namespace
