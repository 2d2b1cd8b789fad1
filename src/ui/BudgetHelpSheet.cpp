#include "ui/BudgetHelpSheet.h"

#include "app/NewBudgetModel.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantrel::ui {

BudgetHelpSheet::BudgetHelpSheet(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("budgetHelpSheet"));
    setWindowTitle(QString::fromLatin1(app::NewBudgetModel::kHelpTitle));
    setWindowModality(Qt::WindowModal);

    auto* title = new QLabel(QString::fromLatin1(app::NewBudgetModel::kHelpTitle), this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    title->setFont(titleFont);

    auto* message = new QLabel(QString::fromLatin1(app::NewBudgetModel::kHelpMessage), this);
    message->setObjectName(QStringLiteral("budgetHelpMessage"));
    message->setWordWrap(true);

    auto* details =
        new QLabel(tr("Each limit is what the category averaged per day over the last year, times the "
                      "days of the budget. Click a limit to change it, or click a row to see the "
                      "transactions behind it."),
                   this);
    details->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(message);
    layout->addWidget(details);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

} // namespace vantrel::ui
