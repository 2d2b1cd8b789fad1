#include "platform/objectstore/ValidationError.h"

namespace vantrel::objectstore {

ValidationError ValidationError::missingMandatoryProperty(const QString& entity, const QString& property) {
    ValidationError error;
    error.domain = QLatin1String(kPlatformDomain);
    error.code = kMissingMandatoryPropertyCode;
    error.message = QStringLiteral("%1 is a required value of %2.").arg(property, entity);
    error.userInfo.insert(QLatin1String(kPropertyKey), property);
    return error;
}

ValidationError ValidationError::combine(const std::optional<ValidationError>& earlier,
                                         ValidationError error) {
    if (!earlier) {
        return error;
    }
    ValidationError combined;
    combined.domain = QLatin1String(kPlatformDomain);
    combined.code = kMultipleErrorsCode;
    combined.message = QStringLiteral("Multiple validation errors occurred.");
    combined.detailedErrors.push_back(std::move(error));
    if (earlier->isMultiple()) {
        combined.userInfo = earlier->userInfo;
        combined.detailedErrors.insert(combined.detailedErrors.end(), earlier->detailedErrors.begin(),
                                       earlier->detailedErrors.end());
    } else {
        combined.detailedErrors.push_back(*earlier);
    }
    return combined;
}

} // namespace vantrel::objectstore
