#pragma once

#include "import/AccountDictionary.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace vantrel::import {

// Open Financial Exchange statements (OFX 1.x SGML, OFX 2.x XML, QFX). No document tree: the
// reader searches the text for the elements it needs (OfxElementSearch), which reads both forms
// alike, in time linear in the size of the text. Failures are ParseExceptions "VTParseException";
// nothing partial is returned:
// - a required element missing or repeated: "Expected %d %@(s), got %lu instead"; an optional one
//   repeated: "Expected 0 or 1 %@(s), got %lu instead";
// - a TRNAMT or BALAMT that is not a plain decimal (optional sign, digits, "." as the point; no
//   comma, exponent or currency sign) or has more digits than an Amount holds: "Amount could not be
//   parsed.";
// - a statement, transaction list or transaction without its closing tag (aggregates are closed in
//   both forms; a truncated file is the usual cause): "Missing closing tag </%@>; the file may be
//   incomplete.".
// A text without any statement gives no accounts; the importer reports that. DTPOSTED is kept as
// written; a CHECKNUM that is not all digits, or too large, gives no check number.
class OfxReader {
public:
    OfxReader() = delete;

    // Format Ofx, one account entry per bank or credit-card statement, in file order.
    static AccountDictionary readFileForTransactions(const QString& path);
    static AccountDictionary readTransactions(QStringView text);

    // The day of an OFX date-time: its first eight characters must be digits yyyyMMdd of a real
    // day; whatever follows (time, fraction, [-5:EST]) is ignored.
    static std::optional<model::Day> parseDate(QStringView text);

    // White-space runs become one space, and "&" escaped once or several times ("&amp;amp;")
    // becomes "&".
    static QString processName(QStringView text);
};

} // namespace vantrel::import
