#include "app/BatchEditModel.h"

#include "app/RegisterViewModel.h"
#include "app/Workspace.h"
#include "model/TextHelper.h"
#include "platform/InternalError.h"

#include <algorithm>

namespace vantrel::app {

namespace {

// The value every element shares, or nothing.
template <typename Value, typename Read>
std::optional<Value> shared(const std::vector<model::Transaction>& selection, Read read) {
    std::optional<Value> common;
    for (const model::Transaction& transaction : selection) {
        const Value value = read(transaction);
        if (common && !(*common == value)) {
            return std::nullopt;
        }
        common = value;
    }
    return common;
}

BatchEditModel::FlagChoice flagChoiceOf(const model::Transaction& transaction) {
    const QString flag = transaction.flag();
    if (flag == QLatin1String("pending")) {
        return BatchEditModel::FlagChoice::Pending;
    }
    return flag == QLatin1String("new") ? BatchEditModel::FlagChoice::New : BatchEditModel::FlagChoice::None;
}

BatchEditModel::Kinds classify(const std::vector<model::Transaction>& selection) {
    const bool allUser =
        std::all_of(selection.begin(), selection.end(), [](const auto& t) { return t.isUser(); });
    if (allUser) {
        return BatchEditModel::Kinds::AllUser;
    }
    const bool noUser =
        std::none_of(selection.begin(), selection.end(), [](const auto& t) { return t.isUser(); });
    return noUser ? BatchEditModel::Kinds::AllBankOrMatched : BatchEditModel::Kinds::Mixed;
}

} // namespace

BatchEditModel::BatchEditModel(RegisterViewModel& register_, std::vector<model::Transaction> selection)
    : m_register(register_)
    , m_workspace(register_.workspace())
    , m_selection(std::move(selection))
    , m_kinds(classify(m_selection)) {
    if (m_selection.size() < 2) {
        throw platform::InternalError(
            QStringLiteral("batch edit needs two or more transactions, got %1").arg(m_selection.size()));
    }
    m_amount = shared<model::Amount>(m_selection,
                                     [](const auto& t) { return t.amount().value_or(model::Amount()); });
    m_category = shared<objectstore::ManagedObject*>(m_selection, [](const model::Transaction& t) {
        // A split transaction has no one category: standing for it by itself, which no other
        // transaction shares, makes the field differ.
        return t.hasSingleCategory() ? t.theCategory() : t.object();
    });
    m_date = shared<std::optional<model::Day>>(m_selection, [](const auto& t) {
                 return t.date();
             }).value_or(std::nullopt);
    m_title = shared<QString>(m_selection, [](const auto& t) { return t.title(); });
    m_notes = shared<QString>(m_selection, [](const auto& t) { return t.notes(); });
    m_flag = shared<FlagChoice>(m_selection, &flagChoiceOf);
}

std::vector<BatchEditModel::FlagChoice> BatchEditModel::flagChoices() const {
    switch (m_kinds) {
    case Kinds::AllUser:
        return {FlagChoice::None, FlagChoice::Pending};
    case Kinds::AllBankOrMatched:
        return {FlagChoice::None, FlagChoice::New};
    case Kinds::Mixed:
        break;
    }
    return {FlagChoice::None};
}

QString BatchEditModel::subtitle() const {
    return QStringLiteral("Modifying %1.")
        .arg(model::TextHelper::pluralize(QStringLiteral("transaction"),
                                          static_cast<std::int64_t>(m_selection.size())));
}

void BatchEditModel::setAmount(const model::Amount& amount) {
    m_amount = amount;
    tick(Field::Amount);
}

void BatchEditModel::setCategory(objectstore::ManagedObject* category) {
    m_category = category;
    tick(Field::Category);
}

void BatchEditModel::setDate(const model::Day& date) {
    m_date = date;
    tick(Field::Date);
}

void BatchEditModel::setTitle(const QString& title) {
    m_title = title;
    tick(Field::Title);
}

void BatchEditModel::setNotes(const QString& notes) {
    m_notes = notes;
    tick(Field::Notes);
}

void BatchEditModel::setFlag(FlagChoice flag) {
    const std::vector<FlagChoice> offered = flagChoices();
    if (std::find(offered.begin(), offered.end(), flag) == offered.end()) {
        throw platform::InternalError(
            QStringLiteral("flag choice %1 is not offered for this selection").arg(static_cast<int>(flag)));
    }
    m_flag = flag;
    tick(Field::Flag);
}

void BatchEditModel::finishTitleEditing() {
    if (!m_title || (m_category && *m_category != nullptr)) {
        return;
    }
    if (objectstore::ManagedObject* category =
            model::Transaction::mostUsedCategoryForName(m_workspace.context(), *m_title)) {
        setCategory(category);
    }
}

void BatchEditModel::setTicked(Field field, bool ticked) {
    m_ticked[static_cast<std::size_t>(field)] = ticked;
    if (field == Field::Date && ticked && !m_date) {
        for (const model::Transaction& transaction : m_selection) {
            const std::optional<model::Day> date = transaction.date();
            if (date && (!m_date || *date < *m_date)) {
                m_date = date;
            }
        }
    }
}

bool BatchEditModel::applyFieldsTo(model::Transaction& transaction) {
    bool applied = false;
    if (isTicked(Field::Date) && m_date) {
        transaction.setDate(*m_date);
        applied = true;
    }
    if (isTicked(Field::Title)) {
        transaction.setTitle(m_title.value_or(QString()));
        applied = true;
    }
    if (isTicked(Field::Amount) && m_amount) {
        // Split lines follow the new amount.
        transaction.safelyChangeAmountTo(*m_amount);
        applied = true;
    }
    if (isTicked(Field::Notes)) {
        transaction.setNotes(m_notes.value_or(QString()));
        applied = true;
    }
    if (isTicked(Field::Category) && m_category) {
        transaction.setSingleCategory(*m_category);
        applied = true;
    }
    return applied;
}

void BatchEditModel::apply() {
    bool anyApplied = false;
    for (model::Transaction& transaction : m_selection) {
        anyApplied = applyFieldsTo(transaction) || anyApplied;
    }
    if (isTicked(Field::Category) && m_category) {
        m_workspace.postCategoriesChanged();
    }
    if (anyApplied) {
        for (model::Transaction& transaction : m_selection) {
            if (transaction.isNew()) {
                transaction.setFlagged(false);
            }
        }
    }
    if (isTicked(Field::Flag) && m_flag) {
        for (model::Transaction& transaction : m_selection) {
            transaction.setFlagged(*m_flag != FlagChoice::None);
        }
    }
    m_register.reload();
    m_workspace.saveDatabase();
}

} // namespace vantrel::app
