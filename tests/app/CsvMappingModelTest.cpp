#include "app/CsvMappingModel.h"

#include "import/CsvReader.h"
#include "platform/InternalError.h"
#include "platform/LogCapture.h"
#include "support/ModelValues.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantrel::app {
namespace {

using import::CsvField;
using import::CsvRows;
using testsupport::amount;
using testsupport::utf8;

CsvRows sampleRows() {
    return {
        {"Date", "Description", "Amount", "Sign"},
        {"01/15/2024", "Coffee", "4.50", "-"},
        {"01/16/2024", "Salary", "2500.00", "+"},
    };
}

using Titles = std::vector<std::string>;

Titles menuTitles(const CsvMappingModel& model, int column) {
    Titles titles;
    for (const CsvMappingModel::MenuItem& item : model.menuItemsForColumn(column)) {
        titles.push_back(utf8(item.title));
    }
    return titles;
}

Titles headers(const CsvMappingModel& model) {
    Titles titles;
    for (int column = 0; column < model.columnCount(); ++column) {
        titles.push_back(utf8(model.headerTitle(column)));
    }
    return titles;
}

void choose(CsvMappingModel& model, CsvField field, int column) {
    model.menuItemSelectedForColumn({import::CsvSettings::titleFor(field), field}, column);
}

// Maps the fields to the first columns, in order.
void chooseInOrder(CsvMappingModel& model, std::initializer_list<CsvField> fields) {
    int column = 0;
    for (CsvField field : fields) {
        choose(model, field, column++);
    }
}

CsvMappingModel bankModel(CsvRows rows = sampleRows()) {
    CsvMappingModel model;
    model.setupWithRows(std::move(rows));
    return model;
}

CsvMappingModel programModel(CsvRows rows = sampleRows()) {
    CsvMappingModel model;
    model.setImportFromBank(false);
    model.setupWithRows(std::move(rows));
    return model;
}

TEST(CsvMappingModelTest, SetupStartsEmptyEveryTime) {
    CsvMappingModel model = bankModel();
    EXPECT_TRUE(model.isImportFromBank());
    EXPECT_EQ(headers(model), (Titles{"", "", "", ""})); // one per column
    EXPECT_FALSE(model.isImportEnabled());
    EXPECT_TRUE(model.remember());
    EXPECT_TRUE(model.isRememberBoxVisible());

    choose(model, CsvField::Date, 0);
    model.hasHeaderChanged(true);
    model.separateAmountSignCheckboxChanged(true);
    model.setRemember(false);
    model.setupWithRows({{"a", "b"}});
    EXPECT_EQ(headers(model), (Titles{"", ""}));
    EXPECT_FALSE(model.hasHeader() || model.separateAmountSign() || model.separateDepositWithdrawal());
    EXPECT_TRUE(model.remember());
    EXPECT_TRUE(model.settings().columnMapping.empty());

    EXPECT_FALSE(programModel().isRememberBoxVisible());
}

TEST(CsvMappingModelTest, HeaderMenusOfferTheBlankItemThenUnmappedAvailableFields) {
    CsvMappingModel model = bankModel();
    EXPECT_EQ(menuTitles(model, 1), (Titles{"", "Date", "Payee", "Amount"}));
    EXPECT_FALSE(model.menuItemsForColumn(1).front().field);
    choose(model, CsvField::Date, 0);
    EXPECT_EQ(menuTitles(model, 1), (Titles{"", "Payee", "Amount"}));
    EXPECT_EQ(menuTitles(model, 0), (Titles{"", "Payee", "Amount"}));

    CsvMappingModel program = programModel();
    EXPECT_EQ(menuTitles(program, 0),
              (Titles{"", "Date", "Payee", "Amount", "Category", "Notes", "Check Number"}));
    program.separateDepositWithdrawalCheckboxChanged(true);
    EXPECT_EQ(menuTitles(program, 0),
              (Titles{"", "Date", "Payee", "Deposit", "Withdrawal", "Category", "Notes", "Check Number"}));
    EXPECT_THROW(program.menuItemsForColumn(4), platform::InternalError);
}

TEST(CsvMappingModelTest, ChoosingAnItemReplacesTheColumnsFieldAndMovesTheField) {
    CsvMappingModel model = bankModel();
    choose(model, CsvField::Date, 0);
    choose(model, CsvField::Payee, 0);
    EXPECT_EQ(headers(model), (Titles{"Payee", "", "", ""}));
    choose(model, CsvField::Payee, 2);
    EXPECT_EQ(headers(model), (Titles{"", "", "Payee", ""}));
    model.menuItemSelectedForColumn(CsvMappingModel::MenuItem{}, 2);
    EXPECT_EQ(headers(model), (Titles{"", "", "", ""}));
}

TEST(CsvMappingModelTest, AmountBoxesExcludeEachOtherAndUnmapFieldsNoLongerAvailable) {
    CsvMappingModel model = bankModel();
    chooseInOrder(model, {CsvField::Date, CsvField::Payee, CsvField::Amount});
    EXPECT_TRUE(model.isImportEnabled());

    model.separateAmountSignCheckboxChanged(true);
    EXPECT_FALSE(model.isSeparateDepositWithdrawalEnabled());
    EXPECT_TRUE(model.isSeparateAmountSignEnabled());
    EXPECT_FALSE(model.isImportEnabled()); // the sign is now required
    EXPECT_THROW(model.separateDepositWithdrawalCheckboxChanged(true), platform::InternalError);
    choose(model, CsvField::AmountSign, 3);
    EXPECT_TRUE(model.isImportEnabled());

    model.separateAmountSignCheckboxChanged(false);
    EXPECT_EQ(headers(model), (Titles{"Date", "Payee", "Amount", ""}));
    EXPECT_TRUE(model.isSeparateDepositWithdrawalEnabled());
    model.separateDepositWithdrawalCheckboxChanged(true);
    EXPECT_FALSE(model.isSeparateAmountSignEnabled());
    EXPECT_EQ(headers(model), (Titles{"Date", "Payee", "", ""}));
    EXPECT_FALSE(model.isImportEnabled());
    choose(model, CsvField::Deposit, 2);
    EXPECT_FALSE(model.isImportEnabled());
    choose(model, CsvField::Withdrawal, 3);
    EXPECT_TRUE(model.isImportEnabled());
    model.menuItemSelectedForColumn(CsvMappingModel::MenuItem{}, 0);
    EXPECT_FALSE(model.isImportEnabled());
}

TEST(CsvMappingModelTest, TheProgramRoadNeedsNoPayeeButKeepsOptionalFields) {
    CsvMappingModel model = programModel();
    choose(model, CsvField::Date, 0);
    choose(model, CsvField::Amount, 2);
    EXPECT_TRUE(model.isImportEnabled());
    choose(model, CsvField::Memo, 1);
    model.separateAmountSignCheckboxChanged(true);
    EXPECT_EQ(headers(model), (Titles{"Date", "Notes", "Amount", ""}));
    // Switching to the bank road drops what it does not offer.
    model.setImportFromBank(true);
    EXPECT_EQ(headers(model), (Titles{"Date", "", "Amount", ""}));
}

TEST(CsvMappingModelTest, InstructionNamesTheRequiredFieldsAsANaturalList) {
    const std::string prefix = "Please identify the ";
    const std::string suffix = " fields below by clicking on their column headers.";
    struct Case {
        bool fromBank;
        bool sign;
        bool depositWithdrawal;
        const char* list;
    };
    const Case cases[] = {
        {true, false, false, "date, payee and amount"},
        {true, true, false, "date, payee, amount and amount sign"},
        {true, false, true, "date, payee, deposit and withdrawal"},
        {false, false, false, "date, amount and other"},
        {false, true, false, "date, amount, amount sign and other"},
        {false, false, true, "date, deposit, withdrawal and other"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        CsvMappingModel model = c.fromBank ? bankModel() : programModel();
        model.separateAmountSignCheckboxChanged(c.sign);
        model.separateDepositWithdrawalCheckboxChanged(c.depositWithdrawal);
        EXPECT_EQ(utf8(model.instructionText()), prefix + c.list + suffix);
    }
}

TEST(CsvMappingModelTest, UnmappedColumnsAndTheHeaderRowAreGrey) {
    CsvMappingModel model = bankModel();
    choose(model, CsvField::Payee, 1);
    EXPECT_TRUE(model.isCellGrey(1, 0));
    EXPECT_FALSE(model.isCellGrey(0, 1));
    EXPECT_FALSE(model.isCellGrey(2, 1));
    model.hasHeaderChanged(true);
    EXPECT_TRUE(model.isCellGrey(0, 1));
    EXPECT_FALSE(model.isCellGrey(1, 1));
    EXPECT_THROW(model.isCellGrey(3, 1), platform::InternalError);
}

TEST(CsvMappingModelTest, ColumnsFitTheirWidestCellWithinBounds) {
    const CsvMappingModel model =
        bankModel({{"a", QString(12, 'x'), QString(40, 'y'), "short\n" + QString(15, 'z')}});
    EXPECT_EQ(model.columnWidth(0), CsvMappingModel::kMinimumColumnWidth);
    EXPECT_EQ(model.columnWidth(1),
              12 * CsvMappingModel::kPointsPerCharacter + CsvMappingModel::kCellPadding);
    EXPECT_EQ(model.columnWidth(2), CsvMappingModel::kMaximumColumnWidth);
    // A cell with a line break is as wide as its longest line.
    EXPECT_EQ(model.columnWidth(3),
              15 * CsvMappingModel::kPointsPerCharacter + CsvMappingModel::kCellPadding);
}

TEST(CsvMappingModelTest, ImportReturnsTheBankDictionaryOrTheProgramEntryAndTheSettingsToRemember) {
    CsvMappingModel model = bankModel();
    model.hasHeaderChanged(true);
    chooseInOrder(model, {CsvField::Date, CsvField::Payee, CsvField::Amount});
    choose(model, CsvField::AmountSign, 3); // not available: ignored and unmapped
    model.separateAmountSignCheckboxChanged(true);
    choose(model, CsvField::AmountSign, 3);

    auto outcome = model.import();
    ASSERT_TRUE(std::holds_alternative<CsvMappingModel::Finished>(outcome));
    auto& finished = std::get<CsvMappingModel::Finished>(outcome);
    const auto& dictionary = std::get<import::AccountDictionary>(finished.result);
    ASSERT_EQ(dictionary.accounts.at(0).transactions.size(), 2u);
    EXPECT_EQ(dictionary.accounts.at(0).transactions.at(0).amount, amount("-4.50"));
    EXPECT_EQ(dictionary.accounts.at(0).transactions.at(1).name, QStringLiteral("Salary"));
    ASSERT_TRUE(finished.settings);
    EXPECT_EQ(*finished.settings, model.settings());
    EXPECT_TRUE(finished.settings->hasHeader && finished.settings->separateAmountSign);

    model.setRemember(false);
    outcome = model.import();
    EXPECT_FALSE(std::get<CsvMappingModel::Finished>(outcome).settings);

    CsvMappingModel program = programModel();
    program.hasHeaderChanged(true);
    chooseInOrder(program, {CsvField::Date, CsvField::Category, CsvField::Amount});
    outcome = program.import();
    const auto& account =
        std::get<import::ImportedAccount>(std::get<CsvMappingModel::Finished>(outcome).result);
    ASSERT_EQ(account.transactions.size(), 2u);
    EXPECT_EQ(account.transactions.at(0).splits.at(0).category, QStringLiteral("Coffee"));
    EXPECT_EQ(account.transactions.at(0).isPending, false);
}

TEST(CsvMappingModelTest, ImportExplainsTextsThatDoNotRead) {
    platform::LogCapture quiet;
    CsvMappingModel model = bankModel();
    chooseInOrder(model, {CsvField::Date, CsvField::Payee, CsvField::Amount});
    // The header row is not ticked as one, so its "Date" is read as a date.
    auto problem = std::get<CsvMappingModel::Problem>(model.import());
    EXPECT_EQ(utf8(problem.message), "This text \"Date\" does not look like a date.");
    EXPECT_EQ(utf8(problem.explanation),
              "Please adjust settings to make sure all text displayed in black are in the "
              "proper format. A date should look like \"10/21/2010.\"");

    model.hasHeaderChanged(true);
    choose(model, CsvField::Amount, 3); // the sign column: "-" has no digit
    problem = std::get<CsvMappingModel::Problem>(model.import());
    EXPECT_EQ(utf8(problem.message), "This text \"-\" does not look like an amount.");
    EXPECT_EQ(utf8(problem.explanation),
              "Please adjust settings to make sure all text displayed in black are in the "
              "proper format. An amount should look like \"-10.00.\"");

    model.menuItemSelectedForColumn(CsvMappingModel::MenuItem{}, 3);
    EXPECT_THROW(model.import(), platform::InternalError);
}

TEST(CsvMappingModelTest, ABufferTooSmallRowCannotTakeADate) {
    CsvMappingModel model = bankModel({{"ERROR: Buffer too small"}});
    EXPECT_EQ(model.columnCount(), 1);
    choose(model, CsvField::Date, 0);
    // With one column, payee and amount cannot be mapped as well, so Import stays off.
    EXPECT_EQ(menuTitles(model, 0), (Titles{"", "Payee", "Amount"}));
    EXPECT_FALSE(model.isImportEnabled());
}

} // namespace
} // namespace vantrel::app
