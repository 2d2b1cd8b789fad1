#include "platform/objectstore/SqliteDecimalFunctions.h"

#include "platform/Amount.h"
#include "platform/objectstore/SqliteDatabase.h"

#include <memory>
#include <new>
#include <optional>
#include <sqlite3.h>
#include <string>
#include <type_traits>

namespace vantrel::objectstore {

namespace {

using platform::Amount;

// Lives in SQLite's zero-filled aggregate memory; the Amount is constructed on the first row.
struct Accumulator {
    bool started;
    alignas(Amount) unsigned char storage[sizeof(Amount)];

    Amount& amount() { return *std::launder(reinterpret_cast<Amount*>(storage)); }
};
static_assert(std::is_trivially_destructible_v<Amount>, "aggregate memory is freed without destructors");

// Reads one argument; nothing for NULL. Reports bad text on the context and returns false.
bool readDecimal(sqlite3_context* context, sqlite3_value* value, std::optional<Amount>& out) {
    if (sqlite3_value_type(value) == SQLITE_NULL) {
        out.reset();
        return true;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    const int bytes = sqlite3_value_bytes(value);
    out = text != nullptr ? Amount::fromAscii(std::string_view(text, static_cast<std::size_t>(bytes)))
                          : std::nullopt;
    if (!out) {
        const std::string message =
            "not a decimal: '" + std::string(text != nullptr ? text : "", static_cast<std::size_t>(bytes)) +
            "'";
        sqlite3_result_error(context, message.c_str(), -1);
        return false;
    }
    return true;
}

void resultAmount(sqlite3_context* context, const Amount& amount) {
    const std::string text = amount.toStdString();
    sqlite3_result_text64(context, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

Accumulator* accumulator(sqlite3_context* context) {
    return static_cast<Accumulator*>(sqlite3_aggregate_context(context, sizeof(Accumulator)));
}

void sumStep(sqlite3_context* context, int, sqlite3_value** arguments) {
    Accumulator* state = accumulator(context);
    if (state == nullptr) {
        sqlite3_result_error_nomem(context);
        return;
    }
    std::optional<Amount> value;
    if (!readDecimal(context, arguments[0], value) || !value) {
        return;
    }
    if (!state->started) {
        std::construct_at(reinterpret_cast<Amount*>(state->storage));
        state->started = true;
    }
    try {
        state->amount() += *value;
    } catch (const std::exception&) {
        // A rounded or wrapped total would be a wrong balance.
        sqlite3_result_error(context, "decimal sum overflows 38 significant digits", -1);
    }
}

void sumFinal(sqlite3_context* context) {
    auto* state = static_cast<Accumulator*>(sqlite3_aggregate_context(context, 0));
    resultAmount(context, state != nullptr && state->started ? state->amount() : Amount());
}

void maxStep(sqlite3_context* context, int, sqlite3_value** arguments) {
    Accumulator* state = accumulator(context);
    if (state == nullptr) {
        sqlite3_result_error_nomem(context);
        return;
    }
    std::optional<Amount> value;
    if (!readDecimal(context, arguments[0], value) || !value) {
        return;
    }
    if (!state->started) {
        std::construct_at(reinterpret_cast<Amount*>(state->storage), *value);
        state->started = true;
    } else if (*value > state->amount()) {
        state->amount() = *value;
    }
}

void maxFinal(sqlite3_context* context) {
    auto* state = static_cast<Accumulator*>(sqlite3_aggregate_context(context, 0));
    if (state != nullptr && state->started) {
        resultAmount(context, state->amount());
    } else {
        sqlite3_result_null(context);
    }
}

void compare(sqlite3_context* context, int, sqlite3_value** arguments) {
    std::optional<Amount> left;
    std::optional<Amount> right;
    if (!readDecimal(context, arguments[0], left) || !readDecimal(context, arguments[1], right)) {
        return;
    }
    if (!left || !right) {
        sqlite3_result_null(context);
        return;
    }
    sqlite3_result_int(context, *left < *right ? -1 : (*left > *right ? 1 : 0));
}

} // namespace

void SqliteDecimalFunctions::registerOn(const SqliteDatabase& database) {
    constexpr int kFlags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    sqlite3* db = database.handle();
    if (sqlite3_create_function_v2(db, kSum, 1, kFlags, nullptr, nullptr, sumStep, sumFinal, nullptr) !=
            SQLITE_OK ||
        sqlite3_create_function_v2(db, kMax, 1, kFlags, nullptr, nullptr, maxStep, maxFinal, nullptr) !=
            SQLITE_OK ||
        sqlite3_create_function_v2(db, kCompare, 2, kFlags, nullptr, compare, nullptr, nullptr, nullptr) !=
            SQLITE_OK) {
        database.fail(QStringLiteral("Cannot register the decimal functions"));
    }
}

} // namespace vantrel::objectstore
