#pragma once

#include <QString>

#include <cstdint>

namespace vantrel::bench {

// Writes a realistic database through the object store: six accounts (one in euros), 40 categories
// in 8 groups, 20 years of transactions of which about 10% are split over 2 to 4 categories and a
// few are transfers between accounts. The same seed gives the same database.
class DatabaseGenerator {
public:
    struct Summary {
        std::int64_t transactions = 0;
        std::int64_t splitTransactions = 0;
        std::int64_t transfers = 0;
    };

    static Summary generate(const QString& path, std::int64_t transactionCount, std::uint64_t seed = 42);

    // The generated database of that size, made once and kept between runs in the temporary folder
    // (a million transactions take a while). Treat it as read-only: benchmarks that save work on a
    // scratchCopy, so every suite measures the database its name promises.
    static QString cachedDatabase(std::int64_t transactionCount);
    // Copies the database files into `folder` and returns the copy's path.
    static QString scratchCopy(const QString& path, const QString& folder);
};

} // namespace vantrel::bench
