#pragma once

#include "model/Amount.h"

#include <QString>

#include <optional>

namespace vantrel::model {

// The pieces every CSV export shares: quoted text fields, plain amounts, and writing a whole file.
class CsvText {
public:
    CsvText() = delete;

    // Empty for a null or empty text; otherwise the text in double quotes with inner quotes doubled.
    static QString escaped(const QString& text);
    // The plain shortest decimal text: 100, -0.5, -12.5 (no grouping, no currency).
    static QString amountText(const Amount& amount);
    // Writes the text as UTF-8 through a temporary file that replaces the target only once it is
    // complete, so a failure leaves an existing file as it was. Nothing on success, else a message
    // naming the file and the cause.
    [[nodiscard]] static std::optional<QString> writeToFile(const QString& path, const QString& text);
};

} // namespace vantrel::model
