#pragma once

#include "app/SplitLineAmountFormatter.h"
#include "model/Account.h"
#include "model/CurrencyFormatter.h"
#include "model/IcuBridge.h"
#include "model/Transaction.h"
#include "model/VTDateFormatter.h"

#include <QString>

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace vantrel::app {

class Workspace;

// The transaction list of the main window: which transactions it shows, in which order, what each
// column of a row reads, and the status line below it. Commands that change the transactions live in
// RegisterCommands; this model follows them through reload().
class RegisterViewModel {
public:
    enum class Mode { SingleAccount, AllAccounts, GivenSet };
    // The ui picks the colours: green, red, grey.
    enum class AmountColour { Positive, Negative, Zero };

    struct Description {
        QString title; // the title, else the category-based title
        std::optional<std::int64_t> checkNumber;
        QString notes; // null when there are none
    };
    struct Flag {
        QString image;      // "FlagPending", "FlagNew", or null
        QString hoverImage; // what a click would set, for rows that show no flag; else null
    };
    struct StatusLine {
        QString text;
        QString toolTip;
    };
    struct EmptyHint {
        QString title;
        QString message;
        QString button;
    };

    static constexpr auto kShowBalanceColumnKey = "VTShowBalanceColumn";

    static RegisterViewModel forAccount(Workspace& workspace, const model::Account& account,
                                        const QString& localeId = model::IcuBridge::systemLocaleId());
    static RegisterViewModel forAllAccounts(Workspace& workspace,
                                            const QString& localeId = model::IcuBridge::systemLocaleId());
    static RegisterViewModel forTransactions(Workspace& workspace,
                                             std::vector<objectstore::ManagedObject*> transactions,
                                             const QString& localeId = model::IcuBridge::systemLocaleId());

    // For content the caller has just put in the default order (search results): skips checking it.
    static RegisterViewModel
    forOrderedTransactions(Workspace& workspace, std::vector<objectstore::ManagedObject*> transactions,
                           const QString& localeId = model::IcuBridge::systemLocaleId());

    Mode mode() const { return m_mode; }
    std::optional<model::Account> account() const { return m_account; }
    Workspace& workspace() const { return m_workspace; }

    // Reads the content again and restores the default order: single-account and all-accounts
    // registers pick up inserted and deleted transactions; a given set drops deleted ones.
    void reload();

    std::size_t rowCount() const { return m_rows.size(); }
    model::Transaction transactionAt(std::size_t row) const;
    std::optional<std::size_t> rowOf(const model::Transaction& transaction) const;

    // Columns.
    QString dateText(std::size_t row) const;
    Description description(std::size_t row) const;
    QString categoryText(std::size_t row) const;
    QString amountText(std::size_t row) const;
    AmountColour amountColour(std::size_t row) const;
    // The balance of the transaction's account just after it, from one pass over each account.
    model::Amount runningBalance(std::size_t row) const;
    QString balanceText(std::size_t row) const;
    Flag flag(std::size_t row) const;

    // The balance line with fewer than two rows selected, the count and total with more.
    StatusLine statusLine(const std::vector<model::Transaction>& selection) const;
    // A click on the status line of a single-account register switches to the cleared balance and
    // back.
    void clickStatusLine();
    bool showsClearedBalance() const { return m_showsClearedBalance; }

    bool isBalanceColumnShown() const { return m_balanceColumnShown; }
    void toggleBalanceColumn();

    // Every transaction of the context, newest first.
    static std::vector<objectstore::ManagedObject*>
    allTransactionsInDefaultOrder(objectstore::Context& context);

    // The welcome hint shows while the database has no transaction at all.
    bool showsEmptyHint() const;
    static EmptyHint emptyHint();

private:
    RegisterViewModel(Workspace& workspace, Mode mode, std::optional<model::Account> account,
                      std::vector<objectstore::ManagedObject*> given, const QString& localeId,
                      bool givenInOrder = false);

    void sortRows();
    void computeBalances() const;
    const model::CurrencyFormatter& formatterFor(const model::Transaction& transaction) const;
    const SplitLineAmountFormatter& lineFormatterFor(const model::Transaction& transaction) const;
    QString currencyCodeOf(const model::Transaction& transaction) const;
    QString selectionTotal(const std::vector<model::Transaction>& selection) const;

    Workspace& m_workspace;
    Mode m_mode;
    std::optional<model::Account> m_account;
    QString m_localeId;
    std::vector<objectstore::ManagedObject*> m_rows;
    mutable std::vector<model::Amount> m_balances; // empty until first asked for
    model::Day m_today;
    model::VTDateFormatter m_dateFormatter;
    // Few currencies per register; a formatter per row would dominate the cost of a large list. A deque
    // keeps handed-out references valid when another currency is added.
    mutable std::deque<std::pair<QString, model::CurrencyFormatter>> m_formatters;
    mutable std::deque<std::pair<QString, SplitLineAmountFormatter>> m_lineFormatters;
    bool m_balanceColumnShown = false;
    bool m_showsClearedBalance = false;
};

} // namespace vantrel::app
