#pragma once

#include "import/AccountDictionary.h"
#include "import/DateOrder.h"
#include "model/Account.h"
#include "model/Transaction.h"
#include "platform/objectstore/ObjectID.h"
#include "platform/objectstore/SaveResult.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

namespace vantrel::objectstore {
class Context;
class ManagedObject;
} // namespace vantrel::objectstore

namespace vantrel::platform {
class Clock;
}

namespace vantrel::import {

// What the progress sheet of a run shows: a bar (determinate with value and maximum, or
// indeterminate) and a label.
struct ImportProgress {
    int value = 0;
    int maximum = 0;
    bool indeterminate = true;
    QString label;

    friend bool operator==(const ImportProgress&, const ImportProgress&) = default;
};

// What the screen that starts a run decides for it.
struct ImportChoices {
    // The order the user picked in the date-format sheet; none means "guess it".
    std::optional<DateOrder> userSelectedDateFormat;
    // The "ask for the date format" box: the run stops before creating anything and asks.
    bool shouldAskForDateFormat = false;
    // Owned by the caller, written by its thread, read before every transaction.
    const std::atomic<bool>* abortImport = nullptr;
    // Called on the run's own thread whenever the progress changes; the caller moves it to its
    // screen.
    std::function<void(const ImportProgress&)> progress;
};

// One run of the import of another program's export: a QIF file (a whole file of accounts, or
// transactions for one existing account) or a CSV file already mapped into an account entry.
// The run works in the context it is handed: a QIF run in a context of its own on the store (so
// it may run on a worker thread), a CSV run in the main context. Failures are ParseExceptions;
// a failed run leaves its context unsaved. One object serves one run.
class ImportOperation {
public:
    static constexpr auto kStartingUp = "Starting up...";
    static constexpr auto kImportingAccount = "Importing %1...";
    static constexpr auto kImportingTransactions = "Importing %1 transactions...";
    static constexpr auto kSavingChanges = "Saving changes...";

    static constexpr auto kAskForDateFormat = "AskForDateFormat";
    static constexpr auto kDateFormatCannotBeDetermined = "DateFormatCannotBeDetermined";
    static constexpr auto kParsingFailedWithSelectedDateFormat = "ParsingFailedWithSelectedDateFormat";
    static constexpr auto kParsingFailedWithDetectedDateFormat = "ParsingFailedWithDetectedDateFormat";
    static constexpr auto kSampleTextKey = "sampleText";
    static constexpr auto kDateFormatKey = "dateFormat";

    static constexpr auto kOpeningBalancePayee = "Opening Balance";
    // The guess looks at no more date texts than this.
    static constexpr int kDateGuessSampleSize = 100;

    // A QIF run: the file is read when the run starts. With a target account the file holds only
    // transactions for that account; without one it is a whole export with account blocks.
    ImportOperation(QString fileName, std::optional<objectstore::ObjectID> targetAccountID,
                    ImportChoices choices, const platform::Clock& clock);
    // A CSV run of an account entry the column mapping built.
    ImportOperation(ImportedAccount accountDictionary, objectstore::ObjectID targetAccountID,
                    ImportChoices choices, const platform::Clock& clock);

    // The QIF run in `context`, then its save. A failure of the run is thrown and nothing is
    // saved; a save the store refuses is returned as it came.
    objectstore::SaveResult import(objectstore::Context& context);
    // The CSV run in `context`, which must have no unsaved changes: a failure rolls the context
    // back to what is stored and is thrown again. The caller saves on success.
    void performCsvImport(objectstore::Context& context);

    // The two QIF roads, without saving.
    void importFileIntoContext(objectstore::Context& context);
    void importSingleAccountFileIntoContext(objectstore::Context& context);
    // The same roads on entries already read.
    void importAccountsIntoContext(const std::vector<ImportedAccount>& accounts,
                                   objectstore::Context& context);
    void importTransactionsIntoTargetAccount(const ImportedAccount& account, objectstore::Context& context);

    // The first kDateGuessSampleSize date texts, in file order over the accounts in order.
    static QStringList dateTextsForGuess(const std::vector<ImportedAccount>& accounts);
    // The order the run reads dates with (see ImportChoices); throws ParseException
    // "DateFormatException" when the user is to be asked or nothing can be guessed. No texts: none.
    std::optional<DateOrder> guessDateOrder(const QStringList& dateTexts) const;

    // A new transaction of no account from one entry of the file.
    model::Transaction createTransactionFromDictionary(const ImportedTransaction& entry,
                                                       objectstore::Context& context,
                                                       const std::optional<DateOrder>& dateOrder);
    // Titles an untitled transfer from its bracketed split categories; leaves it alone otherwise.
    static void attemptToFillTitleFromSplits(const std::vector<ImportedSplit>& splits,
                                             model::Transaction& transaction);
    // The title that splits naming only accounts give ("To Reserve", "A, B and C"); nothing when
    // any split has another category.
    static std::optional<QString> titleFromSplits(const std::vector<ImportedSplit>& splits);
    static bool isOpeningBalanceTransaction(const ImportedTransaction& entry, const model::Account& account);
    void determineStartBalanceDateFor(model::Account& account) const;
    static QString lookupAccountType(const std::optional<QString>& qifType);
    // The category a file's category text stands for, created when missing; nullptr for none.
    objectstore::ManagedObject* categoryForName(const std::optional<QString>& name,
                                                objectstore::Context& context);

    int numberOfTransactionsAdded() const { return m_numberOfTransactionsAdded; }
    const std::vector<objectstore::ManagedObject*>& transactionsAdded() const { return m_transactionsAdded; }
    const std::vector<objectstore::ManagedObject*>& accountsAdded() const { return m_accountsAdded; }
    const std::vector<objectstore::ManagedObject*>& categoriesAdded() const { return m_categoriesAdded; }
    // Filled once the run's changes are saved (QIF) or done (CSV).
    const std::vector<objectstore::ObjectID>& idsOfTransactionsAdded() const {
        return m_idsOfTransactionsAdded;
    }
    const std::vector<objectstore::ObjectID>& idsOfAccountsAdded() const { return m_idsOfAccountsAdded; }
    const std::vector<objectstore::ObjectID>& idsOfCategoriesAdded() const { return m_idsOfCategoriesAdded; }

    const QString& fileName() const { return m_fileName; }
    const std::optional<objectstore::ObjectID>& targetAccountID() const { return m_targetAccountID; }

private:
    model::Account targetAccountIn(objectstore::Context& context) const;
    void importAccount(const ImportedAccount& entry, std::optional<DateOrder> dateOrder,
                       objectstore::Context& context);
    void addTransaction(const ImportedTransaction& entry, model::Account& account,
                        const std::optional<DateOrder>& dateOrder, objectstore::Context& context);
    model::Day readDate(const std::optional<QString>& dateString,
                        const std::optional<DateOrder>& dateOrder) const;
    void setCategories(const ImportedTransaction& entry, model::Transaction& transaction,
                       objectstore::Context& context);
    objectstore::ManagedObject* transferCategory(objectstore::Context& context);
    void throwIfAborted() const;
    void report(int value, int maximum, bool indeterminate, const QString& label);
    void reportValue(int value);
    void recordIds();

    QString m_fileName;
    std::optional<ImportedAccount> m_accountDictionary;
    std::optional<objectstore::ObjectID> m_targetAccountID;
    ImportChoices m_choices;
    const platform::Clock& m_clock;
    ImportProgress m_progress;

    int m_numberOfTransactionsAdded = 0;
    std::vector<objectstore::ManagedObject*> m_transactionsAdded;
    std::vector<objectstore::ManagedObject*> m_accountsAdded;
    std::vector<objectstore::ManagedObject*> m_categoriesAdded;
    std::unordered_map<QString, objectstore::ManagedObject*> m_categoryByName;
    objectstore::ManagedObject* m_transferCategory = nullptr;
    std::vector<objectstore::ObjectID> m_idsOfTransactionsAdded;
    std::vector<objectstore::ObjectID> m_idsOfAccountsAdded;
    std::vector<objectstore::ObjectID> m_idsOfCategoriesAdded;
};

} // namespace vantrel::import
