#include "model/ModelErrors.h"

namespace vantrel::model {

namespace {

objectstore::ValidationError make(const QString& domain, int code, const QString& message) {
    objectstore::ValidationError error;
    error.domain = domain;
    error.code = code;
    error.message = message;
    return error;
}

objectstore::ValidationError modelError(ModelErrors::Code code, const QString& message) {
    return make(QLatin1String(ModelErrors::kDomain), code, message);
}

QString internalMessage(const QString& code) {
    return QStringLiteral("An internal error has occurred. (Code: %1)").arg(code);
}

} // namespace

QString ModelErrors::generalErrorDomain() {
    return QLatin1String(kApplicationIdentifier) + QLatin1String(".GeneralError");
}

QString ModelErrors::validationErrorDomain() {
    return QLatin1String(kApplicationIdentifier) + QLatin1String(".ValidationError");
}

objectstore::ValidationError ModelErrors::blankCategoryName() {
    return modelError(BlankCategoryName, QStringLiteral("A category's name cannot be blank."));
}

objectstore::ValidationError ModelErrors::splitAmountMismatch() {
    return modelError(SplitAmountMismatch,
                      QStringLiteral("Split amounts does not add up to transaction amount."));
}

objectstore::ValidationError ModelErrors::inconsistentBankFields() {
    return modelError(InconsistentBankFields, QStringLiteral("Bank fields are inconsistent."));
}

objectstore::ValidationError ModelErrors::duplicateCategoryName(const QString& name) {
    return modelError(
        DuplicateCategoryName,
        QStringLiteral("The name %1 has already been taken. Please choose a different name").arg(name));
}

objectstore::ValidationError ModelErrors::scheduledItemHasBothInstructionAndURL() {
    return modelError(ScheduledItemHasBothInstructionAndURL,
                      QStringLiteral("URL and instruction cannot both be set."));
}

objectstore::ValidationError ModelErrors::scheduledItemHasRemindedWithoutReminder() {
    return modelError(ScheduledItemHasRemindedWithoutReminder,
                      QStringLiteral("hasReminded should be NO when reminder is not set."));
}

objectstore::ValidationError ModelErrors::scheduledItemRepeatSettingInvalid(const QString& subCode) {
    return modelError(ScheduledItemRepeatSettingInvalid,
                      QStringLiteral("Repeat setting is invalid. (%1)").arg(subCode));
}

objectstore::ValidationError ModelErrors::scheduledItemNextDueDateInvalid() {
    return modelError(ScheduledItemNextDueDateInvalid, QStringLiteral("Next due date invalid."));
}

objectstore::ValidationError ModelErrors::scheduledItemTransferAmountInvalid() {
    return modelError(ScheduledItemTransferAmountInvalid, QStringLiteral("Transfer amount invalid"));
}

objectstore::ValidationError ModelErrors::categoryAndSplitSetBothPresent() {
    return modelError(CategoryAndSplitSetBothPresent,
                      QStringLiteral("Category and splits cannot both be present."));
}

objectstore::ValidationError ModelErrors::generalError(const QString& message) {
    return make(generalErrorDomain(), 1, message);
}

objectstore::ValidationError ModelErrors::internalGeneralError(const QString& code) {
    return make(generalErrorDomain(), 1, internalMessage(code));
}

objectstore::ValidationError ModelErrors::internalValidationError(const QString& code) {
    return make(validationErrorDomain(), 1, internalMessage(code));
}

bool ModelErrors::isModelError(const objectstore::ValidationError& error, Code code) {
    return error.domain == QLatin1String(kDomain) && error.code == code;
}

} // namespace vantrel::model
