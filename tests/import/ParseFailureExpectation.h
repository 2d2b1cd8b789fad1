#pragma once

#include "import/ParseException.h"
#include "support/ModelValues.h"

#include <QString>

#include <gtest/gtest.h>

#include <functional>

namespace vantrel::import::testing {

// The action must fail with exactly this named failure and reason.
inline void expectFailure(const std::function<void()>& action, const char* name, const QString& reason) {
    try {
        action();
        ADD_FAILURE() << "expected " << name << ": " << testsupport::utf8(reason);
    } catch (const ParseException& e) {
        EXPECT_EQ(testsupport::utf8(e.name()), name);
        EXPECT_EQ(testsupport::utf8(e.reason()), testsupport::utf8(reason));
    }
}

} // namespace vantrel::import::testing
