#pragma once

#include "model/EntityObject.h"
#include "platform/objectstore/ValidationError.h"
#include "platform/objectstore/ValidationPhase.h"

#include <optional>

namespace vantrel::platform {
class Clock;
}

namespace vantrel::model {

// One dated movement of money in one account: the typed face of a "Transaction" object.
class Transaction : public EntityObject {
public:
    static constexpr auto kEntity = "Transaction";

    explicit Transaction(objectstore::ManagedObject* object);

    // Dated today, uncategorised, pending (flagged), with a fresh sort key.
    static Transaction insertInContext(objectstore::Context& context, const platform::Clock& clock);
    // "HH:mm:ss.SSS" of the local time now, a space, 8 random characters: orders one day's entries
    // by creation.
    static QString newSortKey(const platform::Clock& clock);

    QString cloudID() const;
    std::optional<Day> date() const;
    // Any instant becomes the UTC day it falls on.
    void setDate(const Day& day);
    void setDate(const QDateTime& instant);
    QString title() const;
    void setTitle(const QString& title);
    QString notes() const;
    void setNotes(const QString& notes);
    std::optional<Amount> amount() const;
    void setAmount(const std::optional<Amount>& amount);
    std::optional<std::int64_t> checkNumber() const;
    void setCheckNumber(const std::optional<std::int64_t>& number);
    QString sortKey() const;
    void setSortKey(const QString& sortKey);
    bool isFlagged() const;
    void setFlagged(bool flagged);
    bool isImported() const;
    void setImported(bool imported);

    // The bank's view of the transaction.
    QString ofxTitle() const;
    void setOfxTitle(const QString& title);
    std::optional<Amount> ofxAmount() const;
    void setOfxAmount(const std::optional<Amount>& amount);
    std::optional<Day> ofxDate() const;
    void setOfxDate(const std::optional<Day>& day);
    std::optional<std::int64_t> ofxCheckNumber() const;
    void setOfxCheckNumber(const std::optional<std::int64_t>& number);
    QString ofxFitID() const;
    void setOfxFitID(const QString& fitID);
    void clearBankFields();

    objectstore::ManagedObject* account() const;
    void setAccount(objectstore::ManagedObject* account);
    objectstore::ManagedObject* category() const;
    void setCategory(objectstore::ManagedObject* category);
    objectstore::ManagedObject* splitSet() const;
    // Replaces the split set as a whole; the old one (and its splits) is deleted.
    void replaceSplitSet(objectstore::ManagedObject* splitSet);

    static std::optional<objectstore::ValidationError> validate(objectstore::ManagedObject& object,
                                                                objectstore::ValidationPhase phase);
};

} // namespace vantrel::model
