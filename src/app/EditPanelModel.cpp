#include "app/EditPanelModel.h"

#include "app/Alert.h"
#include "app/SplitEditorModel.h"
#include "app/Workspace.h"
#include "model/AmountFormatter.h"
#include "model/CheckNumberFormatter.h"
#include "model/VTDateFormatter.h"
#include "platform/InternalError.h"

namespace vantrel::app {

namespace {

constexpr int kCents = 2;

Alert undoMatchQuestion() {
    return Alert{QStringLiteral("Are you sure you want to undo this match?"),
                 QStringLiteral("You will end up with the original pending transaction and the imported "
                                "transaction, which will be marked as new."),
                 {QStringLiteral("Undo Match"), QStringLiteral("Cancel")}};
}

} // namespace

EditPanelModel::EditPanelModel(Workspace& workspace, const QString& localeId)
    : m_workspace(workspace)
    , m_localeId(localeId)
    , m_payee(workspace) {}

EditPanelModel::~EditPanelModel() = default;

void EditPanelModel::setup(const model::Transaction& transaction, bool isAdd, bool showsAccountPopup) {
    m_transaction = transaction;
    m_isAdd = isAdd;
    m_showsAccountPopup = showsAccountPopup;
    m_date = transaction.date().value_or(model::Day::today_VT(m_workspace.clock()));
    m_checkNumber = transaction.checkNumber();
    m_payee.setText(transaction.title());
    m_notes = transaction.notes();
    // A new transaction carries zero, but the user has not entered any amount yet.
    m_amount = isAdd ? std::nullopt : transaction.amount();
    m_account = transaction.account();
    m_splits = std::make_unique<SplitEditorModel>(m_workspace, transaction);
    // Rows the user gave a category keep their amounts: once read back, they count as typed. The
    // editor learns that the way a field tells it, by the amount being entered again.
    const std::vector<SplitLine>& rows = m_splits->lines();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (rows[row].category != nullptr && rows[row].amount) {
            const std::optional<model::Amount> held = rows[row].amount;
            m_splits->setLineAmount(row, std::nullopt);
            m_splits->setLineAmount(row, held);
        }
    }
    m_splits->setTransactionAmount(interpretedAmount());
}

const model::Transaction& EditPanelModel::transaction() const {
    if (!m_transaction) {
        throw platform::InternalError(QStringLiteral("the edit panel has no transaction before setup"));
    }
    return *m_transaction;
}

SplitEditorModel& EditPanelModel::splits() const {
    if (!m_splits) {
        throw platform::InternalError(QStringLiteral("the edit panel has no categories before setup"));
    }
    return *m_splits;
}

QString EditPanelModel::checkNumberText() const {
    return m_checkNumber ? model::CheckNumberFormatter(m_localeId).format(*m_checkNumber) : QString();
}

bool EditPanelModel::setCheckNumberText(const QString& text) {
    const model::ParseResult<std::int64_t> parsed = model::CheckNumberFormatter(m_localeId).parse(text);
    if (!parsed.succeeded()) {
        return false;
    }
    m_checkNumber = parsed.optionalValue();
    return true;
}

bool EditPanelModel::endPayeeEditing() {
    const TitleCompletionModel::Editing editing{&splits(), m_isAdd, m_showsAccountPopup};
    objectstore::ManagedObject* suggested = m_payee.endEditing(editing);
    if (suggested == nullptr || suggested == m_account) {
        return false;
    }
    m_account = suggested;
    return true;
}

void EditPanelModel::setAmount(const std::optional<model::Amount>& amount) {
    m_amount = amount ? std::optional(amount->rounded(kCents)) : std::nullopt;
    updateSplitAmount();
}

model::Amount EditPanelModel::interpretedAmount() const {
    return m_amount.value_or(model::Amount());
}

bool EditPanelModel::showsSplitRows() const {
    return splits().isSplit();
}

objectstore::ManagedObject* EditPanelModel::singleCategory() const {
    return splits().singleCategory();
}

void EditPanelModel::setSingleCategory(objectstore::ManagedObject* category) {
    splits().setSingleCategory(category);
}

const std::vector<SplitLine>& EditPanelModel::splitRows() const {
    return splits().lines();
}

void EditPanelModel::setRowCategory(std::size_t row, objectstore::ManagedObject* category) {
    splits().setLineCategory(row, category);
}

void EditPanelModel::setRowAmount(std::size_t row, const std::optional<model::Amount>& amount) {
    splits().setLineAmount(row, amount ? std::optional(amount->rounded(kCents)) : std::nullopt);
}

EditPanelModel::Focus EditPanelModel::split() {
    SplitEditorModel& editor = splits();
    if (!editor.isSplit()) {
        editor.setTransactionAmount(interpretedAmount());
        editor.split();
        if (!m_amount) {
            // The first row shows what the amount field shows: nothing yet.
            editor.setLineAmount(0, std::nullopt);
        }
    }
    const bool hasCategory = editor.lines().front().category != nullptr;
    return Focus{hasCategory ? Focus::Field::RowAmount : Focus::Field::RowCategory, 0};
}

EditPanelModel::Focus EditPanelModel::merge() {
    SplitEditorModel& editor = splits();
    // Removing rows from the end leaves the first one, whose category the single field takes.
    while (editor.isSplit()) {
        editor.removeLine(editor.lines().size() - 1);
    }
    return Focus{Focus::Field::SingleCategory, 0};
}

EditPanelModel::Focus EditPanelModel::addSplitRow() {
    SplitEditorModel& editor = splits();
    editor.addLine();
    updateSplitAmount();
    return Focus{Focus::Field::RowCategory, editor.lines().size() - 1};
}

void EditPanelModel::removeSplitRow(std::size_t row) {
    splits().removeLine(row);
}

void EditPanelModel::updateSplitAmount() {
    splits().setTransactionAmount(interpretedAmount());
}

const std::optional<model::Amount>& EditPanelModel::remainder() const {
    return splits().remainder();
}

QString EditPanelModel::remainderText() const {
    const std::optional<model::Amount>& left = remainder();
    return left ? model::AmountFormatter(m_localeId).format(*left) : QString();
}

std::vector<model::Account> EditPanelModel::accountChoices() const {
    return model::Account::allInAccountOrder(m_workspace.context());
}

std::optional<model::Account> EditPanelModel::chosenAccount() const {
    if (m_account == nullptr || m_account->isDeleted()) {
        return std::nullopt;
    }
    return model::Account(m_account);
}

void EditPanelModel::chooseAccount(objectstore::ManagedObject* account) {
    m_account = account;
}

EditPanelModel::BankData EditPanelModel::bankData() const {
    const model::Transaction& edited = transaction();
    if (edited.isUser()) {
        return {};
    }
    const std::optional<model::Day> day = edited.ofxDate();
    return BankData{true, edited.ofxTitle(),
                    day ? model::VTDateFormatter(m_localeId).format(*day) : QString(), edited.isMatched()};
}

bool EditPanelModel::undoMatch() {
    model::Transaction matched = transaction();
    if (!matched.isMatched()) {
        throw platform::InternalError(QStringLiteral("only a matched transaction can be unmatched"));
    }
    if (m_workspace.alerts().present(undoMatchQuestion()) != 0) {
        return false;
    }
    // A failed save has been shown to the user; the match stays rather than mixing unsaved work
    // into the undo.
    if (!m_workspace.saveDatabase()) {
        return false;
    }
    matched.undoMatch(m_workspace.clock());
    m_workspace.saveDatabase();
    return true;
}

TransactionEdit EditPanelModel::fields() const {
    TransactionEdit edit{m_date, m_checkNumber, m_payee.text(), interpretedAmount(), m_notes, {}};
    const SplitEditorModel& editor = splits();
    if (!editor.isSplit()) {
        edit.categoryLines.push_back(model::PlainSplit{editor.singleCategory(), edit.amount});
        return edit;
    }
    for (const SplitLine& row : editor.lines()) {
        edit.categoryLines.push_back(model::PlainSplit{row.category, row.amount.value_or(model::Amount())});
    }
    return edit;
}

} // namespace vantrel::app
