#include "import/AccountExporter.h"

#include "model/MoneyFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>

namespace vantrel::import {
namespace {

using model::Account;
using model::PlainSplit;
using model::Transaction;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

class AccountExporterTest : public testsupport::MoneyFixture {
protected:
    // Cleared: not flagged, so not pending.
    Transaction cleared(Account& account, const char* value, const model::Day& date, const QString& title,
                        objectstore::ManagedObject* category = nullptr, const QString& notes = {}) {
        Transaction transaction = newTransaction(account, value, date, title, category);
        transaction.setNotes(notes);
        transaction.setFlagged(false);
        return transaction;
    }

    std::vector<std::string> lines(const QString& text) {
        std::vector<std::string> out;
        for (const QString& line : text.split(u'\n')) {
            out.push_back(utf8(line));
        }
        return out;
    }

    Account account = newAccount(QStringLiteral("Checking"));
};

TEST_F(AccountExporterTest, CsvAndQifListTransactionsInRegisterOrderNewestFirst) {
    model::CategoryVT food = newCategory(QStringLiteral("Food"));
    cleared(account, "-12.50", day(2023, 1, 5), QStringLiteral("Corner Cafe"), food.object(),
            QStringLiteral("lunch"));
    cleared(account, "100.00", day(2023, 2, 1), QStringLiteral("Refund"));
    EXPECT_EQ(utf8(AccountExporter::exportTransactionsToCsv(account)),
              "Date,Title,Category,Note,Amount\n"
              "02/01/2023,\"Refund\",,,100\n"
              "01/05/2023,\"Corner Cafe\",\"Food\",\"lunch\",-12.5\n");
    EXPECT_EQ(utf8(AccountExporter::exportTransactionsToQif(account)),
              "!Type:Bank\n"
              "D01/02/2023\nT100\nPRefund\nC*\n^\n"
              "D05/01/2023\nT-12.5\nPCorner Cafe\nC*\nLFood\nMlunch\n^\n");
}

TEST_F(AccountExporterTest, QuotesCommasAndPlaceholdersInTextsStayInOneField) {
    cleared(account, "-1", day(2023, 3, 1), QStringLiteral("Smith, \"Bob\" %1"), nullptr,
            QStringLiteral("a \"b\""));
    const std::vector<std::string> csv = lines(AccountExporter::exportTransactionsToCsv(account));
    ASSERT_EQ(csv.size(), 3U);
    EXPECT_EQ(csv[1], "03/01/2023,\"Smith, \"\"Bob\"\" %1\",,\"a \"\"b\"\"\",-1");
    EXPECT_EQ(utf8(AccountExporter::csvEscapedString(QString())), "");
    EXPECT_EQ(utf8(AccountExporter::csvEscapedString(QStringLiteral(""))), "");
    EXPECT_EQ(utf8(AccountExporter::csvEscapedString(QStringLiteral("\""))), "\"\"\"\"");
    EXPECT_EQ(utf8(AccountExporter::csvEscapedString(QStringLiteral(" "))), "\" \"");
}

TEST_F(AccountExporterTest, MissingTitleAndBlankNotesLeaveEmptyValues) {
    cleared(account, "-5", day(2023, 3, 1), QString(), nullptr, QStringLiteral("only a note"));
    cleared(account, "-6", day(2023, 3, 2), QStringLiteral("Blank note"), nullptr, QStringLiteral(" \t "));
    EXPECT_EQ(utf8(AccountExporter::exportTransactionsToCsv(account)),
              "Date,Title,Category,Note,Amount\n"
              "03/02/2023,\"Blank note\",,\" \t \",-6\n"
              "03/01/2023,,,\"only a note\",-5\n");
    EXPECT_EQ(utf8(AccountExporter::exportTransactionsToQif(account)),
              "!Type:Bank\n"
              "D02/03/2023\nT-6\nPBlank note\nC*\n^\n"
              "D01/03/2023\nT-5\nP\nC*\nMonly a note\n^\n");
}

TEST_F(AccountExporterTest, SplitTransactionGivesALinePerCategoryAndSPairsInQif) {
    model::CategoryVT food = newCategory(QStringLiteral("Food"));
    model::CategoryVT home = newCategory(QStringLiteral("Home"));
    Transaction shop = cleared(account, "-60.00", day(2023, 1, 5), QStringLiteral("Market"), nullptr,
                               QStringLiteral("weekly"));
    shop.setMultipleCategoriesAndAmounts({PlainSplit{food.object(), amount("-40.00")},
                                          PlainSplit{home.object(), amount("-19.50")},
                                          PlainSplit{nullptr, amount("-0.50")}});

    std::vector<std::string> csv = lines(AccountExporter::exportTransactionsToCsv(account));
    ASSERT_EQ(csv.size(), 5U); // header, three lines, the empty piece after the last newline
    EXPECT_EQ(csv.back(), "");
    std::vector<std::string> body(csv.begin() + 1, csv.end() - 1);
    std::sort(body.begin(), body.end());
    EXPECT_EQ(body, (std::vector<std::string>{"01/05/2023,\"Market\",\"Food\",\"weekly\",-40",
                                              "01/05/2023,\"Market\",\"Home\",\"weekly\",-19.5",
                                              "01/05/2023,\"Market\",,\"weekly\",-0.5"}));

    const QString qif = AccountExporter::exportTransactionsToQif(account);
    EXPECT_TRUE(qif.startsWith(QStringLiteral("!Type:Bank\nD05/01/2023\nT-60\nPMarket\nC*\nS")));
    EXPECT_TRUE(qif.endsWith(QStringLiteral("Mweekly\n^\n")));
    EXPECT_FALSE(qif.contains(QStringLiteral("\nL")));
    for (const char* pair : {"SFood\n$-40\n", "SHome\n$-19.5\n", "S\n$-0.5\n"}) {
        EXPECT_EQ(qif.count(QString::fromLatin1(pair)), 1) << pair;
    }
    EXPECT_EQ(qif.count(QStringLiteral("^\n")), 1);
}

TEST_F(AccountExporterTest, OnlyPendingTransactionsLackTheClearedLine) {
    Transaction pending = newTransaction(account, "-1", day(2023, 1, 1), QStringLiteral("Pending"));
    ASSERT_TRUE(pending.isPending());
    // Flagged but carrying bank data: new from the bank, not pending.
    Transaction fromBank = newTransaction(account, "-2", day(2023, 1, 2), QStringLiteral("New"));
    fromBank.setOfxTitle(QStringLiteral("NEW"));
    fromBank.setOfxAmount(amount("-2"));
    fromBank.setOfxDate(day(2023, 1, 2));
    fromBank.setImported(true);
    ASSERT_TRUE(fromBank.isFlagged() && !fromBank.isPending());
    cleared(account, "-3", day(2023, 1, 3), QStringLiteral("Cleared"));
    EXPECT_EQ(utf8(AccountExporter::exportTransactionsToQif(account)), "!Type:Bank\n"
                                                                       "D03/01/2023\nT-3\nPCleared\nC*\n^\n"
                                                                       "D02/01/2023\nT-2\nPNew\nC*\n^\n"
                                                                       "D01/01/2023\nT-1\nPPending\n^\n");
}

TEST_F(AccountExporterTest, AmountsAreWrittenInTheirShortestPlainForm) {
    EXPECT_EQ(utf8(AccountExporter::amountText(amount("100.00"))), "100");
    EXPECT_EQ(utf8(AccountExporter::amountText(amount("-0.50"))), "-0.5");
    EXPECT_EQ(utf8(AccountExporter::amountText(amount("-12.50"))), "-12.5");
    EXPECT_EQ(utf8(AccountExporter::amountText(amount("0.00"))), "0");
    EXPECT_EQ(utf8(AccountExporter::amountText(amount("1234567.891"))), "1234567.891");
    EXPECT_EQ(utf8(AccountExporter::amountText(amount("-1E3"))), "-1000");
}

TEST_F(AccountExporterTest, DatesKeepFourYearDigitsAndLeadingZeros) {
    cleared(account, "1", day(987, 3, 4), QStringLiteral("Old"));
    EXPECT_TRUE(AccountExporter::exportTransactionsToCsv(account).contains(QStringLiteral("\n03/04/0987,")));
    EXPECT_TRUE(
        AccountExporter::exportTransactionsToQif(account).contains(QStringLiteral("\nD04/03/0987\n")));
}

TEST_F(AccountExporterTest, AnAccountWithoutTransactionsGivesOnlyTheHeader) {
    EXPECT_EQ(utf8(AccountExporter::exportTransactionsToCsv(account)), "Date,Title,Category,Note,Amount\n");
    EXPECT_EQ(utf8(AccountExporter::exportTransactionsToQif(account)), "!Type:Bank\n");
}

TEST_F(AccountExporterTest, WritingReplacesTheFileWithUtf8) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Checking.csv"));
    QFile existing(path);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write(QByteArray(4096, 'x'));
    existing.close();

    const QString text = QStringLiteral("Date,Title\n01/05/2023,\"Caf\u00e9 \u20ac\"\n");
    EXPECT_FALSE(AccountExporter::writeToFile(path, text).has_value());
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), text.toUtf8());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Checking.csv")});
}

TEST_F(AccountExporterTest, WriteFailuresAreReportedAndCreateNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missingFolder = dir.filePath(QStringLiteral("missing/Checking.qif"));
    const std::optional<QString> failure = AccountExporter::writeToFile(missingFolder, QStringLiteral("x"));
    ASSERT_TRUE(failure.has_value());
    EXPECT_TRUE(failure->startsWith(QStringLiteral("The file \"%1\" could not be").arg(missingFolder)))
        << utf8(*failure);
    EXPECT_FALSE(QFile::exists(missingFolder));

    // A folder in the way is left alone.
    const QString folder = dir.filePath(QStringLiteral("Folder"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Folder")));
    EXPECT_TRUE(AccountExporter::writeToFile(folder, QStringLiteral("x")).has_value());
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

} // namespace
} // namespace vantrel::import
