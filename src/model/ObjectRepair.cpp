#include "model/ObjectRepair.h"

#include "model/DuplicateCategoryResolver.h"
#include "model/ModelErrors.h"
#include "model/ScheduledItem.h"
#include "model/Split.h"
#include "model/SplitSet.h"
#include "model/Transaction.h"
#include "platform/InternalError.h"
#include "platform/Log.h"
#include "platform/objectstore/Context.h"

#include <algorithm>

namespace vantrel::model {

namespace {

using objectstore::ManagedObject;
using objectstore::ValidationError;

bool isMissingMandatoryProperty(const ValidationError& error) {
    return error.domain == QLatin1String(ValidationError::kPlatformDomain) &&
           error.code == ValidationError::kMissingMandatoryPropertyCode;
}

// Log arguments print a missing text the way the log has always shown nothing.
QString orNull(const QString& text) {
    return text.isNull() ? QStringLiteral("(null)") : text;
}

bool repairMissingProperty(ManagedObject& object, const ValidationError& error) {
    const QString property = error.userInfo.value(QLatin1String(ValidationError::kPropertyKey)).toString();
    const auto& entity = object.entity();
    if (entity.name() == QLatin1String("Account")) {
        platform::Log::write(
            QStringLiteral("Prevent Account from being deleted as orphaned. The property %1 is missing")
                .arg(orNull(property)));
        return false;
    }
    if (entity.attributeIndex(property)) {
        platform::Log::write(QStringLiteral("Unexpected missing mandatory attribute for %1.%2")
                                 .arg(ObjectRepair::classNameOf(object), property));
        return false;
    }
    if (!entity.relationshipIndex(property)) {
        throw platform::InternalError(
            QStringLiteral("%1 has no property %2 to be missing").arg(entity.name(), orNull(property)));
    }
    platform::Log::write(QStringLiteral("Orphaned %1 is missing %2, deleting it silently")
                             .arg(ObjectRepair::classNameOf(object), property));
    object.context().deleteObject(&object);
    return true;
}

Amount splitSum(const Transaction& transaction) {
    Amount sum;
    if (ManagedObject* set = transaction.splitSet()) {
        for (ManagedObject* member : SplitSet(set).splits()) {
            sum += Split(member).amount().value_or(Amount());
        }
    }
    return sum;
}

void logFixed(const char* errorName) {
    platform::Log::write(QStringLiteral("fixed %1").arg(QLatin1String(errorName)));
}

bool repairModelError(ManagedObject& object, const ValidationError& error) {
    switch (error.code) {
    case ModelErrors::SplitAmountMismatch: {
        Transaction transaction(&object);
        platform::Log::write(
            QStringLiteral("Split amount mismatch detected for transaction with cloud ID %1, fixing it.")
                .arg(orNull(transaction.cloudID())));
        transaction.setAmount(splitSum(transaction));
        return true;
    }
    case ModelErrors::InconsistentBankFields:
        platform::Log::write(
            QStringLiteral("Detected inconsistent bank fields. Setting bank fields to nil."));
        Transaction(&object).clearBankFields();
        return true;
    case ModelErrors::DuplicateCategoryName:
        DuplicateCategoryResolver::resolve(CategoryVT(&object));
        return true;
    case ModelErrors::ScheduledItemHasBothInstructionAndURL:
        ScheduledItem(&object).setPaymentInstructions(QString());
        logFixed("VTScheduledItemHasBothInstructionAndURLError");
        return true;
    case ModelErrors::ScheduledItemHasRemindedWithoutReminder:
        ScheduledItem(&object).setHasReminded(false);
        logFixed("VTScheduledItemHasRemindedIsYesWhenNoReminderError");
        return true;
    case ModelErrors::ScheduledItemRepeatSettingInvalid:
        ScheduledItem(&object).fixRepeatSettings();
        logFixed("VTScheduledItemRepeatSettingInvalidError");
        return true;
    case ModelErrors::ScheduledItemNextDueDateInvalid:
        ScheduledItem(&object).adjustNextDueDate();
        logFixed("VTScheduledItemNextDueDateInvalidError");
        return true;
    case ModelErrors::ScheduledItemTransferAmountInvalid:
        ScheduledItem(&object).fixTransferAmount();
        logFixed("VTScheduledItemTransferAmountInvalidError");
        return true;
    case ModelErrors::CategoryAndSplitSetBothPresent: {
        Transaction transaction(&object);
        platform::Log::write(
            QStringLiteral(
                "Detected both splitSet and category for transaction with cloud ID %1, keeping splitSet.")
                .arg(orNull(transaction.cloudID())));
        transaction.setCategory(nullptr);
        return true;
    }
    default:
        // A blank category name, among others: only the user can say what it should be.
        return false;
    }
}

} // namespace

bool ObjectRepair::repairInvalidObject(ManagedObject& object, const ValidationError& error) {
    if (!error.isMultiple()) {
        return repairInvalidObjectWithSingleError(object, error);
    }
    std::vector<ValidationError> ordered = error.detailedErrors;
    std::stable_partition(ordered.begin(), ordered.end(), isMissingMandatoryProperty);
    for (const ValidationError& single : ordered) {
        if (object.isDeleted()) {
            return true;
        }
        if (!repairInvalidObjectWithSingleError(object, single)) {
            return false;
        }
    }
    return true;
}

bool ObjectRepair::repairInvalidObjectWithSingleError(ManagedObject& object, const ValidationError& error) {
    if (isMissingMandatoryProperty(error)) {
        return repairMissingProperty(object, error);
    }
    if (error.domain == QLatin1String(ModelErrors::kDomain)) {
        return repairModelError(object, error);
    }
    return false;
}

QString ObjectRepair::classNameOf(const ManagedObject& object) {
    const QString& entity = object.entity().name();
    return entity == QLatin1String(CategoryVT::kEntity) ? QStringLiteral("CategoryVT") : entity;
}

} // namespace vantrel::model
