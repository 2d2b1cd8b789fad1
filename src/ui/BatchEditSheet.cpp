#include "ui/BatchEditSheet.h"

#include "app/Alert.h"
#include "app/CategoryFieldModel.h"
#include "app/Workspace.h"
#include "model/Day.h"
#include "ui/Icons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include <utility>
#include <vector>

namespace vantrel::ui {

namespace {

using FlagChoice = app::BatchEditModel::FlagChoice;

QVariant categoryData(objectstore::ManagedObject* category) {
    return QVariant::fromValue(reinterpret_cast<quintptr>(category));
}

objectstore::ManagedObject* categoryOf(const QVariant& data) {
    return reinterpret_cast<objectstore::ManagedObject*>(data.value<quintptr>());
}

QString flagChoiceTitle(FlagChoice choice) {
    switch (choice) {
    case FlagChoice::Pending:
        return QStringLiteral("Pending");
    case FlagChoice::New:
        return QStringLiteral("New");
    case FlagChoice::None:
        break;
    }
    return QStringLiteral("No Flag");
}

QString flagChoiceImage(FlagChoice choice) {
    switch (choice) {
    case FlagChoice::Pending:
        return QStringLiteral("FlagPending");
    case FlagChoice::New:
        return QStringLiteral("FlagNew");
    case FlagChoice::None:
        break;
    }
    return QString();
}

// An empty picker: the earliest date it allows, shown as a blank.
const QDate kNoDate(1900, 1, 1);

} // namespace

BatchEditSheet::BatchEditSheet(app::Workspace& workspace, std::unique_ptr<app::BatchEditModel> model,
                               QWidget* parent)
    : QDialog(parent)
    , m_workspace(workspace)
    , m_model(std::move(model)) {
    setWindowTitle(QStringLiteral("Edit Transactions"));
    setWindowModality(Qt::WindowModal);
    setMinimumWidth(420);
    buildFields();
    fillCategories();
    fillFlagChoices();
    // Only the user changes the amount afterwards: its text is left as typed.
    showAmountFieldText();
    showModel();
    connectFields();
}

BatchEditSheet::~BatchEditSheet() {
    // The field outlives the members its filter reads.
    m_amount->removeEventFilter(this);
}

void BatchEditSheet::buildFields() {
    auto* layout = new QVBoxLayout(this);
    m_subtitle = new QLabel(m_model->subtitle(), this);
    QFont bold = m_subtitle->font();
    bold.setBold(true);
    m_subtitle->setFont(bold);
    layout->addWidget(m_subtitle);
    auto* hint = new QLabel(QStringLiteral("Tick a field to change it in every selected transaction."), this);
    hint->setForegroundRole(QPalette::PlaceholderText);
    hint->setWordWrap(true);
    layout->addWidget(hint);

    m_title = new QLineEdit(this);
    m_amount = new QLineEdit(this);
    m_amount->setAlignment(Qt::AlignRight);
    m_amount->installEventFilter(this);
    m_category = new QComboBox(this);
    m_date = new QDateEdit(this);
    m_date->setCalendarPopup(true);
    m_date->setMinimumDate(kNoDate);
    m_date->setSpecialValueText(QStringLiteral(" "));
    m_notes = new QLineEdit(this);
    m_flag = new QComboBox(this);

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    std::vector<std::pair<QWidget*, QWidget*>> rows;
    const auto addRow = [&](Field field, const QString& title, QWidget* widget) {
        auto* box = new QCheckBox(title, this);
        rows.emplace_back(box, widget);
        box->setToolTip(QStringLiteral("Change the %1 of every selected transaction").arg(title.toLower()));
        m_boxes[static_cast<std::size_t>(field)] = box;
        form->addRow(box, widget);
    };
    addRow(Field::Date, QStringLiteral("Date"), m_date);
    addRow(Field::Title, QStringLiteral("Payee"), m_title);
    addRow(Field::Amount, QStringLiteral("Amount"), m_amount);
    addRow(Field::Category, QStringLiteral("Category"), m_category);
    addRow(Field::Notes, QStringLiteral("Notes"), m_notes);
    addRow(Field::Flag, QStringLiteral("Flag"), m_flag);
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &BatchEditSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &BatchEditSheet::reject);
    layout->addWidget(buttons);

    // Each box before its field, top to bottom.
    QWidget* previous = nullptr;
    for (const auto& [box, widget] : rows) {
        for (QWidget* next : {box, widget}) {
            if (previous != nullptr) {
                setTabOrder(previous, next);
            }
            previous = next;
        }
    }
}

void BatchEditSheet::fillCategories() {
    const std::vector<app::CategoryMenuEntry> entries = app::CategoryFieldModel(m_workspace).menuEntries();
    auto* items = qobject_cast<QStandardItemModel*>(m_category->model());
    for (const app::CategoryMenuEntry& entry : entries) {
        using Kind = app::CategoryMenuEntry::Kind;
        switch (entry.kind) {
        case Kind::Separator:
            if (m_category->count() > 0) {
                m_category->insertSeparator(m_category->count());
            }
            break;
        case Kind::None:
            m_category->addItem(entry.title, categoryData(nullptr));
            break;
        case Kind::Group:
        case Kind::Category: {
            const QString indent(entry.indentation * 3, u' ');
            const QString emoji = entry.emoji.isEmpty() ? QString() : entry.emoji + u' ';
            m_category->addItem(indent + emoji + entry.title, categoryData(entry.object));
            if (!entry.enabled && items != nullptr) {
                items->item(m_category->count() - 1)->setEnabled(false);
            }
            break;
        }
        case Kind::EditCategories:
            break;
        }
    }
    // The last entry before "Edit Categories..." leaves a dangling separator.
    if (m_category->count() > 0 && m_category->itemText(m_category->count() - 1).isEmpty() &&
        !m_category->itemData(m_category->count() - 1).isValid()) {
        m_category->removeItem(m_category->count() - 1);
    }
}

void BatchEditSheet::fillFlagChoices() {
    for (const FlagChoice choice : m_model->flagChoices()) {
        const QString image = flagChoiceImage(choice);
        m_flag->addItem(image.isEmpty() ? QIcon() : namedIcon(image), flagChoiceTitle(choice),
                        static_cast<int>(choice));
    }
}

void BatchEditSheet::connectFields() {
    connect(m_title, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model->setTitle(text);
        showModel();
    });
    connect(m_title, &QLineEdit::editingFinished, this, [this] {
        m_model->finishTitleEditing();
        showModel();
    });
    connect(m_notes, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model->setNotes(text);
        showModel();
    });
    connect(m_amount, &QLineEdit::textEdited, this, &BatchEditSheet::amountEdited);
    connect(m_category, &QComboBox::activated, this, [this](int index) {
        m_model->setCategory(categoryOf(m_category->itemData(index)));
        showModel();
    });
    connect(m_flag, &QComboBox::activated, this, [this](int index) {
        m_model->setFlag(static_cast<FlagChoice>(m_flag->itemData(index).toInt()));
        showModel();
    });
    connect(m_date, &QDateEdit::dateChanged, this, [this](const QDate& date) {
        if (date != kNoDate) {
            m_model->setDate(model::Day::fromQDate(date));
            showModel();
        }
    });
    for (const Field field :
         {Field::Amount, Field::Category, Field::Date, Field::Title, Field::Notes, Field::Flag}) {
        connect(changeBox(field), &QCheckBox::clicked, this, [this, field](bool ticked) {
            m_model->setTicked(field, ticked);
            showModel();
        });
    }
}

void BatchEditSheet::showModel() {
    const QSignalBlocker dateBlocker(m_date);
    const std::optional<model::Day>& date = m_model->date();
    m_date->setDate(date ? date->toQDate() : kNoDate);
    m_date->setEnabled(m_model->isDateEnabled());

    // Only differing text is replaced: the caret stays where the user is typing.
    if (m_title->text() != m_model->title().value_or(QString())) {
        m_title->setText(m_model->title().value_or(QString()));
    }
    if (m_notes->text() != m_model->notes().value_or(QString())) {
        m_notes->setText(m_model->notes().value_or(QString()));
    }
    const std::optional<objectstore::ManagedObject*>& category = m_model->category();
    m_category->setCurrentIndex(category ? m_category->findData(categoryData(*category)) : -1);
    const std::optional<FlagChoice>& flag = m_model->flag();
    m_flag->setCurrentIndex(flag ? m_flag->findData(static_cast<int>(*flag)) : -1);

    for (const Field field :
         {Field::Amount, Field::Category, Field::Date, Field::Title, Field::Notes, Field::Flag}) {
        changeBox(field)->setChecked(m_model->isTicked(field));
    }
}

void BatchEditSheet::showAmountFieldText() {
    if (const std::optional<model::Amount>& amount = m_model->amount()) {
        m_amountField.setValue(*amount);
        m_amount->setText(m_amountField.text());
    } else {
        m_amountField.setText(QString());
        m_amount->clear();
    }
}

void BatchEditSheet::amountEdited(const QString& text) {
    m_amountField.setText(text);
    if (const std::optional<model::Amount> amount = m_amountField.interpretedAmount()) {
        m_amountUnreadable = false;
        m_model->setAmount(*amount);
    } else {
        m_amountUnreadable = true;
        m_model->setTicked(Field::Amount, true);
    }
    showModel();
}

bool BatchEditSheet::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_amount && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        // Typing into an empty amount enters an expense, as in the inline editor.
        m_amountField.setText(m_amount->text());
        if (event->type() == QEvent::FocusIn) {
            m_amountField.focusIn();
        } else {
            m_amountField.focusOut();
        }
        m_amount->setText(m_amountField.text());
        m_amount->setSelection(static_cast<int>(m_amountField.selectionStart()),
                               static_cast<int>(m_amountField.selectionLength()));
    }
    return QDialog::eventFilter(watched, event);
}

void BatchEditSheet::accept() {
    if (m_model->isTicked(Field::Amount) && m_amountUnreadable) {
        m_workspace.alerts().present(
            app::Alert{QStringLiteral("Amount could not be parsed."),
                       QStringLiteral("Enter the amount as a number, such as -12.50."),
                       {}});
        m_amount->setFocus();
        return;
    }
    m_model->apply();
    emit applied();
    QDialog::accept();
}

} // namespace vantrel::ui
