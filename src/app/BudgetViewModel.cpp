#include "app/BudgetViewModel.h"

#include "app/Alert.h"
#include "app/Workspace.h"
#include "model/Account.h"
#include "model/CategoryVT.h"
#include "model/General.h"
#include "model/Global.h"
#include "model/VTDateFormatter.h"
#include "platform/objectstore/Context.h"

#include <algorithm>

namespace vantrel::app {

namespace {

using Type = planning::BudgetRow::Type;

QString homeCurrencyCode(objectstore::Context& context) {
    return model::Global::sharedInstanceInContext(context).homeCurrencyCode();
}

model::CurrencyFormatter wholeUnitFormatter(objectstore::Context& context, const QString& localeId) {
    model::CurrencyFormatter formatter =
        model::General::formatterForHomeCurrency(homeCurrencyCode(context), localeId);
    formatter.setMinimumFractionDigits(0);
    formatter.setMaximumFractionDigits(0);
    return formatter;
}

// The status sums are display values worked out in single precision.
float toFloat(const model::Amount& amount) {
    return amount.toString().toFloat();
}

QString colorForSign(int sign) {
    if (sign > 0) {
        return QString::fromLatin1(BudgetViewModel::kGreen);
    }
    return QString::fromLatin1(sign < 0 ? BudgetViewModel::kRed : BudgetViewModel::kGray);
}

// Both made positive for an expense row; full when over, empty when negative (net refunds).
double barFraction(const model::Amount& limit, const model::Amount& actual) {
    const bool expense = limit.isExpense_vt();
    const model::Amount l = expense ? limit.negate_vt() : limit;
    const model::Amount a = expense ? actual.negate_vt() : actual;
    if (a > l) {
        return 1;
    }
    if (a.sign() < 0 || l.isZero()) {
        // A zero limit with nothing booked has no share to show.
        return 0;
    }
    return a.dividedBy(l).toString().toDouble();
}

} // namespace

BudgetViewModel::BudgetViewModel(Workspace& workspace, const objectstore::ObjectID& budget,
                                 const QString& localeId)
    : m_workspace(workspace)
    , m_budgetID(budget)
    , m_localeId(localeId)
    , m_formatter(wholeUnitFormatter(workspace.context(), localeId)) {
    reload();
}

std::optional<model::Budget> BudgetViewModel::budget() const {
    objectstore::ManagedObject* object = m_workspace.context().object(m_budgetID);
    return object != nullptr ? std::optional(model::Budget(object)) : std::nullopt;
}

bool BudgetViewModel::isValid() const {
    return budget().has_value();
}

QString BudgetViewModel::name() const {
    const auto current = budget();
    return current ? current->name() : QString();
}

QString BudgetViewModel::periodText() const {
    const auto current = budget();
    if (!current || !current->startDate()) {
        return {};
    }
    const model::VTDateFormatter dates(m_localeId);
    return QStringLiteral("%1 – %2").arg(dates.format(*current->startDate()),
                                         dates.format(current->endDate()));
}

model::Day BudgetViewModel::today() const {
    return model::Day::today_VT(m_workspace.clock());
}

void BudgetViewModel::reload() {
    m_formatter = wholeUnitFormatter(m_workspace.context(), m_localeId);
    auto current = budget();
    for (const Side side : {Side::Expense, Side::Income}) {
        if (current && current->startDate()) {
            m_results[index(side)] = planning::BudgetTracker::track(*current, side);
            const SortOrder& order = m_sort[index(side)];
            planning::BudgetTracker::sort(m_results[index(side)], order.key, order.descending);
        } else {
            m_results[index(side)] = {};
        }
        rebuildRows(side);
    }
}

bool BudgetViewModel::isExpanded(Side side, const planning::BudgetRow& group) const {
    const auto& expanded = m_expanded[index(side)];
    if (const auto found = expanded.find(group.group); found != expanded.end()) {
        return found->second;
    }
    // Unused categories are noise until asked for.
    return !group.isNotBudgetedGroup();
}

void BudgetViewModel::rebuildRows(Side side) {
    std::vector<Row>& rows = m_rows[index(side)];
    rows.clear();
    const planning::BudgetTrackResult& result = m_results[index(side)];
    if (!isValid()) {
        return;
    }
    for (const planning::BudgetRow& row : result.progress) {
        rows.push_back(makeRow(row, 0));
        if (row.type != Type::Group) {
            continue;
        }
        rows.back().isExpanded = isExpanded(side, row);
        if (rows.back().isExpanded) {
            for (const planning::BudgetRow& member : row.categories) {
                rows.push_back(makeRow(member, 1));
            }
        }
    }
    rows.push_back(makeRow(result.total, 0));
}

BudgetViewModel::Row BudgetViewModel::makeRow(const planning::BudgetRow& source, int depth) const {
    Row row;
    row.type = source.type;
    row.depth = depth;
    row.isNotBudgeted = source.isNotBudgetedGroup();
    row.name = source.name;
    row.limit = source.limit;
    row.actual = source.actual;
    row.categoryLimit = source.categoryLimit;
    row.group = source.group;
    row.limitText = format(source.limit);
    row.limitColor = row.isNotBudgeted ? QString::fromLatin1(kGray) : colorForSign(source.limit.sign());
    row.actualText = format(source.actual);
    row.barFraction = barFraction(source.limit, source.actual);
    row.isOverBudget = planning::BudgetTracker::isOverBudget(source);
    const bool expense = source.limit.isExpense_vt();
    row.barColor = expense && row.isOverBudget ? BarColor::Red : BarColor::Blue;
    if (expense && source.actual.isIncome_vt()) {
        row.toolTip = QStringLiteral("%1 credit").arg(format(source.actual));
    } else {
        row.toolTip = format(expense ? source.actual.negate_vt() : source.actual);
    }
    return row;
}

const BudgetViewModel::Row* BudgetViewModel::rowAt(Side side, int row) const {
    const std::vector<Row>& shown = rows(side);
    if (row < 0 || static_cast<std::size_t>(row) >= shown.size()) {
        return nullptr;
    }
    return &shown[static_cast<std::size_t>(row)];
}

bool BudgetViewModel::toggleGroup(Side side, int row) {
    const Row* shown = rowAt(side, row);
    if (shown == nullptr || shown->type != Type::Group) {
        return false;
    }
    m_expanded[index(side)][shown->group] = !shown->isExpanded;
    rebuildRows(side);
    return true;
}

void BudgetViewModel::setSortOrder(Side side, SortKey key, bool descending) {
    m_sort[index(side)] = SortOrder{key, descending};
    planning::BudgetTracker::sort(m_results[index(side)], key, descending);
    rebuildRows(side);
}

QString BudgetViewModel::actualColumnHeader(Side side) const {
    const auto current = budget();
    if (!current || !current->startDate() || !current->hasEnded(today())) {
        return QStringLiteral("Actual");
    }
    return side == Side::Expense ? QStringLiteral("Actual Expense") : QStringLiteral("Actual Income");
}

std::optional<double> BudgetViewModel::todayMarker() const {
    const auto current = budget();
    if (!current || !current->startDate() || !current->hasStarted(today()) || current->hasEnded(today())) {
        return std::nullopt;
    }
    return current->todayPercentage(today());
}

QString BudgetViewModel::format(const model::Amount& amount) const {
    return m_formatter.format(amount);
}

QString BudgetViewModel::formatFloat(float value) const {
    const auto amount = model::Amount::withString_vt(QString::number(static_cast<double>(value), 'f', 2));
    return format(amount.value_or(model::Amount()));
}

QString BudgetViewModel::expenseSegment() const {
    const auto current = budget();
    return QStringLiteral("Expense: %1")
        .arg(format(current ? current->expenseLimitTotal() : model::Amount()));
}

QString BudgetViewModel::incomeSegment() const {
    const auto current = budget();
    return QStringLiteral("Income: %1").arg(format(current ? current->incomeLimitTotal() : model::Amount()));
}

void BudgetViewModel::toggleStatusMode() {
    m_statusMode = m_statusMode == StatusMode::Net ? StatusMode::EndBalance : StatusMode::Net;
}

float BudgetViewModel::statusAmount() const {
    const auto current = budget();
    if (!current) {
        return 0;
    }
    const float net = toFloat(current->incomeLimitTotal()) + toFloat(current->expenseLimitTotal());
    if (m_statusMode == StatusMode::Net || !current->startDate()) {
        return net;
    }
    const model::Amount opening =
        model::Account::overallBalanceOnDate(m_workspace.context(), current->startDate()->daysAgo_VT(1));
    return toFloat(opening) + toFloat(current->expenseLimitTotal()) + toFloat(current->incomeLimitTotal());
}

QString BudgetViewModel::statusLabel() const {
    if (m_statusMode == StatusMode::EndBalance) {
        return QStringLiteral("Estimated End Balance: ");
    }
    return statusAmount() < 0 ? QStringLiteral("Estimated Loss: ") : QStringLiteral("Estimated Savings: ");
}

QString BudgetViewModel::statusAmountText() const {
    return formatFloat(statusAmount());
}

QString BudgetViewModel::statusColor() const {
    const float amount = statusAmount();
    return colorForSign(amount > 0 ? 1 : (amount < 0 ? -1 : 0));
}

QString BudgetViewModel::statusToolTip() const {
    return m_statusMode == StatusMode::EndBalance ? QString::fromLatin1(kEndBalanceToolTip) : QString();
}

QString BudgetViewModel::daysLeftText() const {
    const auto current = budget();
    if (!current || !current->startDate()) {
        return {};
    }
    if (current->hasEnded(today())) {
        return QString::fromLatin1(kEndNoticeMessage);
    }
    const int days = current->daysLeft(today());
    const QString count = days == 1 ? QStringLiteral("%1 %2").arg(days).arg(QStringLiteral("Day"))
                                    : QStringLiteral("%1 %2s").arg(days).arg(QStringLiteral("Day"));
    return QStringLiteral("%1 Left").arg(count);
}

bool BudgetViewModel::presentEndNoticeIfNeeded() {
    auto current = budget();
    if (!current || !current->startDate() || current->didShowEndNotice() || !current->hasEnded(today())) {
        return false;
    }
    m_workspace.alerts().present(
        Alert{QString::fromLatin1(kEndNoticeMessage), QString::fromLatin1(kEndNoticeInformative), {}});
    current->setDidShowEndNotice(true);
    m_workspace.saveDatabase();
    return true;
}

bool BudgetViewModel::listsTransactions(Side side, int row) const {
    const Row* shown = rowAt(side, row);
    return shown != nullptr && (shown->type == Type::Category || shown->type == Type::Uncategorized);
}

std::vector<BudgetViewModel::TransactionLine> BudgetViewModel::transactionsForRow(Side side, int row) const {
    const auto current = budget();
    if (!current || !current->startDate() || !listsTransactions(side, row)) {
        return {};
    }
    const Row& shown = *rowAt(side, row);
    objectstore::ManagedObject* category = shown.categoryLimit ? shown.categoryLimit->category() : nullptr;
    std::vector<model::Transaction> found = model::Transaction::allWithDateRange(
        m_workspace.context(), *current->startDate(), current->endDate(), category);
    std::sort(found.begin(), found.end(), [](const model::Transaction& a, const model::Transaction& b) {
        return model::Transaction::precedes(a, b);
    });
    const model::VTDateFormatter dates(m_localeId);
    std::vector<TransactionLine> lines;
    lines.reserve(found.size());
    for (const model::Transaction& transaction : found) {
        TransactionLine line{transaction, {}, transaction.title(), {}, {}};
        if (const auto date = transaction.date()) {
            line.date = dates.format(*date);
        }
        if (objectstore::ManagedObject* account = transaction.account()) {
            const model::Account owner(account);
            line.account = owner.name();
            line.amount = owner.formatterWithCents(true, m_localeId)
                              .format(transaction.amount().value_or(model::Amount()));
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

void BudgetViewModel::limitEdited(Side side, const model::CategoryLimit& limit, bool retrack) {
    if (retrack) {
        reload();
        return;
    }
    planning::BudgetTrackResult& result = m_results[index(side)];
    const model::Amount amount = limit.amount().value_or(model::Amount());
    const auto update = [&](planning::BudgetRow& row) {
        if (row.categoryLimit && row.categoryLimit->object() == limit.object()) {
            row.limit = amount;
        }
    };
    for (planning::BudgetRow& row : result.progress) {
        update(row);
        std::for_each(row.categories.begin(), row.categories.end(), update);
    }
    planning::BudgetTracker::summarize(result);
    const SortOrder& order = m_sort[index(side)];
    planning::BudgetTracker::sort(result, order.key, order.descending);
    rebuildRows(side);
}

} // namespace vantrel::app
