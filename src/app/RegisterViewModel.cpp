#include "app/RegisterViewModel.h"

#include "app/TransactionOrder.h"
#include "app/Workspace.h"
#include "model/CategoryVT.h"
#include "model/General.h"
#include "model/Global.h"
#include "platform/InternalError.h"
#include "platform/UserDefaults.h"
#include "platform/objectstore/Context.h"

#include <algorithm>
#include <unordered_map>

namespace vantrel::app {

namespace {

QString categoryName(objectstore::ManagedObject* category) {
    return category == nullptr ? QString() : model::CategoryVT(category).name();
}

} // namespace

RegisterViewModel::RegisterViewModel(Workspace& workspace, Mode mode, std::optional<model::Account> account,
                                     std::vector<objectstore::ManagedObject*> given, const QString& localeId,
                                     bool givenInOrder)
    : m_workspace(workspace)
    , m_mode(mode)
    , m_account(std::move(account))
    , m_localeId(localeId)
    , m_rows(std::move(given))
    , m_today(model::Day::today_VT(workspace.clock()))
    , m_dateFormatter(localeId) {
    m_balanceColumnShown = mode != Mode::AllAccounts &&
                           workspace.defaults().boolValue(QString::fromLatin1(kShowBalanceColumnKey));
    if (!givenInOrder) {
        reload();
    }
}

RegisterViewModel RegisterViewModel::forAccount(Workspace& workspace, const model::Account& account,
                                                const QString& localeId) {
    return RegisterViewModel(workspace, Mode::SingleAccount, account, {}, localeId);
}

RegisterViewModel RegisterViewModel::forAllAccounts(Workspace& workspace, const QString& localeId) {
    return RegisterViewModel(workspace, Mode::AllAccounts, std::nullopt, {}, localeId);
}

RegisterViewModel RegisterViewModel::forOrderedTransactions(
    Workspace& workspace, std::vector<objectstore::ManagedObject*> transactions, const QString& localeId) {
    return RegisterViewModel(workspace, Mode::GivenSet, std::nullopt, std::move(transactions), localeId,
                             true);
}

RegisterViewModel RegisterViewModel::forTransactions(Workspace& workspace,
                                                     std::vector<objectstore::ManagedObject*> transactions,
                                                     const QString& localeId) {
    return RegisterViewModel(workspace, Mode::GivenSet, std::nullopt, std::move(transactions), localeId);
}

void RegisterViewModel::reload() {
    m_today = model::Day::today_VT(m_workspace.clock());
    m_balances.clear();
    switch (m_mode) {
    case Mode::SingleAccount:
        // Kept in default order by the context.
        m_rows = m_account->orderedTransactions();
        return;
    case Mode::AllAccounts:
        m_rows = allTransactionsInDefaultOrder(m_workspace.context());
        return;
    case Mode::GivenSet:
        std::erase_if(m_rows, [](const objectstore::ManagedObject* row) { return row->isDeleted(); });
        break;
    }
    TransactionOrder::sort(m_rows);
}

std::vector<objectstore::ManagedObject*>
RegisterViewModel::allTransactionsInDefaultOrder(objectstore::Context& context) {
    std::vector<objectstore::ManagedObject*> all = context.all(u"Transaction");
    TransactionOrder::sort(all);
    return all;
}

model::Transaction RegisterViewModel::transactionAt(std::size_t row) const {
    if (row >= m_rows.size()) {
        throw platform::InternalError(
            QStringLiteral("register row %1 out of range, %2 rows").arg(row).arg(m_rows.size()));
    }
    return model::Transaction(m_rows[row]);
}

std::optional<std::size_t> RegisterViewModel::rowOf(const model::Transaction& transaction) const {
    const auto found = std::find(m_rows.begin(), m_rows.end(), transaction.object());
    if (found == m_rows.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - m_rows.begin());
}

QString RegisterViewModel::dateText(std::size_t row) const {
    const std::optional<model::Day> date = transactionAt(row).date();
    if (!date) {
        return QString();
    }
    switch (date->numberOfDaysAfter_VT(m_today)) {
    case 0:
        return QStringLiteral("Today");
    case 1:
        return QStringLiteral("Tomorrow");
    case -1:
        return QStringLiteral("Yesterday");
    default:
        return m_dateFormatter.format(*date);
    }
}

RegisterViewModel::Description RegisterViewModel::description(std::size_t row) const {
    const model::Transaction transaction = transactionAt(row);
    Description result;
    result.title = transaction.hasTitle() ? transaction.title() : transaction.categoryBasedTitle();
    result.checkNumber = transaction.checkNumber();
    if (transaction.hasNote()) {
        result.notes = transaction.notes();
    }
    return result;
}

QString RegisterViewModel::categoryText(std::size_t row) const {
    const model::Transaction transaction = transactionAt(row);
    if (transaction.hasSingleCategory()) {
        return categoryName(transaction.theCategory());
    }
    const SplitLineAmountFormatter& formatter = lineFormatterFor(transaction);
    QStringList lines;
    for (const model::PlainSplit& line : transaction.sortedSplits()) {
        const QString name =
            line.category == nullptr ? QStringLiteral("Uncategorized") : categoryName(line.category);
        lines.append(name + QStringLiteral(": ") + formatter.format(line.amount));
    }
    return lines.join(u'\n');
}

QString RegisterViewModel::amountText(std::size_t row) const {
    const model::Transaction transaction = transactionAt(row);
    return formatterFor(transaction).format(transaction.amount().value_or(model::Amount()));
}

RegisterViewModel::AmountColour RegisterViewModel::amountColour(std::size_t row) const {
    const int sign = transactionAt(row).amount().value_or(model::Amount()).sign();
    if (sign > 0) {
        return AmountColour::Positive;
    }
    return sign < 0 ? AmountColour::Negative : AmountColour::Zero;
}

model::Amount RegisterViewModel::runningBalance(std::size_t row) const {
    transactionAt(row); // range check
    if (m_balances.empty()) {
        computeBalances();
    }
    return m_balances[row];
}

QString RegisterViewModel::balanceText(std::size_t row) const {
    return formatterFor(transactionAt(row)).format(runningBalance(row));
}

void RegisterViewModel::computeBalances() const {
    m_balances.assign(m_rows.size(), model::Amount());
    const auto amountOf = [](objectstore::ManagedObject* object) {
        return model::Transaction(object).amount().value_or(model::Amount());
    };
    if (m_mode == Mode::SingleAccount) {
        // The rows are the account's whole list, newest first: accumulate from the oldest.
        model::Amount balance = m_account->startBalance().value_or(model::Amount());
        for (std::size_t row = m_rows.size(); row-- > 0;) {
            balance += amountOf(m_rows[row]);
            m_balances[row] = balance;
        }
        return;
    }
    // Rows from several accounts, or a part of one: one pass over each account's whole list.
    std::unordered_map<const objectstore::ManagedObject*, std::size_t> rowByObject;
    rowByObject.reserve(m_rows.size());
    std::vector<objectstore::ManagedObject*> accounts;
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        rowByObject.emplace(m_rows[row], row);
        objectstore::ManagedObject* owner = model::Transaction(m_rows[row]).account();
        if (owner != nullptr && std::find(accounts.begin(), accounts.end(), owner) == accounts.end()) {
            accounts.push_back(owner);
        }
    }
    for (objectstore::ManagedObject* owner : accounts) {
        const model::Account account(owner);
        const std::vector<objectstore::ManagedObject*>& ordered = account.orderedTransactions();
        model::Amount balance = account.startBalance().value_or(model::Amount());
        for (auto it = ordered.rbegin(); it != ordered.rend(); ++it) {
            balance += amountOf(*it);
            if (const auto found = rowByObject.find(*it); found != rowByObject.end()) {
                m_balances[found->second] = balance;
            }
        }
    }
}

RegisterViewModel::Flag RegisterViewModel::flag(std::size_t row) const {
    const model::Transaction transaction = transactionAt(row);
    if (transaction.isPending()) {
        return {QStringLiteral("FlagPending"), QString()};
    }
    if (transaction.isNew()) {
        return {QStringLiteral("FlagNew"), QString()};
    }
    const bool hasBankData = transaction.ofxAmount().has_value();
    return {QString(), hasBankData ? QStringLiteral("FlagNewHover") : QStringLiteral("FlagPendingHover")};
}

RegisterViewModel::StatusLine
RegisterViewModel::statusLine(const std::vector<model::Transaction>& selection) const {
    if (selection.size() >= 2) {
        return {QStringLiteral("%1 Selected").arg(selection.size()) + QStringLiteral(", ") +
                    QStringLiteral("%1 Total").arg(selectionTotal(selection)),
                QString()};
    }
    switch (m_mode) {
    case Mode::SingleAccount:
        if (m_showsClearedBalance) {
            return {QStringLiteral("Cleared Balance: %1")
                        .arg(m_account->reconciledBalanceStringWithCents(true, m_localeId)),
                    QStringLiteral("Cleared balance is the balance of this account excluding pending "
                                   "transactions. After reconciliation, the cleared balance should match "
                                   "the bank's balance.")};
        }
        return {QStringLiteral("Balance: %1").arg(m_account->balanceStringWithCents(true, m_localeId)),
                QString()};
    case Mode::AllAccounts:
        return {
            QStringLiteral("Overall Balance: %1")
                .arg(model::Account::overallBalanceStringWithCents(m_workspace.context(), true, m_localeId)),
            QString()};
    case Mode::GivenSet:
        break;
    }
    return {};
}

QString RegisterViewModel::selectionTotal(const std::vector<model::Transaction>& selection) const {
    model::Amount total;
    if (m_mode == Mode::SingleAccount && m_account->isForeign()) {
        for (const model::Transaction& transaction : selection) {
            total += transaction.amount().value_or(model::Amount());
        }
        return model::General::formatterForCurrency(m_account->currencyCode(), m_localeId).format(total);
    }
    for (const model::Transaction& transaction : selection) {
        total += transaction.amountInHomeCurrency();
    }
    const QString home = model::Global::sharedInstanceInContext(m_workspace.context()).homeCurrencyCode();
    return model::General::formatterForHomeCurrency(home, m_localeId).format(total);
}

void RegisterViewModel::clickStatusLine() {
    if (m_mode == Mode::SingleAccount) {
        m_showsClearedBalance = !m_showsClearedBalance;
    }
}

void RegisterViewModel::toggleBalanceColumn() {
    m_balanceColumnShown = !m_balanceColumnShown;
    m_workspace.defaults().setValue(QString::fromLatin1(kShowBalanceColumnKey), m_balanceColumnShown);
}

bool RegisterViewModel::showsEmptyHint() const {
    return m_workspace.context().count(u"Transaction") == 0;
}

RegisterViewModel::EmptyHint RegisterViewModel::emptyHint() {
    return {
        QStringLiteral("Add your first\ntransaction"),
        QStringLiteral("A transaction can be an expense, income or transfer.\nBe sure to enter a category so "
                       "you can analyze your\nspending later."),
        QStringLiteral("Add a transaction")};
}

QString RegisterViewModel::currencyCodeOf(const model::Transaction& transaction) const {
    objectstore::ManagedObject* owner = transaction.account();
    const QString code = owner == nullptr ? QString() : model::Account(owner).currencyCode();
    if (!code.isEmpty()) {
        return code;
    }
    return model::Global::sharedInstanceInContext(m_workspace.context()).homeCurrencyCode();
}

const model::CurrencyFormatter& RegisterViewModel::formatterFor(const model::Transaction& transaction) const {
    const QString code = currencyCodeOf(transaction);
    for (const auto& [known, formatter] : m_formatters) {
        if (known == code) {
            return formatter;
        }
    }
    m_formatters.emplace_back(code, model::General::formatterForCurrency(code, m_localeId));
    return m_formatters.back().second;
}

const SplitLineAmountFormatter&
RegisterViewModel::lineFormatterFor(const model::Transaction& transaction) const {
    const QString code = currencyCodeOf(transaction);
    for (const auto& [known, formatter] : m_lineFormatters) {
        if (known == code) {
            return formatter;
        }
    }
    m_lineFormatters.emplace_back(code, SplitLineAmountFormatter(code, m_localeId));
    return m_lineFormatters.back().second;
}

} // namespace vantrel::app
