// A person's first session, clicked through the real windows on a fresh home folder: the welcome
// window, the empty view, an account made through its sheet, transactions typed into the register
// (one split over three rows), a transfer, a bank file imported, a match, a search, undo and redo of
// a delete, and quitting. Every step checks what the window then shows.
#include "ModalAnswerer.h"
#include "app/AppController.h"
#include "app/RegisterViewModel.h"
#include "app/WelcomeController.h"
#include "model/Account.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/objectstore/Context.h"
#include "store/CoreDataController.h"
#include "support/ModelValues.h"
#include "text/TextPrinters.h"
#include "ui/AccountSheet.h"
#include "ui/AmountLineEdit.h"
#include "ui/CategoryField.h"
#include "ui/DesktopApplication.h"
#include "ui/EditPanel.h"
#include "ui/EmptyView.h"
#include "ui/ImportBankSheet.h"
#include "ui/PayeeField.h"
#include "ui/RegisterTableModel.h"
#include "ui/RegisterView.h"
#include "ui/SidebarModel.h"
#include "ui/SplitRowWidget.h"
#include "ui/TransferSheet.h"
#include "ui/WelcomeWindow.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace vantrel;
using Command = ui::MainWindow::Command;

namespace {

bool waitFor(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, 10'000);
}

class FirstSessionTest : public ::testing::Test {
protected:
    FirstSessionTest() {
        EXPECT_TRUE(paths.ensureDefaultsFolderExists());
        application = std::make_unique<ui::DesktopApplication>(paths, clock, QStringLiteral("en_US"));
    }

    ui::MainWindow& window() { return application->mainWindow(); }
    ui::RegisterView& registerView() { return *window().registerView(); }
    objectstore::Context& context() { return application->welcome().appController()->managedObjectContext(); }

    // "name balance" of every entry below "Transactions", spacers left out.
    QStringList sidebarEntries() {
        QStringList entries;
        ui::SidebarModel& model = *window().sidebarModel();
        const QModelIndex group = model.index(0, 0);
        for (int row = 0; row < model.rowCount(group); ++row) {
            const QModelIndex entry = model.index(row, 0, group);
            const auto kind =
                static_cast<app::SidebarNode::Kind>(entry.data(ui::SidebarModel::KindRole).toInt());
            if (!entry.data().toString().isEmpty() && kind != app::SidebarNode::Kind::Scheduled) {
                entries << entry.data().toString() + QLatin1Char(' ') +
                               entry.data(ui::SidebarModel::BalanceRole).toString();
            }
        }
        return entries;
    }

    template <typename Sheet>
    Sheet* openSheet() {
        Sheet* sheet = nullptr;
        EXPECT_TRUE(
            waitFor([&] { return (sheet = window().findChild<Sheet*>()) != nullptr && sheet->isVisible(); }));
        return sheet;
    }

    void createAccount(const QString& name, int type, const QString& startBalance) {
        auto* sheet = openSheet<ui::AccountSheet>();
        ASSERT_NE(sheet, nullptr);
        QTest::keyClicks(sheet->nameField(), name);
        sheet->typeMenu()->setCurrentIndex(type);
        QTest::keyClicks(sheet->startBalanceField(), startBalance);
        QTest::mouseClick(sheet->buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return window().findChild<ui::AccountSheet*>() == nullptr; }));
    }

    ui::EditPanel& openNewTransaction() {
        window().action(Command::NewTransaction)->trigger();
        EXPECT_TRUE(waitFor([&] { return registerView().isEditing(); }));
        return *registerView().editPanel();
    }

    void typeDate(ui::EditPanel& panel, QDate date) { panel.dateField()->setDate(date); }

    // Types the name; a known one is picked from the completion list as a user does, an unknown
    // one is committed (which asks whether to create it).
    static void typeCategory(ui::CategoryField* field, const QString& name) {
        field->lineEdit()->clear();
        QTest::keyClicks(field->lineEdit(), name);
        QAbstractItemView* popup = field->completer()->popup();
        if (popup->isVisible() && popup->model()->rowCount() > 0) {
            popup->setCurrentIndex(popup->model()->index(0, 0));
            QTest::keyClick(popup, Qt::Key_Return);
        } else {
            popup->hide();
            field->commit();
        }
        QTest::qWait(20);
    }

    // The register's rows as "date | description | category | amount".
    QString rowText(int row) {
        const QAbstractItemModel& model = *registerView().table()->model();
        QStringList cells;
        for (int column = 1; column < model.columnCount(); ++column) { // after the flag
            if (!registerView().table()->isColumnHidden(column)) {
                cells << model.index(row, column).data().toString().simplified();
            }
        }
        return cells.join(QStringLiteral(" | "));
    }

    int rowOf(const QString& title) {
        app::RegisterViewModel* model = registerView().viewModel();
        for (std::size_t row = 0; row < model->rowCount(); ++row) {
            if (model->description(row).title == title) {
                return static_cast<int>(row);
            }
        }
        return -1;
    }

    void selectRows(std::initializer_list<QString> titles) {
        std::vector<model::Transaction> chosen;
        for (const QString& title : titles) {
            const int row = rowOf(title);
            EXPECT_GE(row, 0) << title.toStdString();
            chosen.push_back(registerView().viewModel()->transactionAt(static_cast<std::size_t>(row)));
        }
        registerView().selectTransactions(chosen);
    }

    QTemporaryDir home;
    platform::Paths paths = platform::Paths::underRoot(home.path());
    platform::FixedClock clock{QDateTime(QDate(2023, 1, 26), QTime(15, 0), QTimeZone::utc()),
                               QTimeZone::utc()};
    testsupport::ModalAnswerer answers;
    std::unique_ptr<ui::DesktopApplication> application;
};

TEST_F(FirstSessionTest, AFirstSessionFromWelcomeToQuit) {
    // First run: the welcome window offers a new database.
    application->launch();
    ui::WelcomeWindow& welcome = application->shell().welcomeWindow();
    ASSERT_TRUE(waitFor([&] { return !welcome.choiceButtons().isEmpty(); }));
    QPushButton* getStarted = welcome.choiceButtons().constFirst();
    ASSERT_EQ(getStarted->text(), QStringLiteral("Get Started"));
    QTest::mouseClick(getStarted, Qt::LeftButton);

    // The empty view, with nothing but account commands to offer.
    ASSERT_TRUE(waitFor([&] { return window().isVisible() && window().sidebarModel() != nullptr; }));
    EXPECT_FALSE(welcome.isVisible());
    EXPECT_TRUE(window().showsEmptyView());
    EXPECT_FALSE(window().action(Command::NewTransaction)->isEnabled());
    EXPECT_EQ(sidebarEntries(), QStringList{QStringLiteral("All Accounts $0")});

    // A checking account through its sheet, from the empty view's button.
    QTest::mouseClick(window().emptyView()->addAccountButton(), Qt::LeftButton);
    createAccount(QStringLiteral("Everyday Checking"), 0, QStringLiteral("1000"));
    EXPECT_FALSE(window().showsEmptyView());
    EXPECT_EQ(sidebarEntries(), (QStringList{QStringLiteral("All Accounts $1,000"),
                                             QStringLiteral("Everyday Checking $1,000")}));
    EXPECT_EQ(window().currentView(), app::WindowCommands::View::AccountRegister);
    EXPECT_TRUE(registerView().showsEmptyHint());

    // Three transactions typed into the register.
    {
        ui::EditPanel& panel = openNewTransaction();
        EXPECT_TRUE(panel.amountField()->text().isEmpty());
        typeDate(panel, QDate(2023, 1, 24));
        QTest::keyClicks(panel.payeeField(), QStringLiteral("Grocery Store"));
        QTest::keyClicks(panel.amountField(), QStringLiteral("-45.99"));
        typeCategory(panel.categoryField(), QStringLiteral("Food"));
        QTest::keyClick(panel.payeeField(), Qt::Key_Return);
        ASSERT_TRUE(waitFor([&] { return !registerView().isEditing(); }));
    }
    {
        ui::EditPanel& panel = openNewTransaction();
        QTest::keyClicks(panel.payeeField(), QStringLiteral("Coffee Corner"));
        QTest::keyClicks(panel.amountField(), QStringLiteral("-12.00"));
        QTest::keyClick(panel.amountField(), Qt::Key_Return);
        ASSERT_TRUE(waitFor([&] { return !registerView().isEditing(); }));
    }
    {
        ui::EditPanel& panel = openNewTransaction();
        typeDate(panel, QDate(2023, 1, 22));
        QTest::keyClicks(panel.payeeField(), QStringLiteral("Hardware Barn"));
        QTest::keyClicks(panel.amountField(), QStringLiteral("-100"));
        typeCategory(panel.categoryField(), QStringLiteral("Shopping"));
        QTest::mouseClick(panel.splitButton(), Qt::LeftButton);
        ASSERT_EQ(panel.splitRowWidgets().size(), 2u);
        EXPECT_EQ(panel.splitRowWidgets()[0]->amountField()->value(), testsupport::amount("-100"));
        // The untouched last row takes what the others leave.
        ui::AmountLineEdit* first = panel.splitRowWidgets()[0]->amountField();
        first->selectAll();
        QTest::keyClicks(first, QStringLiteral("-60"));
        EXPECT_EQ(panel.splitRowWidgets()[1]->amountField()->value(), testsupport::amount("-40"));
        QTest::mouseClick(panel.splitRowWidgets()[1]->addButton(), Qt::LeftButton);
        ASSERT_EQ(panel.splitRowWidgets().size(), 3u);
        ui::AmountLineEdit* second = panel.splitRowWidgets()[1]->amountField();
        second->selectAll();
        QTest::keyClicks(second, QStringLiteral("-25"));
        answers.answer(QStringLiteral("Create"));
        typeCategory(panel.splitRowWidgets()[1]->categoryField(), QStringLiteral("Hardware"));
        EXPECT_EQ(panel.splitRowWidgets()[2]->amountField()->value(), testsupport::amount("-15"));
        // Once the last row is typed into, what is left shows as the remainder instead.
        ui::AmountLineEdit* third = panel.splitRowWidgets()[2]->amountField();
        third->selectAll();
        QTest::keyClicks(third, QStringLiteral("-10"));
        EXPECT_TRUE(panel.remainderLabel()->isVisible());
        EXPECT_TRUE(panel.remainderLabel()->text().contains(QStringLiteral("5.00")))
            << panel.remainderLabel()->text().toStdString();
        third->selectAll();
        QTest::keyClicks(third, QStringLiteral("-15"));
        QTest::keyClick(third, Qt::Key_Return);
        ASSERT_TRUE(waitFor([&] { return !registerView().isEditing(); }));
    }
    EXPECT_EQ(answers.shown().size(), 1u); // creating "Hardware"
    ASSERT_EQ(registerView().table()->model()->rowCount(), 3);
    EXPECT_EQ(rowText(rowOf(QStringLiteral("Hardware Barn"))),
              QStringLiteral("Jan 22, 2023 | Hardware Barn | Shopping: -60.00 Hardware: -25.00 "
                             "Uncategorized: -15.00 | -$100.00"));
    EXPECT_EQ(sidebarEntries().at(1), QStringLiteral("Everyday Checking $842"));

    // A savings account, then a transfer into it through the transfer sheet.
    window().selectAccount(model::Account::first(context()));
    window().action(Command::NewAccount)->trigger();
    createAccount(QStringLiteral("Rainy Day"), 1, QStringLiteral("0"));
    window().selectAccount(model::Account::first(context()));
    window().action(Command::Transfer)->trigger();
    {
        auto* sheet = openSheet<ui::TransferSheet>();
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(sheet->fromMenu()->currentText(), QStringLiteral("Everyday Checking"));
        sheet->toMenu()->setCurrentIndex(
            sheet->toMenu()->findText(QStringLiteral("Rainy Day"), Qt::MatchStartsWith));
        QTest::keyClicks(sheet->amountField(), QStringLiteral("200"));
        QTest::mouseClick(sheet->buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return window().findChild<ui::TransferSheet*>() == nullptr; }));
    }
    EXPECT_EQ(sidebarEntries(),
              (QStringList{QStringLiteral("All Accounts $842"), QStringLiteral("Everyday Checking $642"),
                           QStringLiteral("Rainy Day $200")}));
    EXPECT_EQ(registerView().table()->model()->rowCount(), 4);

    // The bank's statement through the import sheet: the pending grocery entry is matched.
    window().action(Command::ImportFromBank)->trigger();
    {
        auto* sheet = openSheet<ui::ImportBankSheet>();
        ASSERT_NE(sheet, nullptr);
        ASSERT_TRUE(sheet->startWithFile(QStringLiteral(VANTREL_TEST_DATA "/ofx/bank-sgml.ofx")));
        QTest::mouseClick(sheet->importButton(), Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return sheet->summaryTitleLabel()->isVisible(); }));
        EXPECT_EQ(sheet->summaryMatchedLabel()->text(), QStringLiteral("1 matched pending transactions"));
        EXPECT_EQ(sheet->summaryNewLabel()->text(), QStringLiteral("3 were new transactions"));
        QTest::mouseClick(sheet->doneButton(), Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return window().findChild<ui::ImportBankSheet*>() == nullptr; }));
    }
    EXPECT_EQ(registerView().table()->model()->rowCount(), 7);

    // The typed coffee and the bank's record of it, matched by hand with the bank's amount.
    selectRows({QStringLiteral("Coffee Corner"), QStringLiteral("A & B")});
    EXPECT_TRUE(window().action(Command::Match)->isEnabled());
    answers.answer(QStringLiteral("Match"));
    answers.answer(QStringLiteral("Use Imported Amount"));
    window().action(Command::Match)->trigger();
    ASSERT_TRUE(waitFor([&] { return registerView().table()->model()->rowCount() == 6; }));
    EXPECT_EQ(answers.shown().at(1).text,
              QStringLiteral("Are you sure you want to match these two transactions?"));

    // A search and its cancel.
    QTest::keyClicks(window().searchField(), QStringLiteral("grocery"));
    EXPECT_EQ(window().currentView(), app::WindowCommands::View::SearchResults);
    EXPECT_EQ(window().searchTitle(), QStringLiteral("Searching \"Everyday Checking\""));
    EXPECT_EQ(window().secondaryStatusText(), QStringLiteral("1 Transaction Found"));
    EXPECT_EQ(window().searchResultsView()->table()->model()->rowCount(), 1);
    window().searchField()->clear();
    EXPECT_EQ(window().currentView(), app::WindowCommands::View::AccountRegister);
    EXPECT_TRUE(window().secondaryStatusText().isEmpty());

    // Undo and redo of a delete.
    const QString before = sidebarEntries().at(1);
    selectRows({QStringLiteral("Hardware Barn")});
    answers.answer(QStringLiteral("Delete"));
    window().action(Command::Delete)->trigger();
    ASSERT_TRUE(waitFor([&] { return registerView().table()->model()->rowCount() == 5; }));
    EXPECT_EQ(answers.shown().back().text,
              QStringLiteral("Are you sure you want to delete the transaction \"Hardware Barn\"?"));
    EXPECT_NE(sidebarEntries().at(1), before);
    QTest::qWait(20);
    ASSERT_TRUE(window().undoAction()->isEnabled());
    window().undoAction()->trigger();
    EXPECT_EQ(registerView().table()->model()->rowCount(), 6);
    EXPECT_EQ(sidebarEntries().at(1), before);
    EXPECT_GE(rowOf(QStringLiteral("Hardware Barn")), 0);
    ASSERT_TRUE(window().redoAction()->isEnabled());
    window().redoAction()->trigger();
    EXPECT_EQ(registerView().table()->model()->rowCount(), 5);
    EXPECT_EQ(rowOf(QStringLiteral("Hardware Barn")), -1);
    EXPECT_TRUE(answers.allAnswersUsed());

    // Quit from the menu ends the event loop, with everything saved.
    bool timedOut = false;
    QTimer::singleShot(0, &window(), [&] { window().quitAction()->trigger(); });
    QTimer::singleShot(10'000, qApp, [&] {
        timedOut = true;
        QCoreApplication::quit();
    });
    QApplication::exec();
    EXPECT_FALSE(timedOut);
    objectstore::Context reopened(
        application->welcome().appController()->coreDataController().sharedPersistentStore());
    EXPECT_EQ(reopened.count(u"Transaction"), 6); // five in checking, the transfer into savings
}

} // namespace
