#include "reports/BreakdownExport.h"

#include "ReportsFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vantrel;
using reports::BreakdownExport;
using reports::BreakdownTable;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

class BreakdownExportTest : public testsupport::ReportsFixture {
protected:
    QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    model::CategoryVT food = newCategory(QStringLiteral("Food"));
    model::CategoryVT salary = newCategory(QStringLiteral("Salary"));
};

TEST_F(BreakdownExportTest, FileNamesFollowTheSideShown) {
    EXPECT_EQ(utf8(BreakdownExport::proposedFileName(QStringLiteral("March, 2024"), false)),
              "March, 2024 Expense Breakdown");
    EXPECT_EQ(utf8(BreakdownExport::proposedFileName(QStringLiteral("2024"), true)), "2024 Income Breakdown");
}

TEST_F(BreakdownExportTest, OneQuotedLinePerCategoryLargestMagnitudeFirst) {
    const model::CategoryVT odd = newCategory(QStringLiteral("Bills, \"big\" ones"));
    const BreakdownTable side = {{salary.object(), amount("300")},
                                 {food.object(), amount("-500.00")},
                                 {nullptr, amount("-12.50")},
                                 {odd.object(), amount("0")}};

    EXPECT_EQ(utf8(BreakdownExport::breakdownCSV(side)), "Category,Amount\n"
                                                         "\"Food\",$-500\n"
                                                         "\"Salary\",$300\n"
                                                         "\"Uncategorized\",$-12.5\n"
                                                         "\"Bills, \"\"big\"\" ones\",$0\n");
    EXPECT_EQ(utf8(BreakdownExport::breakdownCSV({})), "Category,Amount\n");
}

TEST_F(BreakdownExportTest, TransactionsOfACategoryListOnlyItsLinesWithTheAccountCurrency) {
    model::Transaction lunch =
        newTransaction(dollars, "-12.50", day(2023, 1, 5), QStringLiteral("Lunch, \"Joe's\""), food.object());
    lunch.setNotes(QStringLiteral("with Ann"));
    const model::Transaction market = split(
        euros, day(2024, 11, 30), {{food.object(), "-4.00"}, {salary.object(), "100"}, {nullptr, "-0.5"}});
    const model::Transaction noTitle = newTransaction(dollars, "-3", day(2024, 2, 1), {}, salary.object());
    const std::vector<objectstore::ManagedObject*> shown = {market.object(), lunch.object(),
                                                            noTitle.object()};

    EXPECT_EQ(utf8(BreakdownExport::transactionsCSV(food.object(), shown)),
              "Date,Payee,Note,Amount, Currency\n"
              "11/30/2024,,,$-4, EUR\n"
              "01/05/2023,\"Lunch, \"\"Joe's\"\"\",\"with Ann\",$-12.5, USD\n");
    EXPECT_EQ(utf8(BreakdownExport::transactionsCSV(nullptr, shown)), "Date,Payee,Note,Amount, Currency\n"
                                                                      "11/30/2024,,,$-0.5, EUR\n");
}

TEST_F(BreakdownExportTest, WritingReplacesAWholeFileOrReportsWhyNot) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("March.csv"));
    QString error;
    ASSERT_TRUE(BreakdownExport::write(path, QStringLiteral("old text that is longer\n"), &error));
    ASSERT_TRUE(BreakdownExport::write(path, QStringLiteral("Category,Amount\n\"Café\",$-5\n"), &error));
    EXPECT_EQ(readFile(path), QByteArray("Category,Amount\n\"Caf\xC3\xA9\",$-5\n"));
    EXPECT_TRUE(error.isEmpty());

    const QString nowhere = folder.filePath(QStringLiteral("missing/folder/March.csv"));
    EXPECT_FALSE(BreakdownExport::write(nowhere, QStringLiteral("x"), &error));
    EXPECT_TRUE(error.contains(nowhere)) << utf8(error);
    EXPECT_FALSE(QFile::exists(nowhere));
}

} // namespace
