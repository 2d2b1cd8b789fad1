#include "support/ModelValues.h"

#include <stdexcept>

namespace vantrel::testsupport {

model::Amount amount(const char* text) {
    const auto value = model::Amount::fromAscii(text);
    if (!value) {
        throw std::invalid_argument(std::string("not an amount: ") + text);
    }
    return *value;
}

model::Day day(int year, int month, int dayOfMonth) {
    return model::Day::dateWithYear_VT(year, month, dayOfMonth);
}

std::string utf8(const QString& text) {
    return text.toStdString();
}

} // namespace vantrel::testsupport
