#include "ui/PaySheet.h"

#include "ui/AmountLineEdit.h"
#include "ui/CategoryField.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vantrel::ui {

PaySheet::PaySheet(app::Workspace& workspace, const model::ScheduledItem& item, const QString& localeId,
                   QWidget* parent)
    : QDialog(parent)
    , m_workspace(workspace)
    , m_localeId(localeId)
    , m_model(workspace, item, localeId) {
    setObjectName(QStringLiteral("paySheet"));
    setWindowTitle(m_model.sheetTitle());
    setWindowModality(Qt::WindowModal);
    buildForm();
}

PaySheet::~PaySheet() = default;

void PaySheet::buildForm() {
    m_heading = new QLabel(m_model.sheetTitle(), this);
    m_heading->setObjectName(QStringLiteral("payHeading"));
    m_heading->setTextFormat(Qt::PlainText);
    QFont headingFont = m_heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.25);
    m_heading->setFont(headingFont);

    m_due = new QLabel(m_model.dueText(), this);
    m_due->setObjectName(QStringLiteral("payDue"));
    m_due->setForegroundRole(QPalette::PlaceholderText);

    m_help = new QLabel(this);
    m_help->setObjectName(QStringLiteral("payHelp"));
    m_help->setWordWrap(true);
    if (!m_model.linkURL().isEmpty()) {
        m_help->setTextFormat(Qt::RichText);
        m_help->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                            .arg(m_model.linkURL().toHtmlEscaped(), m_model.linkTitle().toHtmlEscaped()));
        m_help->setOpenExternalLinks(true);
        m_help->setTextInteractionFlags(Qt::TextBrowserInteraction);
    } else {
        m_help->setTextFormat(Qt::PlainText);
        m_help->setText(m_model.instructions());
    }
    m_help->setVisible(!m_help->text().isEmpty());

    m_date = new QDateEdit(m_model.date().toQDate(), this);
    m_date->setObjectName(QStringLiteral("payDate"));
    m_date->setCalendarPopup(true);
    connect(m_date, &QDateEdit::userDateChanged, this,
            [this](const QDate& date) { m_model.setDate(model::Day::fromQDate(date)); });

    m_amount = new AmountLineEdit(this, m_localeId);
    m_amount->setObjectName(QStringLiteral("payAmount"));
    m_amount->fieldModel().setShouldAssumeSign(m_model.amountField().shouldAssumeSign());
    m_amount->fieldModel().setNoCents(m_model.amountField().noCents());
    m_amount->fieldModel().setText(m_model.amountField().text());
    m_amount->setText(m_model.amountField().text());
    auto* amountRow = new QWidget(this);
    auto* amountLayout = new QHBoxLayout(amountRow);
    amountLayout->setContentsMargins(0, 0, 0, 0);
    amountLayout->addWidget(m_amount, 1);
    amountLayout->addWidget(new QLabel(m_model.currencyCode(), amountRow));

    m_category = new CategoryField(m_workspace, this);
    m_category->setObjectName(QStringLiteral("payCategory"));
    m_category->setCategory(m_model.category());
    connect(m_category, &CategoryField::categoryChosen, this,
            [this](objectstore::ManagedObject* category) { m_model.setCategory(category); });

    m_notes = new QLineEdit(m_model.notes(), this);
    m_notes->setObjectName(QStringLiteral("payNotes"));
    m_notes->setMinimumWidth(260);
    connect(m_notes, &QLineEdit::textEdited, this, [this](const QString& text) { m_model.setNotes(text); });

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(m_model.verb());
    m_buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &PaySheet::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &PaySheet::reject);

    auto* form = new QFormLayout(this);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->addRow(m_heading);
    form->addRow(m_due);
    form->addRow(m_help);
    form->addRow(tr("&Date:"), m_date);
    form->addRow(tr("&Amount:"), amountRow);
    form->addRow(tr("&Category:"), m_category);
    form->addRow(tr("&Notes:"), m_notes);
    form->addRow(m_buttons);
    form->setSizeConstraint(QLayout::SetFixedSize);
    m_amount->setFocus();
}

void PaySheet::accept() {
    m_model.amountField().setText(m_amount->text());
    m_category->commit();
    m_model.setCategory(m_category->category());
    if (!m_model.confirm()) {
        m_amount->setFocus();
        m_amount->selectAll();
        return;
    }
    emit paid();
    QDialog::accept();
}

} // namespace vantrel::ui
