#include "app/TransferDialogModel.h"

#include "app/Workspace.h"
#include "model/Account.h"
#include "model/TextHelper.h"
#include "model/TransferSetting.h"
#include "platform/objectstore/ManagedObject.h"

namespace vantrel::app {

namespace {

bool isLive(const objectstore::ManagedObject* object) {
    return object && !object->isDeleted();
}

} // namespace

TransferDialogModel::TransferDialogModel(Workspace& workspace, const model::Account& source, QString localeId)
    : m_workspace(workspace)
    , m_source(source.object())
    , m_amount(localeId)
    , m_date(model::Day::today_VT(workspace.clock())) {
    m_amount.setShouldAssumeSign(false);
    m_amount.setNoCents(source.formatterWithCents(true, localeId).maximumFractionDigits() == 0);

    std::optional<model::TransferSetting> last;
    if (objectstore::ManagedObject* setting = source.lastTransferSetting(); isLive(setting)) {
        last.emplace(setting);
        m_destination = last->toAccount();
    }
    if (!isLive(m_destination)) {
        last.reset();
        // The first other account: a transfer to the source itself would only book two entries
        // that cancel out.
        m_destination = nullptr;
        for (const model::Account& account : model::Account::allInAccountOrder(workspace.context())) {
            if (account.object() != m_source) {
                m_destination = account.object();
                break;
            }
        }
    }
    fillFrom(last);
}

void TransferDialogModel::chooseDestination(objectstore::ManagedObject* destination) {
    m_destination = destination;
    std::optional<model::TransferSetting> setting;
    if (isLive(destination)) {
        setting = model::Account(m_source).settingForTransferTo(model::Account(destination));
    }
    fillFrom(setting);
}

QString TransferDialogModel::titlePlaceholder() const {
    if (!isLive(m_destination)) {
        return QString();
    }
    return QStringLiteral("To %1").arg(model::Account(m_destination).name());
}

void TransferDialogModel::fillFrom(const std::optional<model::TransferSetting>& setting) {
    if (!amountChanged()) {
        fillAmount(setting ? setting->amount() : std::nullopt);
    }
    if (setting) {
        m_category = setting->category();
        m_title = setting->title();
        return;
    }
    m_category =
        model::TransferSetting::defaultCategoryInContext(m_workspace.context(), &m_workspace.notifications())
            .object();
    m_title.clear();
}

void TransferDialogModel::fillAmount(const std::optional<model::Amount>& amount) {
    if (amount) {
        m_amount.setValue(*amount);
    } else {
        m_amount.setText(QString());
    }
    m_filledAmountText = m_amount.text();
}

bool TransferDialogModel::amountChanged() const {
    return m_amount.text() != m_filledAmountText;
}

CommandOutcome TransferDialogModel::confirm() {
    if (!isLive(m_destination) || m_destination == m_source) {
        return CommandOutcome::refused(QStringLiteral("Choose the account to transfer to."));
    }
    const model::ParseResult<model::Amount> parsed = m_amount.parsedValue();
    if (!parsed.succeeded()) {
        return CommandOutcome::refused(QStringLiteral("\"%1\" is not an amount.").arg(m_amount.text()));
    }
    // Blank text or a lone minus sign: nothing to transfer yet.
    const std::optional<model::Amount> amount = m_amount.interpretedAmount();
    if (!parsed.hasValue() || !amount) {
        return CommandOutcome::refused(QStringLiteral("Enter the amount to transfer."));
    }
    const QString title = model::TextHelper::isBlank_vt(m_title) ? QString() : m_title;
    model::Account(m_source).transfer(*amount, model::Account(m_destination), m_category, title, m_date,
                                      m_workspace.clock());
    m_workspace.saveDatabase();
    m_workspace.refreshAllViews();
    return CommandOutcome::done();
}

} // namespace vantrel::app
