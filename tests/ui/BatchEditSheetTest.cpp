#include "ui/BatchEditSheet.h"

#include "app/AppWorkspaceFixture.h"
#include "app/RegisterViewModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace vantrel;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;
using ui::BatchEditSheet;
using Field = ui::BatchEditSheet::Field;

namespace {

class BatchEditSheetTest : public testsupport::AppWorkspaceFixture {
protected:
    BatchEditSheet& open(std::vector<model::Transaction> selection) {
        viewModel = std::make_unique<app::RegisterViewModel>(
            app::RegisterViewModel::forAccount(workspace, checking, locale()));
        sheet = std::make_unique<BatchEditSheet>(
            workspace, std::make_unique<app::BatchEditModel>(*viewModel, std::move(selection)));
        sheet->show();
        return *sheet;
    }

    void clickOk() {
        QTest::mouseClick(sheet->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
        QApplication::processEvents();
    }

    static QStringList items(const QComboBox* box) {
        QStringList texts;
        for (int index = 0; index < box->count(); ++index) {
            texts.append(box->itemText(index).trimmed());
        }
        return texts;
    }

    // What a user's pick in the drop-down does (the pop-up list is not driven here).
    static void choose(QComboBox* box, const QString& text) {
        const int index = items(box).indexOf(text);
        ASSERT_GE(index, 0) << utf8(text);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    model::Transaction bankTransaction(const char* value, const QString& title) {
        model::Transaction transaction = newTransaction(checking, value, title);
        transaction.setImported(true);
        transaction.setOfxAmount(amount(value));
        transaction.setOfxTitle(title.toUpper());
        transaction.setOfxDate(transaction.date());
        transaction.setOfxFitID(QStringLiteral("FIT-%1").arg(title));
        transaction.setFlagged(true);
        return transaction;
    }

    model::Account checking = newAccount(QStringLiteral("Checking"));
    objectstore::ManagedObject* food = newCategory(QStringLiteral("Food"));
    objectstore::ManagedObject* gas = newCategory(QStringLiteral("Gas"));
    std::unique_ptr<app::RegisterViewModel> viewModel;
    std::unique_ptr<BatchEditSheet> sheet;
};

TEST_F(BatchEditSheetTest, FieldsStartWithTheSharedValuesAndEmptyWhereTheyDiffer) {
    model::Transaction a = newTransaction(checking, "-10", QStringLiteral("Rent"), food);
    model::Transaction b = newTransaction(checking, "-25", QStringLiteral("Rent"), food);
    a.setFlagged(true);
    b.setFlagged(true);
    b.setDate(day(2024, 2, 25));
    open({a, b});

    EXPECT_EQ(utf8(sheet->subtitleLabel()->text()), "Modifying 2 transactions.");
    EXPECT_EQ(utf8(sheet->titleField()->text()), "Rent");
    EXPECT_EQ(utf8(sheet->categoryField()->currentText().trimmed()), "Food");
    EXPECT_TRUE(sheet->amountField()->text().isEmpty());
    EXPECT_TRUE(sheet->notesField()->text().isEmpty());
    EXPECT_FALSE(sheet->dateField()->isEnabled());
    EXPECT_EQ(items(sheet->flagField()), (QStringList{QStringLiteral("No Flag"), QStringLiteral("Pending")}));
    EXPECT_EQ(utf8(sheet->flagField()->currentText()), "Pending");
    for (const Field field :
         {Field::Amount, Field::Category, Field::Date, Field::Title, Field::Notes, Field::Flag}) {
        EXPECT_FALSE(sheet->changeBox(field)->isChecked()) << static_cast<int>(field);
    }
}

TEST_F(BatchEditSheetTest, FlagChoicesFollowWhatKindOfTransactionsAreSelected) {
    const model::Transaction bank1 = bankTransaction("-1", QStringLiteral("x"));
    const model::Transaction bank2 = bankTransaction("-2", QStringLiteral("y"));
    const model::Transaction user = newTransaction(checking, "-3", QStringLiteral("z"));
    open({bank1, bank2});
    EXPECT_EQ(items(sheet->flagField()), (QStringList{QStringLiteral("No Flag"), QStringLiteral("New")}));
    EXPECT_EQ(utf8(sheet->flagField()->currentText()), "New");
    open({bank1, user});
    EXPECT_EQ(items(sheet->flagField()), QStringList{QStringLiteral("No Flag")});
    EXPECT_EQ(sheet->flagField()->currentIndex(), -1);
}

TEST_F(BatchEditSheetTest, TickingTheDateBoxOffersTheEarliestDateAndOkSetsIt) {
    model::Transaction a = newTransaction(checking, "-1", QStringLiteral("a"));
    model::Transaction b = newTransaction(checking, "-2", QStringLiteral("b"));
    b.setDate(day(2024, 2, 5));
    open({a, b});
    ASSERT_FALSE(sheet->dateField()->isEnabled());

    QTest::mouseClick(sheet->changeBox(Field::Date), Qt::LeftButton);
    EXPECT_TRUE(sheet->dateField()->isEnabled());
    EXPECT_EQ(sheet->dateField()->date(), QDate(2024, 2, 5));
    clickOk();
    EXPECT_EQ(a.date(), day(2024, 2, 5));
    EXPECT_EQ(b.date(), day(2024, 2, 5));
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
}

TEST_F(BatchEditSheetTest, EditedFieldsTickTheirBoxesAndOnlyTickedOnesAreApplied) {
    model::Transaction a = newTransaction(checking, "-10", QStringLiteral("a"));
    model::Transaction b = bankTransaction("-20", QStringLiteral("b"));
    b.setMultipleCategoriesAndAmounts({{food, amount("-5")}, {gas, amount("-15")}});
    open({a, b});

    // An empty amount assumes an expense, as in the inline editor.
    sheet->amountField()->setFocus();
    QApplication::processEvents();
    QTest::keyClicks(sheet->amountField(), QStringLiteral("30"));
    EXPECT_TRUE(sheet->changeBox(Field::Amount)->isChecked());
    choose(sheet->categoryField(), QStringLiteral("Gas"));
    EXPECT_TRUE(sheet->changeBox(Field::Category)->isChecked());
    QTest::keyClicks(sheet->notesField(), QStringLiteral("typed, then untick"));
    QTest::mouseClick(sheet->changeBox(Field::Notes), Qt::LeftButton);
    EXPECT_FALSE(sheet->changeBox(Field::Notes)->isChecked());
    EXPECT_FALSE(sheet->changeBox(Field::Title)->isChecked());
    posted.clear();
    clickOk();

    for (const model::Transaction& transaction : {a, b}) {
        EXPECT_EQ(transaction.amount(), amount("-30"));
        EXPECT_TRUE(transaction.hasSingleCategory());
        EXPECT_EQ(transaction.theCategory(), gas);
        EXPECT_TRUE(transaction.notes().isEmpty());
    }
    EXPECT_EQ(utf8(a.title()), "a");
    // Reviewed by the change.
    EXPECT_FALSE(b.isNew());
    EXPECT_TRUE(posted.contains(QStringLiteral("VT Categories Changed")));
    EXPECT_EQ(model::Transaction(in(*reloaded(), b.object())).amount(), amount("-30"));
}

TEST_F(BatchEditSheetTest, AnUnreadableAmountIsRefusedAndChangesNothing) {
    model::Transaction a = newTransaction(checking, "-10", QStringLiteral("a"));
    model::Transaction b = newTransaction(checking, "-20", QStringLiteral("b"));
    open({a, b});
    sheet->amountField()->setFocus();
    QApplication::processEvents();
    QTest::keyClicks(sheet->amountField(), QStringLiteral("12,x"));
    QTest::keyClicks(sheet->titleField(), QStringLiteral("changed"));
    clickOk();

    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_EQ(utf8(alerts.last().message), "Amount could not be parsed.");
    EXPECT_EQ(utf8(alerts.last().informativeText), "Enter the amount as a number, such as -12.50.");
    EXPECT_TRUE(alerts.last().buttons.isEmpty()); // a notice: just "OK"
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(utf8(sheet->amountField()->text()), "-12,x");
    EXPECT_EQ(utf8(a.title()), "a");
    EXPECT_EQ(a.amount(), amount("-10"));
}

TEST_F(BatchEditSheetTest, FlagChoiceAndCancel) {
    model::Transaction a = bankTransaction("-1", QStringLiteral("a"));
    model::Transaction b = bankTransaction("-2", QStringLiteral("b"));
    open({a, b});
    QTest::keyClicks(sheet->titleField(), QStringLiteral("never"));
    QTest::keyClick(sheet.get(), Qt::Key_Escape);
    EXPECT_EQ(sheet->result(), QDialog::Rejected);
    EXPECT_EQ(utf8(a.title()), "a");

    open({a, b});
    choose(sheet->flagField(), QStringLiteral("No Flag"));
    EXPECT_TRUE(sheet->changeBox(Field::Flag)->isChecked());
    clickOk();
    EXPECT_FALSE(a.isNew());
    EXPECT_FALSE(b.isNew());
    EXPECT_FALSE(model::Transaction(in(*reloaded(), a.object())).isFlagged());
}

} // namespace
