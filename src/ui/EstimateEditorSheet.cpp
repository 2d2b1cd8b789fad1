#include "ui/EstimateEditorSheet.h"

#include "ui/AmountLineEdit.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace vantrel::ui {

EstimateEditorSheet::EstimateEditorSheet(app::Workspace& workspace, const model::CategoryLimit& limit,
                                         const QString& localeId, QWidget* parent)
    : QDialog(parent)
    , m_model(workspace, limit) {
    setObjectName(QStringLiteral("estimateEditorSheet"));
    setWindowTitle(m_model.title());
    setWindowModality(Qt::WindowModal);

    auto* title = new QLabel(m_model.title(), this);
    title->setObjectName(QStringLiteral("estimateTitle"));
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    title->setFont(titleFont);
    auto* subtitle = new QLabel(m_model.subtitle(), this);
    subtitle->setObjectName(QStringLiteral("estimateSubtitle"));
    subtitle->setWordWrap(true);

    m_amount = new AmountLineEdit(this, localeId);
    m_amount->setObjectName(QStringLiteral("estimateAmount"));
    // Limits may be income as well as expenses, and are kept in whole units.
    m_amount->fieldModel().setShouldAssumeSign(false);
    m_amount->fieldModel().setNoCents(true);
    m_amount->setValue(m_model.shownAmount());
    auto* currency = new QLabel(m_model.currencyCode(), this);
    auto* amountRow = new QHBoxLayout;
    amountRow->addWidget(m_amount, 1);
    amountRow->addWidget(currency);

    m_perPeriod = new QRadioButton(tr("For the &whole period"), this);
    m_perPeriod->setObjectName(QStringLiteral("perPeriod"));
    m_perMonth = new QRadioButton(tr("&Per month"), this);
    m_perMonth->setObjectName(QStringLiteral("perMonth"));
    (m_model.showMonthlyAmount() ? m_perMonth : m_perPeriod)->setChecked(true);
    connect(m_perMonth, &QRadioButton::toggled, this, &EstimateEditorSheet::modeChosen);
    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(m_perPeriod);
    modeRow->addWidget(m_perMonth);
    modeRow->addStretch();

    m_notes = new QPlainTextEdit(m_model.notes(), this);
    m_notes->setObjectName(QStringLiteral("estimateNotes"));
    m_notes->setTabChangesFocus(true);
    m_notes->setMinimumHeight(70);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(tr("Save"));
    m_buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &EstimateEditorSheet::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &EstimateEditorSheet::reject);

    auto* form = new QFormLayout(this);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->addRow(title);
    form->addRow(subtitle);
    auto* amountLabel = new QLabel(tr("&Amount:"), this);
    amountLabel->setBuddy(m_amount);
    form->addRow(amountLabel, amountRow);
    form->addRow(QString(), modeRow);
    auto* notesLabel = new QLabel(tr("N&otes:"), this);
    notesLabel->setBuddy(m_notes);
    form->addRow(notesLabel, m_notes);
    form->addRow(m_buttons);
    setMinimumWidth(400);
    setTabOrder(m_amount, m_perPeriod);
    setTabOrder(m_perPeriod, m_perMonth);
    setTabOrder(m_perMonth, m_notes);
}

void EstimateEditorSheet::takeShownAmount() {
    if (const auto value = m_amount->value()) {
        m_model.setShownAmount(*value);
    }
}

void EstimateEditorSheet::modeChosen() {
    takeShownAmount();
    m_model.setShowMonthlyAmount(m_perMonth->isChecked());
    m_amount->setValue(m_model.shownAmount());
}

void EstimateEditorSheet::accept() {
    if (!m_amount->isValid()) {
        m_amount->setFocus();
        return;
    }
    takeShownAmount();
    if (!m_amount->value()) {
        // An empty field means no limit.
        m_model.setShownAmount(model::Amount());
    }
    m_model.setNotes(m_notes->toPlainText());
    const app::EstimateEditorModel::TableEffect effect = m_model.save();
    emit limitSaved(m_model.limit(), app::EstimateEditorModel::needsRetracking(effect));
    QDialog::accept();
}

} // namespace vantrel::ui
