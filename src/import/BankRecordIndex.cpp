#include "import/BankRecordIndex.h"

#include "platform/InternalError.h"

#include <QHash>

#include <algorithm>
#include <cstdlib>

namespace vantrel::import {

namespace {

bool hasText(const std::optional<QString>& text) {
    return text && !text->isEmpty();
}

} // namespace

std::size_t BankRecordIndex::RecordKeyHash::operator()(const RecordKey& key) const noexcept {
    std::size_t seed = qHash(key.title);
    seed ^= key.amount.hash() + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
    seed ^= std::hash<model::Day>()(key.day) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
    return seed;
}

BankRecordIndex::BankRecordIndex(const model::Account& account) {
    for (objectstore::ManagedObject* object : account.orderedTransactions()) {
        const model::Transaction transaction(object);
        const QString fitID = transaction.ofxFitID();
        if (!fitID.isEmpty()) {
            m_fitIDs.insert(fitID);
        }
        const std::optional<model::Amount> ofxAmount = transaction.ofxAmount();
        const std::optional<model::Day> ofxDate = transaction.ofxDate();
        const QString ofxTitle = transaction.ofxTitle();
        if (ofxAmount && ofxDate && !ofxTitle.isNull()) {
            RecordKey key{ofxTitle, *ofxAmount, *ofxDate};
            if (fitID.isEmpty()) {
                m_recordsWithoutFitID.insert(key);
            }
            m_records.insert(std::move(key));
        }
        if (transaction.isPending()) {
            if (const std::optional<model::Amount> amount = transaction.amount()) {
                m_pendingByAmount[*amount].push_back(object);
            }
        }
    }
}

bool BankRecordIndex::holdsRecord(const ImportedTransaction& entry) const {
    if (!entry.date) {
        throw platform::InternalError("A record is compared with the account only once it has its date");
    }
    const bool hasFitID = hasText(entry.fitID);
    if (hasFitID && m_fitIDs.contains(*entry.fitID)) {
        return true;
    }
    if (!entry.name) {
        return false;
    }
    const RecordKey key{*entry.name, entry.amount, *entry.date};
    return hasFitID ? m_recordsWithoutFitID.contains(key) : m_records.contains(key);
}

std::optional<model::Transaction> BankRecordIndex::nearestPending(const model::Day& date,
                                                                  const model::Amount& amount) const {
    const auto found = m_pendingByAmount.find(amount);
    if (found == m_pendingByAmount.end()) {
        return std::nullopt;
    }
    objectstore::ManagedObject* nearest = nullptr;
    int nearestDistance = kMatchWindowDays + 1;
    for (objectstore::ManagedObject* object : found->second) {
        const std::optional<model::Day> pendingDate = model::Transaction(object).date();
        if (!pendingDate) {
            continue;
        }
        const int distance = std::abs(pendingDate->numberOfDaysAfter_VT(date));
        if (distance < nearestDistance) {
            nearest = object;
            nearestDistance = distance;
        }
    }
    if (nearest == nullptr) {
        return std::nullopt;
    }
    return model::Transaction(nearest);
}

void BankRecordIndex::removePending(const model::Transaction& transaction) {
    const std::optional<model::Amount> amount = transaction.amount();
    if (!amount) {
        return;
    }
    const auto found = m_pendingByAmount.find(*amount);
    if (found == m_pendingByAmount.end()) {
        return;
    }
    std::vector<objectstore::ManagedObject*>& objects = found->second;
    objects.erase(std::remove(objects.begin(), objects.end(), transaction.object()), objects.end());
}

} // namespace vantrel::import
