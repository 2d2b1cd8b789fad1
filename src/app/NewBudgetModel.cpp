#include "app/NewBudgetModel.h"

#include "app/Alert.h"
#include "app/WelcomeController.h"
#include "app/Workspace.h"
#include "model/Budget.h"
#include "model/VTDateFormatter.h"
#include "planning/BudgetEstimate.h"
#include "platform/UserDefaults.h"
#include "platform/objectstore/Context.h"

namespace vantrel::app {

NewBudgetModel::NewBudgetModel(Workspace& workspace, const QString& localeId)
    : m_workspace(workspace) {
    const model::Day today = model::Day::today_VT(workspace.clock());
    m_name = model::VTDateFormatter::withPattern(QStringLiteral("MMMM, yyyy"), localeId).format(today);
    m_start = today.beginningOfMonth_vt();
}

std::optional<objectstore::ObjectID> NewBudgetModel::create() {
    if (m_months < 1) {
        m_workspace.alerts().present(Alert{QString::fromLatin1(kInvalidPeriodMessage),
                                           QString::fromLatin1(kInvalidPeriodInformative),
                                           {QStringLiteral("OK")}});
        return std::nullopt;
    }
    objectstore::Context& context = m_workspace.context();
    m_createdFirst = context.count(QString::fromLatin1(model::Budget::kEntity)) == 0;
    const model::Budget budget =
        planning::BudgetEstimate::createBudget(context, m_name, m_start, m_months, m_workspace.clock());
    m_workspace.saveDatabase();
    m_workspace.refreshAllViews();
    return budget.object()->id();
}

bool NewBudgetModel::takeHelpSheetTurn() {
    const QString key = QString::fromLatin1(WelcomeController::kShouldShowBudgetHelpKey);
    if (!m_workspace.defaults().boolValue(key)) {
        return false;
    }
    m_workspace.defaults().setValue(key, false);
    return true;
}

} // namespace vantrel::app
