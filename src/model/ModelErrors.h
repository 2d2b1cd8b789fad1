#pragma once

#include "platform/objectstore/ValidationError.h"

#include <QString>

namespace vantrel::model {

// The validation errors of the object model, with their exact domains, codes and messages. The
// repair code recognises them by domain and code.
class ModelErrors {
public:
    static constexpr auto kDomain = "VTVantrelErrorDomain";
    // The application identifier the two internal error domains are formed from.
    static constexpr auto kApplicationIdentifier = "org.vantrel.Vantrel";

    enum Code {
        BlankCategoryName = 0,
        SplitAmountMismatch = 100,
        InconsistentBankFields = 101,
        DuplicateCategoryName = 102,
        ScheduledItemHasBothInstructionAndURL = 103,
        ScheduledItemHasRemindedWithoutReminder = 104,
        ScheduledItemRepeatSettingInvalid = 105,
        ScheduledItemNextDueDateInvalid = 106,
        ScheduledItemTransferAmountInvalid = 107,
        CategoryAndSplitSetBothPresent = 108,
    };

    static QString generalErrorDomain();
    static QString validationErrorDomain();

    static objectstore::ValidationError blankCategoryName();
    static objectstore::ValidationError splitAmountMismatch();
    static objectstore::ValidationError inconsistentBankFields();
    static objectstore::ValidationError duplicateCategoryName(const QString& name);
    static objectstore::ValidationError scheduledItemHasBothInstructionAndURL();
    static objectstore::ValidationError scheduledItemHasRemindedWithoutReminder();
    // `subCode` is one of "12FB1" ... "12FB4".
    static objectstore::ValidationError scheduledItemRepeatSettingInvalid(const QString& subCode);
    static objectstore::ValidationError scheduledItemNextDueDateInvalid();
    static objectstore::ValidationError scheduledItemTransferAmountInvalid();
    static objectstore::ValidationError categoryAndSplitSetBothPresent();

    // Application identifier + ".GeneralError", code 1, with the given message.
    static objectstore::ValidationError generalError(const QString& message);
    // Application identifier + ".GeneralError", code 1: "An internal error has occurred. (Code: X)".
    static objectstore::ValidationError internalGeneralError(const QString& code);
    // Application identifier + ".ValidationError", code 1: "An internal error has occurred. (Code: X)".
    static objectstore::ValidationError internalValidationError(const QString& code);

    static bool isModelError(const objectstore::ValidationError& error, Code code);
};

} // namespace vantrel::model
