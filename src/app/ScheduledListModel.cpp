#include "app/ScheduledListModel.h"

#include "app/Alert.h"
#include "app/Workspace.h"
#include "model/Account.h"
#include "model/General.h"
#include "model/Global.h"
#include "planning/DueDateDescription.h"
#include "planning/ScheduleText.h"
#include "planning/ScheduledList.h"
#include "platform/objectstore/Context.h"

#include <algorithm>

namespace vantrel::app {

namespace {

ScheduledListModel::AmountColour colourOf(const model::Amount& amount) {
    if (amount.sign() > 0) {
        return ScheduledListModel::AmountColour::Positive;
    }
    return amount.sign() < 0 ? ScheduledListModel::AmountColour::Negative
                             : ScheduledListModel::AmountColour::Zero;
}

QString accountName(objectstore::ManagedObject* account) {
    return account == nullptr ? QString() : model::Account(account).name();
}

} // namespace

ScheduledListModel::ScheduledListModel(Workspace& workspace, QString localeId)
    : m_workspace(workspace)
    , m_localeId(std::move(localeId)) {
    reload();
}

void ScheduledListModel::reload() {
    const model::Day today = model::Day::today_VT(m_workspace.clock());
    m_rows.clear();
    m_itemCount = 0;
    for (const planning::ScheduledListEntry& entry :
         planning::ScheduledList::groupedItems(m_workspace.context(), today)) {
        if (entry.isGroup()) {
            Row group;
            group.isGroup = true;
            group.state = entry.state;
            group.title = planning::ScheduleText::groupTitle(entry.state);
            m_rows.push_back(std::move(group));
        } else {
            m_rows.push_back(itemRow(*entry.item, today));
            ++m_itemCount;
        }
    }
    m_badgeCount = planning::ScheduledList::countRedItems(m_workspace.context(), today);
}

ScheduledListModel::Row ScheduledListModel::itemRow(const model::ScheduledItem& item,
                                                    const model::Day& today) const {
    Row row;
    row.title = item.title();
    row.state = item.state(today);
    row.item = item.object()->id();
    row.accountText = accountName(item.account());
    if (item.isTransfer()) {
        row.accountText += QStringLiteral(" \u2192 ") + accountName(item.toAccount());
    }
    const model::Amount amount = item.amount().value_or(model::Amount());
    const QString currency =
        item.account() != nullptr ? model::Account(item.account()).currencyCode() : QString();
    row.amountText = model::General::formatterForCurrency(currency, m_localeId).format(amount);
    row.amountColour = colourOf(amount);
    if (const std::optional<model::Day> due = item.nextDueDate()) {
        row.dueText = planning::DueDateDescription::describe(*due, today).text(*due, m_localeId);
    }
    row.isRecurring = item.repeats();
    row.scheduleText = row.isRecurring ? planning::ScheduleText::repeatDescription(item) : QString();
    row.isRed = item.shouldColorRed(today);
    row.actionTitle = planning::ScheduleText::actionTitle(item);
    return row;
}

std::optional<std::size_t> ScheduledListModel::rowOf(const objectstore::ObjectID& item) const {
    const auto found =
        std::find_if(m_rows.begin(), m_rows.end(), [&](const Row& row) { return row.item == item; });
    if (found == m_rows.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - m_rows.begin());
}

std::optional<model::ScheduledItem> ScheduledListModel::itemAt(std::size_t row) const {
    if (row >= m_rows.size() || !m_rows[row].item) {
        return std::nullopt;
    }
    objectstore::ManagedObject* object = m_workspace.context().object(*m_rows[row].item);
    if (object == nullptr) {
        return std::nullopt;
    }
    return model::ScheduledItem(object);
}

std::vector<model::ScheduledItem> ScheduledListModel::itemsAt(const std::vector<std::size_t>& rows) const {
    std::vector<model::ScheduledItem> items;
    for (std::size_t row : rows) {
        if (std::optional<model::ScheduledItem> item = itemAt(row)) {
            items.push_back(*item);
        }
    }
    return items;
}

void ScheduledListModel::toggleSummaryMode() {
    using Mode = planning::ScheduledSummary::Mode;
    m_mode = m_mode == Mode::MonthlyExpense ? Mode::MonthlyNet : Mode::MonthlyExpense;
}

ScheduledListModel::Status ScheduledListModel::status() const {
    const model::Amount total = planning::ScheduledSummary::summaryFor(m_mode, m_workspace.context());
    model::CurrencyFormatter formatter = model::General::formatterForHomeCurrency(
        model::Global::sharedInstanceInContext(m_workspace.context()).homeCurrencyCode(), m_localeId);
    formatter.setMaximumFractionDigits(std::min(formatter.maximumFractionDigits(), 2));
    Status status;
    status.label = planning::ScheduledSummary::label(m_mode);
    status.amountText = formatter.format(total);
    status.colour = colourOf(total.rounded(formatter.maximumFractionDigits()));
    status.countText = planning::ScheduledSummary::countText(m_itemCount);
    return status;
}

bool ScheduledListModel::skip(model::ScheduledItem item) {
    const Alert question{
        QStringLiteral("Are you sure you want to skip the scheduled transaction \"%1\"?").arg(item.title()),
        QString(),
        {QStringLiteral("Skip"), QStringLiteral("Cancel")}};
    if (m_workspace.alerts().present(question) != 0) {
        return false;
    }
    item.skip();
    commit();
    return true;
}

bool ScheduledListModel::deleteItems(const std::vector<model::ScheduledItem>& items) {
    if (items.empty()) {
        return false;
    }
    const QString message =
        items.size() == 1
            ? QStringLiteral("Are you sure you want to delete the scheduled transaction \"%1\"?")
                  .arg(items[0].title())
            : QStringLiteral("Are you sure you want to delete the selected %1 scheduled transactions?")
                  .arg(items.size());
    const Alert question{
        message,
        QStringLiteral("This will not affect transactions that have already been paid or deposited."),
        {QStringLiteral("Delete"), QStringLiteral("Cancel")}};
    if (m_workspace.alerts().present(question) != 0) {
        return false;
    }
    for (const model::ScheduledItem& item : items) {
        m_workspace.context().deleteObject(item.object());
    }
    commit();
    return true;
}

void ScheduledListModel::commit() {
    m_workspace.saveDatabase();
    m_workspace.refreshAllViews();
    reload();
}

} // namespace vantrel::app
