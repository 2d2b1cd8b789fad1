#pragma once

#include "model/Amount.h"
#include "model/Day.h"

#include <QString>

#include <string>

// Short spellings of model values for tests: amount("12.50"), day(2024, 2, 29).
namespace vantrel::testsupport {

// Plain decimal text; anything else is a mistake in the test and throws.
model::Amount amount(const char* text);
model::Day day(int year, int month, int dayOfMonth);
// QString in gtest messages and comparisons.
std::string utf8(const QString& text);

} // namespace vantrel::testsupport
