#include "app/RegisterCommands.h"

#include "app/Alert.h"
#include "app/MatchCommand.h"
#include "app/RegisterViewModel.h"
#include "app/Workspace.h"
#include "model/TextHelper.h"
#include "platform/InternalError.h"
#include "platform/UserDefaults.h"
#include "platform/objectstore/Context.h"

#include <algorithm>

namespace vantrel::app {

namespace {

objectstore::ManagedObject* accountNamedByText(objectstore::Context& context, const QString& text) {
    const std::optional<objectstore::ObjectID> id = objectstore::ObjectID::fromText(text, context.model());
    if (!id) {
        return nullptr;
    }
    objectstore::ManagedObject* object = context.object(*id);
    if (object == nullptr || object->entity().name() != QLatin1String(model::Account::kEntity)) {
        return nullptr;
    }
    return object;
}

} // namespace

RegisterCommands::RegisterCommands(RegisterViewModel& register_, StickyDate& stickyDate)
    : m_register(register_)
    , m_workspace(register_.workspace())
    , m_stickyDate(stickyDate) {}

bool RegisterCommands::offersStickyDate() const {
    const QString key = QString::fromLatin1(kShowStickyDateOptionKey);
    // On unless the user turned it off.
    return !m_workspace.defaults().contains(key) || m_workspace.defaults().boolValue(key);
}

model::Account RegisterCommands::targetAccountForNewTransaction() const {
    if (m_register.mode() == RegisterViewModel::Mode::SingleAccount) {
        return *m_register.account();
    }
    objectstore::Context& context = m_workspace.context();
    const QString lastUsed = m_workspace.defaults().stringValue(QString::fromLatin1(kLastUsedAccountKey));
    if (objectstore::ManagedObject* account = accountNamedByText(context, lastUsed)) {
        return model::Account(account);
    }
    if (std::optional<model::Account> first = model::Account::first(context)) {
        return *first;
    }
    throw platform::InternalError(
        QStringLiteral("default account not found, maybe called when there are no accounts. num accounts %1")
            .arg(context.count(u"Account")));
}

model::Transaction RegisterCommands::addTransaction() {
    model::Account account = targetAccountForNewTransaction();
    m_workspace.saveDatabase();
    model::Transaction transaction =
        model::Transaction::insertInContext(m_workspace.context(), m_workspace.clock());
    if (account.type() == QLatin1String("cash")) {
        transaction.setFlagged(false);
    }
    if (offersStickyDate() && m_stickyDate.on && m_stickyDate.lastEntered) {
        transaction.setDate(*m_stickyDate.lastEntered);
    }
    transaction.setAccount(account.object());
    m_register.reload();
    m_editing = transaction.object();
    return transaction;
}

RegisterCommands::EditorKind RegisterCommands::edit(const Selection& selection) {
    if (selection.size() == 1) {
        m_editing = selection.front().object();
        return EditorKind::Inline;
    }
    return selection.empty() ? EditorKind::None : EditorKind::Batch;
}

std::optional<model::Transaction> RegisterCommands::editingTransaction() const {
    if (m_editing == nullptr || m_editing->isDeleted()) {
        return std::nullopt;
    }
    return model::Transaction(m_editing);
}

void RegisterCommands::writeFields(model::Transaction& transaction, const TransactionEdit& fields) {
    transaction.setDate(fields.date);
    transaction.setCheckNumber(fields.checkNumber);
    transaction.setTitle(fields.title);
    transaction.setAmount(fields.amount);
    transaction.setNotes(fields.notes);
    if (fields.categoryLines.size() == 1) {
        transaction.setSingleCategory(fields.categoryLines.front().category);
    } else if (fields.categoryLines.size() > 1) {
        transaction.setMultipleCategoriesAndAmounts(fields.categoryLines);
    } else {
        transaction.setSingleCategory(nullptr);
    }
    m_workspace.postCategoriesChanged();
    // Lines that no longer add up to the amount get an uncategorised line for the difference.
    transaction.fixSplitsIfNecessary();
}

void RegisterCommands::closeEditorKeeping(const TransactionEdit& fields) {
    std::optional<model::Transaction> editing = editingTransaction();
    m_editing = nullptr;
    if (!editing) {
        return;
    }
    writeFields(*editing, fields);
    if (editing->isNew()) {
        editing->setFlagged(false);
    }
    if (offersStickyDate() && m_stickyDate.on) {
        m_stickyDate.lastEntered = fields.date;
    }
    if (objectstore::ManagedObject* account = editing->account()) {
        m_workspace.defaults().setValue(QString::fromLatin1(kLastUsedAccountKey),
                                        account->id().toText(m_workspace.context().model()));
    }
    m_register.reload();
    m_workspace.refreshAllViews();
}

void RegisterCommands::selectAnotherRowWhileEditing(const TransactionEdit& fields) {
    closeEditorKeeping(fields);
    m_workspace.saveDatabase();
}

void RegisterCommands::closeEditorDiscarding() {
    objectstore::ManagedObject* editing = m_editing;
    m_editing = nullptr;
    if (editing == nullptr || editing->isDeleted() || !editing->isInserted()) {
        return;
    }
    // Never saved: an abandoned new transaction leaves nothing behind.
    m_workspace.context().deleteObject(editing);
    m_workspace.saveDatabase();
    m_register.reload();
}

void RegisterCommands::deleteTransactions(const Selection& selection) {
    if (selection.empty()) {
        return;
    }
    const QString question =
        selection.size() == 1
            ? QStringLiteral("Are you sure you want to delete the transaction \"%1\"?")
                  .arg(selection.front().title())
            : QStringLiteral("Are you sure you want to delete the selected %1?")
                  .arg(model::TextHelper::pluralize(QStringLiteral("transaction"),
                                                    static_cast<std::int64_t>(selection.size())));
    const Alert alert{question,
                      QStringLiteral("A deleted transaction will be permanently removed from its account."),
                      {QStringLiteral("Delete"), QStringLiteral("Cancel")}};
    if (m_workspace.alerts().present(alert) != 0) {
        return;
    }
    for (const model::Transaction& transaction : selection) {
        if (transaction.object() == m_editing) {
            m_editing = nullptr;
        }
        if (!transaction.isDeleted()) {
            m_workspace.context().deleteObject(transaction.object());
        }
    }
    m_workspace.saveDatabase();
    m_register.reload();
    m_workspace.refreshAllViews();
}

RegisterCommands::MenuItem RegisterCommands::flagMenuItem(const Selection& selection) const {
    if (selection.size() != 1) {
        return {QStringLiteral("Mark as Pending"), false};
    }
    const model::Transaction& transaction = selection.front();
    if (transaction.isUser()) {
        return {transaction.isPending() ? QStringLiteral("Mark as Not Pending")
                                        : QStringLiteral("Mark as Pending"),
                true};
    }
    return {transaction.isNew() ? QStringLiteral("Mark as Not New") : QStringLiteral("Mark as New"), true};
}

void RegisterCommands::toggleFlag(const Selection& selection) {
    if (selection.size() != 1) {
        return;
    }
    model::Transaction transaction = selection.front();
    transaction.setFlagged(!transaction.isFlagged());
    m_workspace.saveDatabase();
}

void RegisterCommands::clickFlag(const model::Transaction& transaction) {
    model::Transaction clicked = transaction;
    clicked.setFlagged(!clicked.isFlagged());
    if (!editingTransaction()) {
        m_workspace.saveDatabase();
    }
}

void RegisterCommands::match(const Selection& selection) {
    if (MatchCommand(m_workspace).run(selection)) {
        m_register.reload();
    }
}

} // namespace vantrel::app
