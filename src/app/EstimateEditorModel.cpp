#include "app/EstimateEditorModel.h"

#include "app/Workspace.h"
#include "model/CategoryVT.h"
#include "model/Global.h"
#include "platform/objectstore/Context.h"

#include <algorithm>

namespace vantrel::app {

EstimateEditorModel::EstimateEditorModel(Workspace& workspace, const model::CategoryLimit& limit)
    : m_workspace(workspace)
    , m_limit(limit)
    , m_monthly(limit.showMonthlyAmount())
    , m_notes(limit.notes()) {
    if (const auto budget = limit.budget()) {
        m_months = static_cast<int>(std::max<std::int64_t>(1, budget->months().value_or(1)));
    }
    const model::Amount amount = limit.amount().value_or(model::Amount());
    m_shown = m_monthly ? perMonth(amount) : amount.rounded(0);
}

QString EstimateEditorModel::title() const {
    objectstore::ManagedObject* category = m_limit.category();
    const QString name = category != nullptr ? model::CategoryVT(category).nameWithEmoji() : QString();
    return QStringLiteral("Budget for %1").arg(name);
}

QString EstimateEditorModel::subtitle() const {
    QString period;
    if (m_months == 1) {
        period = QStringLiteral("a month");
    } else if (m_months == 12) {
        period = QStringLiteral("a year");
    } else {
        period = QStringLiteral("%1 months").arg(m_months);
    }
    return QStringLiteral("Set the estimated value for this category over the course of %1.").arg(period);
}

QString EstimateEditorModel::currencyCode() const {
    return model::Global::sharedInstanceInContext(m_workspace.context()).homeCurrencyCode();
}

model::Amount EstimateEditorModel::perMonth(const model::Amount& amount) const {
    return amount.dividedBy(model::Amount(m_months), 0);
}

void EstimateEditorModel::setShowMonthlyAmount(bool monthly) {
    if (monthly == m_monthly) {
        return;
    }
    m_shown = monthly ? perMonth(m_shown) : m_shown * model::Amount(m_months);
    m_monthly = monthly;
}

void EstimateEditorModel::setShownAmount(const model::Amount& amount) {
    m_shown = amount.rounded(0);
}

model::Amount EstimateEditorModel::amountToSave() const {
    return m_monthly ? m_shown * model::Amount(m_months) : m_shown;
}

EstimateEditorModel::TableEffect EstimateEditorModel::save() {
    const model::Amount before = m_limit.amount().value_or(model::Amount());
    const model::Amount after = amountToSave();
    m_limit.setAmount(after);
    m_limit.setNotes(m_notes);
    m_limit.setShowMonthlyAmount(m_monthly);

    TableEffect effect = TableEffect::LimitChanged;
    if (before.isExpense_vt() != after.isExpense_vt()) {
        effect = TableEffect::MovedToOtherSide;
    } else if (before.isZero() != after.isZero() && m_limit.actualAmount().isZero()) {
        effect = TableEffect::MovedBetweenBudgetedAndNotBudgeted;
    }
    m_workspace.saveDatabase();
    m_workspace.refreshAllViews();
    return effect;
}

} // namespace vantrel::app
