#include "platform/objectstore/ValidationError.h"

#include <gtest/gtest.h>

using vantrel::objectstore::ValidationError;

namespace {

ValidationError single(int code) {
    ValidationError error;
    error.domain = QStringLiteral("VTVantrelErrorDomain");
    error.code = code;
    error.message = QStringLiteral("error %1").arg(code);
    return error;
}

std::vector<int> codesOf(const ValidationError& error) {
    std::vector<int> codes;
    for (const auto& detail : error.detailedErrors) {
        codes.push_back(detail.code);
    }
    return codes;
}

} // namespace

TEST(ValidationError, CombiningPutsTheNewErrorFirst) {
    const ValidationError alone = ValidationError::combine(std::nullopt, single(101));
    EXPECT_EQ(alone.code, 101);
    EXPECT_FALSE(alone.isMultiple());

    const ValidationError two = ValidationError::combine(single(101), single(108));
    EXPECT_TRUE(two.isMultiple());
    EXPECT_EQ(two.code, 1560);
    EXPECT_EQ(codesOf(two), (std::vector<int>{108, 101}));

    ValidationError earlier = two;
    earlier.userInfo.insert(QStringLiteral("origin"), QStringLiteral("merge"));
    const ValidationError three = ValidationError::combine(earlier, single(100));
    EXPECT_EQ(codesOf(three), (std::vector<int>{100, 108, 101}));
    EXPECT_EQ(three.userInfo.value(QStringLiteral("origin")).toString(), QStringLiteral("merge"));
}

TEST(ValidationError, NamesTheMissingMandatoryProperty) {
    const ValidationError error =
        ValidationError::missingMandatoryProperty(QStringLiteral("Split"), QStringLiteral("splitSet"));
    EXPECT_EQ(error.domain, QStringLiteral("NSCocoaErrorDomain"));
    EXPECT_EQ(error.code, 1570);
    EXPECT_EQ(error.userInfo.value(QStringLiteral("NSValidationErrorKey")).toString(),
              QStringLiteral("splitSet"));
}
