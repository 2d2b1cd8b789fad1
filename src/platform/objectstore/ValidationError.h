#pragma once

#include <QString>
#include <QVariantMap>

#include <optional>
#include <vector>

namespace vantrel::objectstore {

// A validation failure as a value: domain, code, message, and for a combined error the single
// errors it holds. The store's own codes are those of the host platform the data model came from.
struct ValidationError {
    static constexpr auto kPlatformDomain = "NSCocoaErrorDomain";
    static constexpr int kMultipleErrorsCode = 1560;
    static constexpr int kMissingMandatoryPropertyCode = 1570;
    static constexpr auto kPropertyKey = "NSValidationErrorKey";

    QString domain;
    int code = 0;
    QString message;
    QVariantMap userInfo;
    std::vector<ValidationError> detailedErrors;

    bool isMultiple() const {
        return domain == QLatin1String(kPlatformDomain) && code == kMultipleErrorsCode;
    }

    static ValidationError missingMandatoryProperty(const QString& entity, const QString& property);
    // Combines an earlier error and a new one into one multiple-errors error: the new error first,
    // then the earlier one's single errors (or the earlier error itself). Nothing earlier: the new
    // error alone.
    static ValidationError combine(const std::optional<ValidationError>& earlier, ValidationError error);
};

} // namespace vantrel::objectstore
