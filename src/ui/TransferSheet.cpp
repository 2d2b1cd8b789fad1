#include "ui/TransferSheet.h"

#include "app/Alert.h"
#include "app/CategoryFieldModel.h"
#include "app/Workspace.h"
#include "model/Account.h"
#include "model/Day.h"
#include "platform/NotificationHub.h"
#include "platform/NotificationNames.h"
#include "ui/AmountLineEdit.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>

namespace vantrel::ui {

namespace {

QVariant objectData(objectstore::ManagedObject* object) {
    return QVariant::fromValue(static_cast<void*>(object));
}

objectstore::ManagedObject* objectOf(const QVariant& data) {
    return static_cast<objectstore::ManagedObject*>(data.value<void*>());
}

constexpr auto kIndentation = "    ";

} // namespace

TransferSheet::TransferSheet(app::Workspace& workspace, const model::Account& source, const QString& localeId,
                             QWidget* parent)
    : QDialog(parent)
    , m_workspace(workspace)
    , m_localeId(localeId)
    , m_model(std::make_unique<app::TransferDialogModel>(workspace, source, localeId)) {
    setObjectName(QStringLiteral("transferSheet"));
    setWindowTitle(tr("Transfer"));
    setWindowModality(Qt::WindowModal);
    buildForm();
    selectData(m_from, source.object());
    showModel();
    // Categories edited in the preferences while the sheet is open show up in its menu.
    workspace.notifications().observe(QString::fromLatin1(platform::kCategoriesChanged), this,
                                      [this](const platform::Notification&) {
                                          fillCategoryMenu();
                                          selectData(m_category, m_model->category());
                                      });
}

TransferSheet::~TransferSheet() = default;

void TransferSheet::buildForm() {
    m_from = new QComboBox(this);
    m_from->setObjectName(QStringLiteral("transferFrom"));
    fillAccountMenu(m_from);
    connect(m_from, &QComboBox::activated, this, &TransferSheet::sourceChosen);

    m_to = new QComboBox(this);
    m_to->setObjectName(QStringLiteral("transferTo"));
    fillAccountMenu(m_to);
    connect(m_to, &QComboBox::activated, this, &TransferSheet::destinationChosen);

    m_amount = new AmountLineEdit(this, m_localeId);
    m_amount->setObjectName(QStringLiteral("transferAmount"));

    m_category = new QComboBox(this);
    m_category->setObjectName(QStringLiteral("transferCategory"));
    fillCategoryMenu();
    connect(m_category, &QComboBox::activated, this, &TransferSheet::categoryChosen);

    m_title = new QLineEdit(this);
    m_title->setObjectName(QStringLiteral("transferTitle"));
    m_title->setMinimumWidth(260);
    connect(m_title, &QLineEdit::textEdited, this, [this](const QString& text) { m_model->setTitle(text); });

    m_date = new QDateEdit(this);
    m_date->setObjectName(QStringLiteral("transferDate"));
    m_date->setCalendarPopup(true);
    connect(m_date, &QDateEdit::userDateChanged, this,
            [this](const QDate& date) { m_model->setDate(model::Day::fromQDate(date)); });

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(tr("Transfer"));
    m_buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &TransferSheet::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &TransferSheet::reject);

    auto* form = new QFormLayout(this);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->addRow(tr("&From:"), m_from);
    form->addRow(tr("T&o:"), m_to);
    form->addRow(tr("&Amount:"), m_amount);
    form->addRow(tr("&Category:"), m_category);
    form->addRow(tr("T&itle:"), m_title);
    form->addRow(tr("&Date:"), m_date);
    form->addRow(m_buttons);
    form->setSizeConstraint(QLayout::SetFixedSize);
}

void TransferSheet::fillAccountMenu(QComboBox* menu) {
    for (const model::Account& account : model::Account::allInAccountOrder(m_workspace.context())) {
        menu->addItem(account.name(), objectData(account.object()));
    }
}

void TransferSheet::fillCategoryMenu() {
    const QSignalBlocker blocker(m_category);
    m_category->clear();
    auto* items = qobject_cast<QStandardItemModel*>(m_category->model());
    for (const app::CategoryMenuEntry& entry : app::CategoryFieldModel(m_workspace).menuEntries()) {
        switch (entry.kind) {
        case app::CategoryMenuEntry::Kind::Separator:
            m_category->insertSeparator(m_category->count());
            break;
        case app::CategoryMenuEntry::Kind::EditCategories:
            // Categories are edited in the preferences, not from inside a sheet.
            break;
        default: {
            const QString emoji = entry.emoji.isEmpty() ? QString() : entry.emoji + QLatin1Char(' ');
            m_category->addItem(QString::fromLatin1(kIndentation).repeated(entry.indentation) + emoji +
                                    entry.title,
                                objectData(entry.object));
            if (!entry.enabled && items != nullptr) {
                items->item(m_category->count() - 1)->setEnabled(false);
            }
        }
        }
    }
    // The separator that led to the left-out "Edit Categories..." item.
    while (m_category->count() > 0 && m_category->itemText(m_category->count() - 1).isEmpty() &&
           !m_category->itemData(m_category->count() - 1).isValid()) {
        m_category->removeItem(m_category->count() - 1);
    }
}

void TransferSheet::selectData(QComboBox* menu, objectstore::ManagedObject* object) {
    const QSignalBlocker blocker(menu);
    for (int index = 0; index < menu->count(); ++index) {
        const QVariant data = menu->itemData(index);
        if (data.isValid() && objectOf(data) == object) {
            menu->setCurrentIndex(index);
            return;
        }
    }
    menu->setCurrentIndex(-1);
}

void TransferSheet::showModel() {
    selectData(m_to, m_model->destination());
    selectData(m_category, m_model->category());
    m_title->setText(m_model->title());
    m_title->setPlaceholderText(m_model->titlePlaceholder());
    m_date->setDate(m_model->date().toQDate());
    m_amount->fieldModel().setShouldAssumeSign(m_model->amountField().shouldAssumeSign());
    m_amount->fieldModel().setNoCents(m_model->amountField().noCents());
    showAmount();
}

void TransferSheet::showAmount() {
    const model::ParseResult<model::Amount> amount = m_model->amountField().parsedValue();
    if (amount.succeeded()) {
        m_amount->setValue(amount.hasValue() ? std::optional(amount.value()) : std::nullopt);
    }
    m_filledAmountText = m_amount->text();
}

void TransferSheet::handAmountToModel() {
    m_model->amountField().setText(m_amount->text());
}

objectstore::ManagedObject* TransferSheet::accountAt(const QComboBox* menu, int index) const {
    return objectOf(menu->itemData(index));
}

bool TransferSheet::amountTyped() const {
    return m_amount->text() != m_filledAmountText;
}

void TransferSheet::sourceChosen(int index) {
    handAmountToModel();
    // The amount the user typed and the date stay; the rest follows the new source's last transfer.
    const bool typed = amountTyped();
    const QString filled = m_filledAmountText;
    auto fresh = std::make_unique<app::TransferDialogModel>(
        m_workspace, model::Account(accountAt(m_from, index)), m_localeId);
    if (typed) {
        fresh->amountField().setText(m_model->amountField().text());
    }
    fresh->setDate(m_model->date());
    m_model = std::move(fresh);
    showModel();
    if (typed) {
        m_filledAmountText = filled;
    }
}

void TransferSheet::destinationChosen(int index) {
    handAmountToModel();
    const bool typed = amountTyped();
    const QString filled = m_filledAmountText;
    m_model->chooseDestination(accountAt(m_to, index));
    showModel();
    if (typed) {
        m_filledAmountText = filled;
    }
}

void TransferSheet::categoryChosen(int index) {
    m_model->setCategory(objectOf(m_category->itemData(index)));
}

void TransferSheet::accept() {
    handAmountToModel();
    const app::CommandOutcome outcome = m_model->confirm();
    if (!outcome.succeeded()) {
        m_workspace.alerts().present(app::Alert{outcome.reason(), QString(), {}});
        m_amount->setFocus();
        return;
    }
    emit transferMade();
    QDialog::accept();
}

} // namespace vantrel::ui
