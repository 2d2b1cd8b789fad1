#include "ui/ScheduledEditorSheet.h"

#include "app/Alert.h"
#include "app/Workspace.h"
#include "model/Account.h"
#include "ui/AmountLineEdit.h"
#include "ui/CategoryField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace vantrel::ui {

namespace {

using Repeat = app::ScheduledEditorModel::Repeat;

QVariant objectData(objectstore::ManagedObject* object) {
    return QVariant::fromValue(static_cast<void*>(object));
}

objectstore::ManagedObject* objectOf(const QVariant& data) {
    return static_cast<objectstore::ManagedObject*>(data.value<void*>());
}

constexpr int kMaximumCount = 9999;

} // namespace

ScheduledEditorSheet::ScheduledEditorSheet(app::Workspace& workspace,
                                           const std::optional<model::ScheduledItem>& item,
                                           const QString& localeId, QWidget* parent)
    : QDialog(parent)
    , m_workspace(workspace)
    , m_localeId(localeId)
    , m_model(item ? app::ScheduledEditorModel(workspace, *item, localeId)
                   : app::ScheduledEditorModel(workspace, localeId)) {
    setObjectName(QStringLiteral("scheduledEditorSheet"));
    setWindowTitle(m_model.sheetTitle());
    setWindowModality(Qt::WindowModal);
    buildForm();
    showModel();
}

ScheduledEditorSheet::~ScheduledEditorSheet() = default;

void ScheduledEditorSheet::buildForm() {
    m_title = new QLineEdit(this);
    m_title->setObjectName(QStringLiteral("scheduledTitle"));
    m_title->setMinimumWidth(280);
    connect(m_title, &QLineEdit::textEdited, this, [this](const QString& text) { m_model.setTitle(text); });

    m_amount = new AmountLineEdit(this, m_localeId);
    m_amount->setObjectName(QStringLiteral("scheduledAmount"));
    connect(m_amount, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_model.amountField().setText(text); });

    m_account = new QComboBox(this);
    m_account->setObjectName(QStringLiteral("scheduledAccount"));
    fillAccountMenu(m_account);
    connect(m_account, &QComboBox::activated, this,
            [this](int index) { m_model.setAccount(objectOf(m_account->itemData(index))); });

    m_transfer = new QCheckBox(tr("Transfer to another account"), this);
    m_transfer->setObjectName(QStringLiteral("scheduledTransfer"));
    connect(m_transfer, &QCheckBox::toggled, this, [this](bool on) {
        m_model.setTransfer(on);
        selectData(m_toAccount, m_model.toAccount());
        showAmountField();
        showVisibility();
    });

    m_toAccount = new QComboBox(this);
    m_toAccount->setObjectName(QStringLiteral("scheduledToAccount"));
    fillAccountMenu(m_toAccount);
    connect(m_toAccount, &QComboBox::activated, this,
            [this](int index) { m_model.setToAccount(objectOf(m_toAccount->itemData(index))); });

    m_category = new CategoryField(m_workspace, this);
    m_category->setObjectName(QStringLiteral("scheduledCategory"));
    connect(m_category, &CategoryField::categoryChosen, this,
            [this](objectstore::ManagedObject* category) { m_model.setCategory(category); });

    m_date = new QDateEdit(this);
    m_date->setObjectName(QStringLiteral("scheduledDate"));
    m_date->setCalendarPopup(true);
    connect(m_date, &QDateEdit::userDateChanged, this, [this](const QDate& date) {
        m_model.setDueDate(model::Day::fromQDate(date));
        showRules();
    });

    m_notes = new QPlainTextEdit(this);
    m_notes->setObjectName(QStringLiteral("scheduledNotes"));
    m_notes->setTabChangesFocus(true);
    m_notes->setFixedHeight(m_notes->fontMetrics().lineSpacing() * 4);
    connect(m_notes, &QPlainTextEdit::textChanged, this,
            [this] { m_model.setNotes(m_notes->toPlainText()); });

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(m_model.confirmTitle());
    m_buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &ScheduledEditorSheet::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &ScheduledEditorSheet::reject);

    m_form = new QFormLayout(this);
    m_form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    m_form->addRow(tr("&Title:"), m_title);
    m_form->addRow(tr("A&mount:"), m_amount);
    m_accountLabel = new QLabel(m_model.accountLabel(), this);
    m_accountLabel->setBuddy(m_account);
    m_form->addRow(m_accountLabel, m_account);
    m_form->addRow(QString(), m_transfer);
    m_form->addRow(tr("To Account:"), m_toAccount);
    m_form->addRow(tr("&Category:"), m_category);
    m_dateLabel = new QLabel(m_model.dueDateLabel(), this);
    m_dateLabel->setBuddy(m_date);
    m_form->addRow(m_dateLabel, m_date);
    m_form->addRow(tr("&Repeat:"), buildScheduleRow());
    m_form->addRow(QString(), m_rulesBox);
    m_form->addRow(tr("&Ends:"), buildEndsRow());
    m_form->addRow(tr("Re&minder:"), buildReminderRow());
    m_form->addRow(tr("&Notes:"), m_notes);
    m_form->addRow(m_buttons);
    m_form->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* ScheduledEditorSheet::buildScheduleRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_repeat = new QComboBox(row);
    m_repeat->setObjectName(QStringLiteral("scheduledRepeat"));
    m_repeat->addItem(tr("Monthly"), static_cast<int>(Repeat::Month));
    m_repeat->addItem(tr("Weekly"), static_cast<int>(Repeat::Week));
    m_repeat->addItem(tr("Never"), static_cast<int>(Repeat::Never));
    connect(m_repeat, &QComboBox::activated, this, [this](int index) {
        m_model.setRepeat(static_cast<Repeat>(m_repeat->itemData(index).toInt()));
        showRules();
        showVisibility();
    });
    layout->addWidget(m_repeat);

    m_intervalRow = new QWidget(row);
    auto* interval = new QHBoxLayout(m_intervalRow);
    interval->setContentsMargins(0, 0, 0, 0);
    interval->addWidget(new QLabel(tr("every"), m_intervalRow));
    m_interval = new QSpinBox(m_intervalRow);
    m_interval->setObjectName(QStringLiteral("scheduledInterval"));
    m_interval->setRange(1, kMaximumCount);
    connect(m_interval, &QSpinBox::valueChanged, this, [this](int value) {
        m_model.setInterval(value);
        m_intervalUnit->setText(m_model.intervalUnit());
    });
    interval->addWidget(m_interval);
    m_intervalUnit = new QLabel(m_intervalRow);
    m_intervalUnit->setObjectName(QStringLiteral("scheduledIntervalUnit"));
    m_intervalUnit->setMinimumWidth(
        m_intervalUnit->fontMetrics().horizontalAdvance(QStringLiteral("months")));
    interval->addWidget(m_intervalUnit);
    m_custom = new QPushButton(tr("Choose Days..."), m_intervalRow);
    m_custom->setObjectName(QStringLiteral("scheduledCustomRules"));
    connect(m_custom, &QPushButton::clicked, this, [this] {
        m_model.showRules();
        showRules();
    });
    interval->addWidget(m_custom);
    layout->addWidget(m_intervalRow);
    layout->addStretch();

    m_rulesBox = new QWidget(this);
    m_rulesBox->setObjectName(QStringLiteral("scheduledRules"));
    m_rulesLayout = new QVBoxLayout(m_rulesBox);
    m_rulesLayout->setContentsMargins(0, 0, 0, 0);
    return row;
}

QWidget* ScheduledEditorSheet::buildEndsRow() {
    m_endsRow = new QWidget(this);
    auto* layout = new QHBoxLayout(m_endsRow);
    layout->setContentsMargins(0, 0, 0, 0);
    m_ends = new QComboBox(m_endsRow);
    m_ends->setObjectName(QStringLiteral("scheduledEnds"));
    m_ends->addItem(tr("never"));
    m_ends->addItem(tr("after"));
    connect(m_ends, &QComboBox::activated, this, [this](int index) {
        m_model.setEndsAfterCount(index == 1);
        m_endsAfter->setValue(m_model.endsAfter());
        showVisibility();
    });
    layout->addWidget(m_ends);
    m_endsAfter = new QSpinBox(m_endsRow);
    m_endsAfter->setObjectName(QStringLiteral("scheduledEndsAfter"));
    m_endsAfter->setRange(1, kMaximumCount);
    connect(m_endsAfter, &QSpinBox::valueChanged, this, [this](int value) {
        m_model.setEndsAfter(value);
        m_endsUnit->setText(m_model.endsUnit());
    });
    layout->addWidget(m_endsAfter);
    m_endsUnit = new QLabel(m_endsRow);
    layout->addWidget(m_endsUnit);
    layout->addStretch();
    return m_endsRow;
}

QWidget* ScheduledEditorSheet::buildReminderRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_reminder = new QCheckBox(tr("Remind me"), row);
    m_reminder->setObjectName(QStringLiteral("scheduledReminder"));
    connect(m_reminder, &QCheckBox::toggled, this, [this](bool on) {
        m_model.setReminder(on);
        m_reminderDays->setValue(m_model.reminderDays());
        m_reminderDays->setEnabled(on);
    });
    layout->addWidget(m_reminder);
    m_reminderDays = new QSpinBox(row);
    m_reminderDays->setObjectName(QStringLiteral("scheduledReminderDays"));
    m_reminderDays->setRange(0, kMaximumCount);
    connect(m_reminderDays, &QSpinBox::valueChanged, this,
            [this](int days) { m_model.setReminderDays(days); });
    layout->addWidget(m_reminderDays);
    layout->addWidget(new QLabel(tr("days before it is due"), row));
    layout->addStretch();
    return row;
}

void ScheduledEditorSheet::fillAccountMenu(QComboBox* menu) {
    for (objectstore::ManagedObject* account : m_model.accountChoices()) {
        menu->addItem(model::Account(account).name(), objectData(account));
    }
}

void ScheduledEditorSheet::selectData(QComboBox* menu, objectstore::ManagedObject* object) {
    const QSignalBlocker blocker(menu);
    menu->setCurrentIndex(menu->findData(objectData(object)));
}

void ScheduledEditorSheet::showModel() {
    m_title->setText(m_model.title());
    selectData(m_account, m_model.account());
    {
        const QSignalBlocker blocker(m_transfer);
        m_transfer->setChecked(m_model.isTransfer());
    }
    selectData(m_toAccount, m_model.toAccount());
    m_category->setCategory(m_model.category());
    {
        const QSignalBlocker blocker(m_date);
        m_date->setDate(m_model.dueDate().toQDate());
    }
    m_repeat->setCurrentIndex(m_repeat->findData(static_cast<int>(m_model.repeat())));
    {
        const QSignalBlocker blocker(m_interval);
        m_interval->setValue(m_model.interval());
    }
    m_intervalUnit->setText(m_model.intervalUnit());
    m_ends->setCurrentIndex(m_model.endsAfterCount() ? 1 : 0);
    {
        const QSignalBlocker blocker(m_endsAfter);
        m_endsAfter->setValue(m_model.endsAfter());
    }
    m_endsUnit->setText(m_model.endsUnit());
    {
        const QSignalBlocker blocker(m_reminder);
        m_reminder->setChecked(m_model.hasReminder());
    }
    {
        const QSignalBlocker blocker(m_reminderDays);
        m_reminderDays->setValue(m_model.reminderDays());
    }
    m_reminderDays->setEnabled(m_model.hasReminder());
    {
        const QSignalBlocker blocker(m_notes);
        m_notes->setPlainText(m_model.notes());
    }
    showAmountField();
    showRules();
    showVisibility();
}

void ScheduledEditorSheet::showAmountField() {
    const QSignalBlocker blocker(m_amount);
    m_amount->fieldModel().setShouldAssumeSign(m_model.amountField().shouldAssumeSign());
    m_amount->fieldModel().setText(m_model.amountField().text());
    m_amount->setText(m_model.amountField().text());
}

void ScheduledEditorSheet::showRules() {
    for (QComboBox* menu : m_ruleMenus) {
        menu->parentWidget()->deleteLater();
        menu->parentWidget()->hide();
    }
    m_ruleMenus.clear();
    while (QLayoutItem* item = m_rulesLayout->takeAt(0)) {
        delete item;
    }
    const std::vector<app::ScheduledEditorModel::RuleChoice> choices = m_model.ruleChoices();
    const std::vector<int>& rows = m_model.ruleRows();
    for (std::size_t index = 0; index < rows.size(); ++index) {
        auto* row = new QWidget(m_rulesBox);
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* label = new QLabel(app::ScheduledEditorModel::ruleRowLabel(index), row);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("And On:")));
        layout->addWidget(label);
        auto* menu = new QComboBox(row);
        menu->setObjectName(QStringLiteral("scheduledRule%1").arg(index));
        for (const app::ScheduledEditorModel::RuleChoice& choice : choices) {
            if (choice.isSeparator) {
                menu->insertSeparator(menu->count());
            } else {
                menu->addItem(choice.title, choice.value);
            }
        }
        menu->setCurrentIndex(menu->findData(rows[index]));
        menu->setMaxVisibleItems(12);
        connect(menu, &QComboBox::activated, this, [this, index, menu](int chosen) {
            m_model.setRuleRow(index, menu->itemData(chosen).toInt());
        });
        label->setBuddy(menu);
        layout->addWidget(menu);
        auto* remove = new QToolButton(row);
        remove->setText(QStringLiteral("\u2212"));
        remove->setToolTip(tr("Remove this day"));
        connect(remove, &QToolButton::clicked, this, [this, index] {
            m_model.removeRuleRow(index);
            showRules();
        });
        layout->addWidget(remove);
        if (index + 1 == rows.size()) {
            auto* add = new QToolButton(row);
            add->setObjectName(QStringLiteral("scheduledAddRule"));
            add->setText(QStringLiteral("+"));
            add->setToolTip(tr("Add another day"));
            connect(add, &QToolButton::clicked, this, [this] {
                m_model.addRuleRow();
                showRules();
            });
            layout->addWidget(add);
        }
        layout->addStretch();
        m_rulesLayout->addWidget(row);
        m_ruleMenus.push_back(menu);
    }
    showVisibility();
}

void ScheduledEditorSheet::showVisibility() {
    const bool repeats = m_model.repeats();
    m_intervalRow->setVisible(repeats);
    m_custom->setVisible(repeats && !m_model.showsRules());
    m_form->setRowVisible(m_rulesBox, repeats && m_model.showsRules());
    m_form->setRowVisible(m_endsRow, repeats);
    m_endsAfter->setVisible(m_model.endsAfterCount());
    m_endsUnit->setVisible(m_model.endsAfterCount());
    m_form->setRowVisible(m_toAccount, m_model.isTransfer());
    m_accountLabel->setText(m_model.accountLabel());
    m_dateLabel->setText(m_model.dueDateLabel());
}

std::vector<QComboBox*> ScheduledEditorSheet::ruleMenus() const {
    return m_ruleMenus;
}

void ScheduledEditorSheet::accept() {
    m_model.amountField().setText(m_amount->text());
    m_category->commit();
    m_model.setCategory(m_category->category());
    const app::CommandOutcome outcome = m_model.save();
    if (!outcome.succeeded()) {
        m_workspace.alerts().present(app::Alert{outcome.reason(), QString(), {}});
        m_amount->setFocus();
        return;
    }
    emit itemSaved(m_model.item()->object()->id());
    QDialog::accept();
}

} // namespace vantrel::ui
