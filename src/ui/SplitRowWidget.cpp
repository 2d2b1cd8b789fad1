#include "ui/SplitRowWidget.h"

#include "ui/AmountLineEdit.h"
#include "ui/CategoryField.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace vantrel::ui {

SplitRowWidget::SplitRowWidget(app::Workspace& workspace, std::size_t row, const QString& localeId,
                               QWidget* parent)
    : QWidget(parent)
    , m_row(row) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    m_category = new CategoryField(workspace, this);
    m_category->setObjectName(QStringLiteral("splitCategory%1").arg(row));
    layout->addWidget(m_category, 1);

    m_amount = new AmountLineEdit(this, localeId);
    m_amount->setObjectName(QStringLiteral("splitAmount%1").arg(row));
    m_amount->setPlaceholderText(tr("Amount"));
    m_amount->setAccessibleName(tr("Split amount"));
    m_amount->setMinimumWidth(m_amount->fontMetrics().horizontalAdvance(QStringLiteral("-000,000.00")) + 16);
    m_amount->setMaximumWidth(m_amount->minimumWidth() * 3 / 2);
    layout->addWidget(m_amount);

    m_remove = new QToolButton(this);
    m_remove->setObjectName(QStringLiteral("removeSplitRow%1").arg(row));
    m_remove->setText(QStringLiteral("\u2212"));
    m_remove->setToolTip(tr("Remove this split"));
    m_remove->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(m_remove);

    m_add = new QToolButton(this);
    m_add->setObjectName(QStringLiteral("addSplitRow"));
    m_add->setText(QStringLiteral("+"));
    m_add->setToolTip(tr("Add a split"));
    m_add->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(m_add);

    connect(m_category, &CategoryField::categoryChosen, this,
            [this](objectstore::ManagedObject* category) { emit categoryChosen(m_row, category); });
    connect(m_amount, &AmountLineEdit::valueEdited, this,
            [this](const std::optional<model::Amount>& amount) { emit amountEdited(m_row, amount); });
    connect(m_add, &QToolButton::clicked, this, &SplitRowWidget::addRequested);
    connect(m_remove, &QToolButton::clicked, this, [this] { emit removeRequested(m_row); });
}

void SplitRowWidget::showRow(objectstore::ManagedObject* category, const std::optional<model::Amount>& amount,
                             bool isLast) {
    if (m_category->category() != category) {
        m_category->setCategory(category);
    }
    if (m_amount->value() != amount) {
        m_amount->setValue(amount);
    }
    // Only the last row adds; keeping the button's room on the others keeps the columns aligned.
    QSizePolicy policy = m_add->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    m_add->setSizePolicy(policy);
    m_add->setVisible(isLast);
}

} // namespace vantrel::ui
