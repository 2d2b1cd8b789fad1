#include "ui/AccountSheet.h"

#include "app/AccountSidebarModel.h"
#include "app/Alert.h"
#include "app/Workspace.h"
#include "model/Account.h"
#include "ui/AmountLineEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace vantrel::ui {

AccountSheet::AccountSheet(app::Workspace& workspace, app::AccountSidebarModel& sidebar,
                           const QString& localeId, QWidget* parent)
    : QDialog(parent)
    , m_workspace(workspace)
    , m_sidebar(sidebar)
    , m_model(workspace, localeId) {
    setWindowTitle(tr("New Account"));
    buildForm(localeId);
    showModel();
}

AccountSheet::AccountSheet(app::Workspace& workspace, app::AccountSidebarModel& sidebar,
                           const model::Account& account, const QString& localeId, QWidget* parent)
    : QDialog(parent)
    , m_workspace(workspace)
    , m_sidebar(sidebar)
    , m_model(workspace, account, localeId)
    , m_account(account.object()) {
    setWindowTitle(tr("Edit Account"));
    buildForm(localeId);
    showModel();
}

void AccountSheet::buildForm(const QString& localeId) {
    setObjectName(isEditing() ? QStringLiteral("editAccountSheet") : QStringLiteral("newAccountSheet"));
    setWindowModality(Qt::WindowModal);

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("accountName"));
    m_name->setMinimumWidth(260);

    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("accountType"));
    const QStringList types = app::AccountSheetModel::typeMenuTitles();
    for (int tag = 0; tag < types.size(); ++tag) {
        m_type->addItem(types[tag], tag);
    }
    connect(m_type, &QComboBox::currentIndexChanged, this, &AccountSheet::typeChosen);

    m_currency = new QComboBox(this);
    m_currency->setObjectName(QStringLiteral("accountCurrency"));
    for (const app::CurrencyChoice& choice : m_model.currencyMenu()) {
        m_currency->addItem(QStringLiteral("%1 (%2)").arg(choice.name, choice.code), choice.code);
    }

    m_startBalance = new AmountLineEdit(this, localeId);
    m_startBalance->setObjectName(QStringLiteral("startBalance"));

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->addRow(tr("&Name:"), m_name);
    form->addRow(tr("&Type:"), m_type);
    form->addRow(tr("&Currency:"), m_currency);
    form->addRow(tr("&Start Balance:"), m_startBalance);
    if (isEditing()) {
        m_active = new QCheckBox(tr("&Active"), this);
        m_active->setObjectName(QStringLiteral("accountActive"));
        form->addRow(QString(), m_active);
    }

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(isEditing() ? tr("Save") : tr("Create"));
    m_buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &AccountSheet::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &AccountSheet::reject);
    form->addRow(m_buttons);
    setLayout(form);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void AccountSheet::showModel() {
    m_name->setText(m_model.name());
    m_type->setCurrentIndex(m_type->findData(m_model.typeTag()));
    m_currency->setCurrentIndex(m_currency->findData(m_model.currencyCode()));
    followSignAssumption();
    const model::ParseResult<model::Amount> balance = m_model.startBalanceField().parsedValue();
    m_startBalance->setValue(balance.hasValue() ? std::optional(balance.value()) : std::nullopt);
    if (m_active != nullptr) {
        m_active->setChecked(m_model.isActive());
    }
}

void AccountSheet::typeChosen(int index) {
    m_model.selectTypeTag(m_type->itemData(index).toInt());
    followSignAssumption();
}

void AccountSheet::followSignAssumption() {
    m_startBalance->fieldModel().setShouldAssumeSign(m_model.startBalanceField().shouldAssumeSign());
    // An empty name takes the type's name: say so where the name goes.
    m_name->setPlaceholderText(m_type->currentText());
}

void AccountSheet::accept() {
    m_model.setName(m_name->text());
    m_model.selectTypeTag(m_type->currentData().toInt());
    m_model.selectCurrency(m_currency->currentData().toString());
    m_model.startBalanceField().setText(m_startBalance->text());
    if (m_active != nullptr) {
        m_model.setActive(m_active->isChecked());
    }
    const app::CommandOutcome outcome = isEditing() ? m_model.saveChanges() : m_model.create(m_sidebar);
    if (!outcome.succeeded()) {
        m_workspace.alerts().present(app::Alert{outcome.reason(), QString(), {}});
        m_startBalance->setFocus();
        return;
    }
    if (isEditing()) {
        emit accountChanged(m_account);
    } else {
        emit accountCreated(m_sidebar.selectedAccount());
    }
    QDialog::accept();
}

} // namespace vantrel::ui
