#include "ui/EditPanel.h"

#include "app/EditPanelModel.h"
#include "app/Workspace.h"
#include "ui/AmountLineEdit.h"
#include "ui/CategoryField.h"
#include "ui/PayeeField.h"
#include "ui/SplitRowWidget.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPalette>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

namespace vantrel::ui {

namespace {

constexpr int kSpacing = 6;

int amountFieldWidth(const QWidget& field) {
    return field.fontMetrics().horizontalAdvance(QStringLiteral("-000,000.00")) + 16;
}

// The locale's short date with the full year: two-digit years are ambiguous in a money register.
QString dateFormat(const QString& localeId) {
    QString format = QLocale(localeId).dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy"))) {
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    }
    return format;
}

void markValidity(QLineEdit& field, bool valid, const QString& problem) {
    field.setToolTip(valid ? QString() : problem);
    QPalette colors = field.palette();
    colors.setColor(QPalette::Text, valid ? QPalette().color(QPalette::Text) : QColor(Qt::red));
    field.setPalette(colors);
}

} // namespace

EditPanel::EditPanel(app::Workspace& workspace, QWidget* parent, const QString& localeId)
    : QWidget(parent)
    , m_workspace(workspace)
    , m_localeId(localeId)
    , m_model(std::make_unique<app::EditPanelModel>(workspace, localeId)) {
    setObjectName(QStringLiteral("EditPanel"));
    // A card over the table row: the register's base colour with a frame, so it reads as one unit.
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#EditPanel { background: palette(base); border: 1px solid palette(mid);"
                                 " border-radius: 6px; }"));
    setFocusPolicy(Qt::StrongFocus);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setSpacing(kSpacing);
    buildFields();
    buildCategoryArea(workspace);
    buildBankArea();
    connectFields();
}

EditPanel::~EditPanel() {
    // Closing takes the focus away, and a field losing it would report to a panel (and a model)
    // that is already going.
    for (QWidget* child : findChildren<QWidget*>()) {
        child->blockSignals(true);
    }
}

void EditPanel::buildFields() {
    auto* layout = static_cast<QVBoxLayout*>(this->layout());

    m_accountRow = new QWidget(this);
    auto* accountLayout = new QHBoxLayout(m_accountRow);
    accountLayout->setContentsMargins(0, 0, 0, 0);
    auto* accountLabel = new QLabel(tr("&Account:"), m_accountRow);
    m_accountPopup = new QComboBox(m_accountRow);
    m_accountPopup->setObjectName(QStringLiteral("accountPopup"));
    m_accountPopup->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    accountLabel->setBuddy(m_accountPopup);
    accountLayout->addWidget(accountLabel);
    accountLayout->addWidget(m_accountPopup);
    accountLayout->addStretch(1);
    m_accountRow->hide();
    layout->addWidget(m_accountRow);

    auto* top = new QHBoxLayout;
    top->setSpacing(kSpacing);
    m_date = new QDateEdit(this);
    m_date->setObjectName(QStringLiteral("dateField"));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(dateFormat(m_localeId));
    m_date->setAccessibleName(tr("Date"));
    top->addWidget(m_date);

    m_checkNumber = new QLineEdit(this);
    m_checkNumber->setObjectName(QStringLiteral("checkNumberField"));
    m_checkNumber->setPlaceholderText(tr("Check #"));
    m_checkNumber->setAccessibleName(tr("Check number"));
    m_checkNumber->setFixedWidth(
        m_checkNumber->fontMetrics().horizontalAdvance(QStringLiteral("Check #####")));
    top->addWidget(m_checkNumber);

    m_payee = new PayeeField(m_model->payee(), this);
    m_payee->setObjectName(QStringLiteral("payeeField"));
    m_payee->setPlaceholderText(tr("Payee"));
    m_payee->setAccessibleName(tr("Payee"));
    m_payee->setMinimumWidth(180);
    top->addWidget(m_payee, 1);

    m_amount = new AmountLineEdit(this, m_localeId);
    m_amount->setObjectName(QStringLiteral("amountField"));
    m_amount->setPlaceholderText(tr("Amount"));
    m_amount->setAccessibleName(tr("Amount"));
    m_amount->setFixedWidth(amountFieldWidth(*m_amount));
    top->addWidget(m_amount);

    layout->addLayout(top);
}

void EditPanel::buildCategoryArea(app::Workspace& workspace) {
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    auto* middle = new QHBoxLayout;
    middle->setSpacing(kSpacing);

    auto* categories = new QVBoxLayout;
    categories->setSpacing(4);
    m_category = new CategoryField(workspace, this);
    m_category->setObjectName(QStringLiteral("categoryField"));
    categories->addWidget(m_category);

    m_splitArea = new QWidget(this);
    m_splitArea->setObjectName(QStringLiteral("splitArea"));
    auto* splitLayout = new QVBoxLayout(m_splitArea);
    splitLayout->setContentsMargins(0, 0, 0, 0);
    splitLayout->setSpacing(4);
    m_rowsLayout = new QVBoxLayout;
    m_rowsLayout->setSpacing(4);
    splitLayout->addLayout(m_rowsLayout);
    m_remainderRow = new QWidget(m_splitArea);
    auto* remainderLayout = new QHBoxLayout(m_remainderRow);
    remainderLayout->setContentsMargins(0, 0, 0, 0);
    remainderLayout->addStretch(1);
    remainderLayout->addWidget(new QLabel(tr("Remainder:"), m_remainderRow));
    m_remainder = new QLabel(m_remainderRow);
    m_remainder->setObjectName(QStringLiteral("remainderLabel"));
    m_remainder->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_remainder->setMinimumWidth(amountFieldWidth(*m_remainder));
    remainderLayout->addWidget(m_remainder);
    // Under the amounts, clear of the rows' buttons.
    remainderLayout->addSpacing(2 * m_remainder->fontMetrics().height() + 12);
    splitLayout->addWidget(m_remainderRow);
    m_splitArea->hide();
    categories->addWidget(m_splitArea);
    middle->addLayout(categories, 1);

    m_splitButton = new QToolButton(this);
    m_splitButton->setObjectName(QStringLiteral("splitButton"));
    m_splitButton->setText(tr("Split"));
    m_splitButton->setCheckable(true);
    m_splitButton->setToolTip(tr("Divide the amount among several categories"));
    middle->addWidget(m_splitButton, 0, Qt::AlignTop);
    layout->addLayout(middle);

    m_notes = new QLineEdit(this);
    m_notes->setObjectName(QStringLiteral("notesField"));
    m_notes->setPlaceholderText(tr("Notes"));
    m_notes->setAccessibleName(tr("Notes"));
    layout->addWidget(m_notes);
}

void EditPanel::buildBankArea() {
    m_bankArea = new QWidget(this);
    m_bankArea->setObjectName(QStringLiteral("bankArea"));
    auto* bank = new QHBoxLayout(m_bankArea);
    bank->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(tr("Bank:"), m_bankArea);
    QPalette muted = caption->palette();
    muted.setColor(QPalette::WindowText, muted.color(QPalette::PlaceholderText));
    caption->setPalette(muted);
    bank->addWidget(caption);
    m_bankTitle = new QLabel(m_bankArea);
    m_bankTitle->setObjectName(QStringLiteral("bankTitle"));
    m_bankTitle->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bank->addWidget(m_bankTitle, 1);
    m_bankDate = new QLabel(m_bankArea);
    m_bankDate->setObjectName(QStringLiteral("bankDate"));
    m_bankDate->setPalette(muted);
    bank->addWidget(m_bankDate);
    m_undoMatch = new QPushButton(tr("Undo Match"), m_bankArea);
    m_undoMatch->setObjectName(QStringLiteral("undoMatchButton"));
    m_undoMatch->setAutoDefault(false);
    bank->addWidget(m_undoMatch);
    m_bankArea->hide();
    layout()->addWidget(m_bankArea);
}

void EditPanel::connectFields() {
    connect(m_accountPopup, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && static_cast<std::size_t>(index) < m_accounts.size()) {
            m_model->chooseAccount(m_accounts[static_cast<std::size_t>(index)].object());
        }
    });
    connect(m_date, &QDateEdit::dateChanged, this,
            [this](const QDate& date) { m_model->setDate(model::Day::fromQDate(date)); });
    connect(m_checkNumber, &QLineEdit::textEdited, this, [this](const QString& text) {
        markValidity(*m_checkNumber, m_model->setCheckNumberText(text), tr("This is not a check number."));
    });
    connect(m_checkNumber, &QLineEdit::editingFinished, this, [this] {
        if (m_model->setCheckNumberText(m_checkNumber->text())) {
            m_checkNumber->setText(m_model->checkNumberText());
        }
    });
    connect(m_payee, &QLineEdit::editingFinished, this, &EditPanel::payeeEditingFinished);
    connect(m_amount, &AmountLineEdit::valueEdited, this, [this](const std::optional<model::Amount>& amount) {
        m_model->setAmount(amount);
        if (m_model->showsSplitRows()) {
            showRows();
        }
    });
    connect(m_category, &CategoryField::categoryChosen, this,
            [this](objectstore::ManagedObject* category) { m_model->setSingleCategory(category); });
    connect(m_category, &CategoryField::editCategoriesRequested, this, &EditPanel::editCategoriesRequested);
    connect(m_splitButton, &QToolButton::clicked, this, &EditPanel::toggleSplit);
    connect(m_notes, &QLineEdit::textEdited, this, [this](const QString& text) { m_model->setNotes(text); });
    connect(m_undoMatch, &QPushButton::clicked, this, &EditPanel::undoMatch);
}

void EditPanel::setup(const model::Transaction& transaction, bool isAdd, bool showsAccountPopup) {
    m_model->setup(transaction, isAdd, showsAccountPopup);
    showAccounts();
    {
        const QSignalBlocker blocker(m_date);
        m_date->setDate(m_model->date().toQDate());
    }
    m_checkNumber->setText(m_model->checkNumberText());
    markValidity(*m_checkNumber, true, QString());
    m_payee->showCompletion();
    m_amount->setValue(m_model->amount());
    m_notes->setText(m_model->notes());
    showCategoryArea();
    showBankData();
    m_payee->setFocus(Qt::OtherFocusReason);
    m_payee->selectAll();
}

app::TransactionEdit EditPanel::fields() const {
    return m_model->fields();
}

std::optional<model::Account> EditPanel::chosenAccount() const {
    if (!m_model->isSetUp() || !m_model->showsAccountPopup()) {
        return std::nullopt;
    }
    return m_model->chosenAccount();
}

void EditPanel::keyPressEvent(QKeyEvent* event) {
    // The fields pass Return and Escape on; a completion popup keeps them while it is open.
    if (QApplication::activePopupWidget() != nullptr) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        requestSave();
        return;
    case Qt::Key_Escape:
        event->accept();
        emit discardRequested();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void EditPanel::showAccounts() {
    const bool shown = m_model->showsAccountPopup();
    m_accountRow->setVisible(shown);
    if (!shown) {
        return;
    }
    const QSignalBlocker blocker(m_accountPopup);
    m_accounts = m_model->accountChoices();
    m_accountPopup->clear();
    const std::optional<model::Account> chosen = m_model->chosenAccount();
    for (std::size_t index = 0; index < m_accounts.size(); ++index) {
        m_accountPopup->addItem(m_accounts[index].name());
        if (chosen && chosen->object() == m_accounts[index].object()) {
            m_accountPopup->setCurrentIndex(static_cast<int>(index));
        }
    }
}

void EditPanel::showCategoryArea() {
    const bool split = m_model->showsSplitRows();
    {
        const QSignalBlocker blocker(m_splitButton);
        m_splitButton->setChecked(split);
    }
    m_category->setVisible(!split);
    m_splitArea->setVisible(split);
    if (!split) {
        m_category->setCategory(m_model->singleCategory());
        rebuildRows();
        return;
    }
    if (m_rows.size() != m_model->splitRows().size()) {
        rebuildRows();
    }
    showRows();
}

void EditPanel::rebuildRows() {
    for (SplitRowWidget* row : m_rows) {
        // The row may be the sender of the click that got here.
        row->hide();
        row->deleteLater();
    }
    m_rows.clear();
    if (!m_model->showsSplitRows()) {
        setTabOrder(m_amount, m_category);
        setTabOrder(m_category, m_notes);
        return;
    }
    QWidget* previous = m_amount;
    for (std::size_t index = 0; index < m_model->splitRows().size(); ++index) {
        auto* row = new SplitRowWidget(m_workspace, index, m_localeId, m_splitArea);
        m_rowsLayout->addWidget(row);
        // Children added to a shown widget stay hidden until shown, and only shown ones take focus.
        row->show();
        m_rows.push_back(row);
        connect(row, &SplitRowWidget::categoryChosen, this,
                [this](std::size_t line, objectstore::ManagedObject* category) {
                    m_model->setRowCategory(line, category);
                });
        connect(row, &SplitRowWidget::amountEdited, this,
                [this](std::size_t line, const std::optional<model::Amount>& amount) {
                    m_model->setRowAmount(line, amount);
                    showRows();
                });
        connect(row, &SplitRowWidget::addRequested, this, [this] {
            const app::EditPanelModel::Focus focus = m_model->addSplitRow();
            showCategoryArea();
            moveFocus(focus);
        });
        connect(row, &SplitRowWidget::removeRequested, this, [this](std::size_t line) {
            m_model->removeSplitRow(line);
            showCategoryArea();
            moveFocus(m_model->showsSplitRows()
                          ? app::EditPanelModel::Focus{app::EditPanelModel::Focus::Field::RowCategory, 0}
                          : app::EditPanelModel::Focus{app::EditPanelModel::Focus::Field::SingleCategory, 0});
        });
        connect(row->categoryField(), &CategoryField::editCategoriesRequested, this,
                &EditPanel::editCategoriesRequested);
        setTabOrder(previous, row->categoryField());
        setTabOrder(row->categoryField(), row->amountField());
        previous = row->amountField();
    }
    setTabOrder(previous, m_notes);
}

void EditPanel::showRows() {
    const std::vector<app::SplitLine>& lines = m_model->splitRows();
    for (std::size_t index = 0; index < m_rows.size() && index < lines.size(); ++index) {
        m_rows[index]->showRow(lines[index].category, lines[index].amount, index + 1 == lines.size());
    }
    const QString remainder = m_model->remainderText();
    m_remainder->setText(remainder);
    m_remainderRow->setVisible(!remainder.isEmpty());
}

void EditPanel::showBankData() {
    const app::EditPanelModel::BankData bank = m_model->bankData();
    m_bankArea->setVisible(bank.shown);
    m_bankTitle->setText(bank.title);
    m_bankDate->setText(bank.date);
    m_undoMatch->setVisible(bank.offersUndoMatch);
}

void EditPanel::moveFocus(const app::EditPanelModel::Focus& focus) {
    using Field = app::EditPanelModel::Focus::Field;
    QWidget* target = m_payee;
    switch (focus.field) {
    case Field::Payee:
        break;
    case Field::SingleCategory:
        target = m_category;
        break;
    case Field::RowCategory:
        target =
            focus.row < m_rows.size() ? static_cast<QWidget*>(m_rows[focus.row]->categoryField()) : target;
        break;
    case Field::RowAmount:
        target = focus.row < m_rows.size() ? static_cast<QWidget*>(m_rows[focus.row]->amountField()) : target;
        break;
    }
    target->setFocus(Qt::TabFocusReason);
}

void EditPanel::toggleSplit(bool split) {
    if (split == m_model->showsSplitRows()) {
        return;
    }
    if (!split) {
        const app::EditPanelModel::Focus focus = m_model->merge();
        showCategoryArea();
        moveFocus(focus);
        return;
    }
    // A category typed but not yet committed goes into the first row.
    m_category->commit();
    const app::EditPanelModel::Focus focus = m_model->split();
    showCategoryArea();
    moveFocus(focus);
}

void EditPanel::payeeEditingFinished() {
    if (!m_model->isSetUp()) {
        return;
    }
    const bool accountChanged = m_model->endPayeeEditing();
    m_payee->showCompletion();
    if (!m_model->showsSplitRows()) {
        m_category->setCategory(m_model->singleCategory());
    }
    if (accountChanged) {
        showAccounts();
    }
}

void EditPanel::undoMatch() {
    if (m_model->undoMatch()) {
        showBankData();
        emit matchUndone();
    }
}

QLineEdit* EditPanel::invalidField() {
    if (!m_amount->isValid()) {
        return m_amount;
    }
    if (!m_model->setCheckNumberText(m_checkNumber->text())) {
        return m_checkNumber;
    }
    for (SplitRowWidget* row : m_rows) {
        if (!row->amountField()->isValid()) {
            return row->amountField();
        }
    }
    return nullptr;
}

void EditPanel::requestSave() {
    // Text the model could not take would be lost on saving: the user corrects it first.
    if (QLineEdit* field = invalidField()) {
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
        return;
    }
    emit saveRequested();
}

} // namespace vantrel::ui
