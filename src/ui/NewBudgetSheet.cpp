#include "ui/NewBudgetSheet.h"

#include "ui/BudgetHelpSheet.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace vantrel::ui {

NewBudgetSheet::NewBudgetSheet(app::Workspace& workspace, QWidget* parent)
    : NewBudgetSheet(workspace, model::IcuBridge::systemLocaleId(), parent) {}

NewBudgetSheet::NewBudgetSheet(app::Workspace& workspace, const QString& localeId, QWidget* parent)
    : QDialog(parent)
    , m_model(workspace, localeId) {
    setObjectName(QStringLiteral("newBudgetSheet"));
    setWindowTitle(tr("New Budget"));
    setWindowModality(Qt::WindowModal);

    auto* intro =
        new QLabel(tr("Vantrel estimates every category's limit from your recent transactions."), this);
    intro->setWordWrap(true);

    m_name = new QLineEdit(m_model.name(), this);
    m_name->setObjectName(QStringLiteral("budgetName"));
    m_name->setMinimumWidth(240);

    m_start = new QDateEdit(m_model.startDate().toQDate(), this);
    m_start->setObjectName(QStringLiteral("budgetStart"));
    m_start->setCalendarPopup(true);

    m_months = new QSpinBox(this);
    m_months->setObjectName(QStringLiteral("budgetMonths"));
    // Zero is accepted by the field so the sheet can say why a period needs a month.
    m_months->setRange(0, 120);
    m_months->setValue(m_model.months());

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(tr("Create"));
    m_buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &NewBudgetSheet::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &NewBudgetSheet::reject);

    auto* form = new QFormLayout(this);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->addRow(intro);
    form->addRow(tr("&Name:"), m_name);
    form->addRow(tr("&Starts on:"), m_start);
    form->addRow(tr("&Months:"), m_months);
    form->addRow(m_buttons);
    form->setSizeConstraint(QLayout::SetFixedSize);
}

void NewBudgetSheet::accept() {
    m_model.setName(m_name->text());
    m_model.setStartDate(model::Day::fromQDate(m_start->date()));
    m_model.setMonths(m_months->value());
    const std::optional<objectstore::ObjectID> created = m_model.create();
    if (!created) {
        m_months->setFocus();
        m_months->selectAll();
        return;
    }
    emit budgetCreated(*created);
    if (m_model.takeHelpSheetTurn()) {
        showHelpSheet();
    }
    QDialog::accept();
}

void NewBudgetSheet::showHelpSheet() {
    // The window, not this closing sheet, carries the explanation.
    auto* help = new BudgetHelpSheet(parentWidget());
    help->setAttribute(Qt::WA_DeleteOnClose);
    help->open();
}

} // namespace vantrel::ui
