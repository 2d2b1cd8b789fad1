#pragma once

#include "model/Amount.h"
#include "model/Day.h"
#include "model/Transaction.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace vantrel::app {

class RegisterViewModel;
class Workspace;

// The sheet that changes several transactions at once: which flag choices it offers, what its fields
// show at first (the values all selected transactions share), which fields the user changed, and
// applying those to every selected transaction.
class BatchEditModel {
public:
    enum class Kinds { AllUser, AllBankOrMatched, Mixed };
    enum class FlagChoice { None, Pending, New };
    enum class Field { Amount, Category, Date, Title, Notes, Flag };

    // Two or more transactions, as selected in `register_`, which is re-sorted after applying.
    BatchEditModel(RegisterViewModel& register_, std::vector<model::Transaction> selection);

    Kinds kinds() const { return m_kinds; }
    // The no-flag entry always; the pending entry for user transactions, the new entry for bank or
    // matched ones.
    std::vector<FlagChoice> flagChoices() const;
    // "Modifying %@." with the pluralized count.
    QString subtitle() const;

    // Field values: the shared value at first, nothing when the transactions differ.
    const std::optional<model::Amount>& amount() const { return m_amount; }
    // Nothing when they differ; a null category when all are uncategorised.
    const std::optional<objectstore::ManagedObject*>& category() const { return m_category; }
    const std::optional<model::Day>& date() const { return m_date; }
    bool isDateEnabled() const { return m_date.has_value(); }
    const std::optional<QString>& title() const { return m_title; }
    const std::optional<QString>& notes() const { return m_notes; }
    const std::optional<FlagChoice>& flag() const { return m_flag; }

    // Editing a field ticks its change box.
    void setAmount(const model::Amount& amount);
    void setCategory(objectstore::ManagedObject* category);
    void setDate(const model::Day& date);
    void setTitle(const QString& title);
    void setNotes(const QString& notes);
    // A choice not offered is an InternalError.
    void setFlag(FlagChoice flag);
    // When the user finishes typing a title: an empty category field takes the category most used
    // with that title.
    void finishTitleEditing();

    bool isTicked(Field field) const { return m_ticked[static_cast<std::size_t>(field)]; }
    // Ticking the date box fills the picker with the earliest selected date and enables it.
    void setTicked(Field field, bool ticked);

    // Writes every ticked field to every selected transaction, re-sorts the register and saves.
    void apply();

private:
    void tick(Field field) { m_ticked[static_cast<std::size_t>(field)] = true; }
    bool applyFieldsTo(model::Transaction& transaction);

    RegisterViewModel& m_register;
    Workspace& m_workspace;
    std::vector<model::Transaction> m_selection;
    Kinds m_kinds;
    std::optional<model::Amount> m_amount;
    std::optional<objectstore::ManagedObject*> m_category;
    std::optional<model::Day> m_date;
    std::optional<QString> m_title;
    std::optional<QString> m_notes;
    std::optional<FlagChoice> m_flag;
    std::array<bool, 6> m_ticked{};
};

} // namespace vantrel::app
