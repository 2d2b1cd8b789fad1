#pragma once

namespace vantrel::objectstore {

class SqliteDatabase;

// SQL functions over decimals stored as exact TEXT, so sums and comparisons never go through
// SQLite's floating point:
//   vt_decimal_sum(x)    aggregate, exact; "0" over no rows; an error when the sum needs more
//                        than 38 significant digits
//   vt_decimal_max(x)    aggregate, numeric maximum (text order would put "9.5" above "10")
//   vt_decimal_cmp(a, b) -1, 0 or 1 numerically; NULL when either is NULL
// NULL inputs are skipped; text that is not a plain decimal is an error, never zero.
class SqliteDecimalFunctions {
public:
    static constexpr auto kSum = "vt_decimal_sum";
    static constexpr auto kMax = "vt_decimal_max";
    static constexpr auto kCompare = "vt_decimal_cmp";

    static void registerOn(const SqliteDatabase& database);
};

} // namespace vantrel::objectstore
