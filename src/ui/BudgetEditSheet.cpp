#include "ui/BudgetEditSheet.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace vantrel::ui {

BudgetEditSheet::BudgetEditSheet(app::Workspace& workspace, const model::Budget& budget, QWidget* parent)
    : QDialog(parent)
    , m_model(workspace, budget) {
    setObjectName(QStringLiteral("editBudgetSheet"));
    setWindowTitle(tr("Edit Budget"));
    setWindowModality(Qt::WindowModal);

    m_name = new QLineEdit(m_model.name(), this);
    m_name->setObjectName(QStringLiteral("budgetName"));
    m_name->setMinimumWidth(240);

    m_start = new QDateEdit(m_model.startDate().toQDate(), this);
    m_start->setObjectName(QStringLiteral("budgetStart"));
    m_start->setCalendarPopup(true);

    m_months = new QSpinBox(this);
    m_months->setObjectName(QStringLiteral("budgetMonths"));
    m_months->setRange(1, 1200);
    m_months->setValue(static_cast<int>(m_model.months()));
    // The length of a budget is fixed once its limits were estimated for it.
    m_months->setEnabled(false);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(tr("Save"));
    m_buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &BudgetEditSheet::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &BudgetEditSheet::reject);

    auto* form = new QFormLayout(this);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->addRow(tr("&Name:"), m_name);
    form->addRow(tr("&Starts on:"), m_start);
    form->addRow(tr("Months:"), m_months);
    form->addRow(m_buttons);
    form->setSizeConstraint(QLayout::SetFixedSize);
}

void BudgetEditSheet::accept() {
    m_model.setName(m_name->text());
    m_model.setStartDate(model::Day::fromQDate(m_start->date()));
    m_model.save();
    QDialog::accept();
}

} // namespace vantrel::ui
