// Amount against the int64_t cents a hand-rolled money type would use: parse, format, a running
// balance, and a conversion (multiply by a 10-place rate, round to cents).
#include "model/Amount.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

using vantrel::model::Amount;

namespace {

constexpr std::size_t kCount = 4096;

// Amounts like a register's: mostly small, both signs, always two places.
std::vector<std::int64_t> sampleCents() {
    std::mt19937_64 random(42);
    std::uniform_int_distribution<std::int64_t> magnitude(1, 500000);
    std::bernoulli_distribution expense(0.8);
    std::vector<std::int64_t> cents(kCount);
    for (auto& value : cents) {
        value = expense(random) ? -magnitude(random) : magnitude(random);
    }
    return cents;
}

std::vector<std::string> sampleTexts() {
    std::vector<std::string> texts;
    for (std::int64_t cents : sampleCents()) {
        texts.push_back(Amount::fromCents(cents).toStdString());
    }
    return texts;
}

std::vector<Amount> sampleAmounts() {
    std::vector<Amount> amounts;
    for (std::int64_t cents : sampleCents()) {
        amounts.push_back(Amount::fromCents(cents));
    }
    return amounts;
}

// The baseline parser: "-1234.56" into cents, as strict as Amount's.
bool parseCents(std::string_view text, std::int64_t& cents) {
    const bool negative = !text.empty() && text.front() == '-';
    const std::string_view body = negative ? text.substr(1) : text;
    const auto point = body.find('.');
    std::int64_t units = 0;
    std::int64_t fraction = 0;
    const std::string_view whole = body.substr(0, point);
    if (std::from_chars(whole.data(), whole.data() + whole.size(), units).ec != std::errc()) {
        return false;
    }
    if (point != std::string_view::npos) {
        const std::string_view part = body.substr(point + 1);
        if (part.size() != 2 || std::from_chars(part.data(), part.data() + 2, fraction).ec != std::errc()) {
            return false;
        }
    }
    cents = (units * 100 + fraction) * (negative ? -1 : 1);
    return true;
}

std::string formatCents(std::int64_t cents) {
    char buffer[32];
    const std::int64_t magnitude = cents < 0 ? -cents : cents;
    char* end = buffer;
    if (cents < 0) {
        *end++ = '-';
    }
    end = std::to_chars(end, buffer + sizeof buffer, magnitude / 100).ptr;
    *end++ = '.';
    *end++ = static_cast<char>('0' + magnitude % 100 / 10);
    *end++ = static_cast<char>('0' + magnitude % 10);
    return std::string(buffer, end);
}

void BM_Int64Parse(benchmark::State& state) {
    const auto texts = sampleTexts();
    std::size_t i = 0;
    for (auto _ : state) {
        std::int64_t cents = 0;
        benchmark::DoNotOptimize(parseCents(texts[i++ % kCount], cents));
        benchmark::DoNotOptimize(cents);
    }
}
BENCHMARK(BM_Int64Parse);

void BM_AmountParse(benchmark::State& state) {
    const auto texts = sampleTexts();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Amount::fromAscii(texts[i++ % kCount]));
    }
}
BENCHMARK(BM_AmountParse);

void BM_Int64Format(benchmark::State& state) {
    const auto cents = sampleCents();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(formatCents(cents[i++ % kCount]));
    }
}
BENCHMARK(BM_Int64Format);

void BM_AmountFormat(benchmark::State& state) {
    const auto amounts = sampleAmounts();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(amounts[i++ % kCount].toStdString());
    }
}
BENCHMARK(BM_AmountFormat);

// The running balances of a register: each addition depends on the previous one and every
// balance is kept. The int64_t loop gets no help the Amount loop does not.
void BM_Int64Add(benchmark::State& state) {
    const auto cents = sampleCents();
    std::vector<std::int64_t> balances(kCount);
    for (auto _ : state) {
        std::int64_t balance = 0;
        for (std::size_t i = 0; i < kCount; ++i) {
            balance += cents[i];
            balances[i] = balance;
        }
        benchmark::DoNotOptimize(balances.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kCount));
}
BENCHMARK(BM_Int64Add);

void BM_AmountAdd(benchmark::State& state) {
    const auto amounts = sampleAmounts();
    std::vector<Amount> balances(kCount);
    for (auto _ : state) {
        Amount balance = Amount::fromCents(0);
        for (std::size_t i = 0; i < kCount; ++i) {
            balance += amounts[i];
            balances[i] = balance;
        }
        benchmark::DoNotOptimize(balances.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kCount));
}
BENCHMARK(BM_AmountAdd);

// Converting to another currency: cents times a rate with 10 places, rounded half away from zero.
void BM_Int64MultiplyRound(benchmark::State& state) {
    const auto cents = sampleCents();
    const std::int64_t rate = 9'123'456'789; // 0.9123456789 in units of 10^-10
    constexpr __int128 kScale = 10'000'000'000;
    for (auto _ : state) {
        for (std::int64_t value : cents) {
            const __int128 product = static_cast<__int128>(value) * rate;
            const __int128 half = product < 0 ? -kScale / 2 : kScale / 2;
            benchmark::DoNotOptimize(static_cast<std::int64_t>((product + half) / kScale));
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kCount));
}
BENCHMARK(BM_Int64MultiplyRound);

void BM_AmountMultiplyRound(benchmark::State& state) {
    const auto amounts = sampleAmounts();
    const Amount rate = *Amount::fromAscii("0.9123456789");
    for (auto _ : state) {
        for (const Amount& value : amounts) {
            benchmark::DoNotOptimize(value.multipliedBy(rate, 2));
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kCount));
}
BENCHMARK(BM_AmountMultiplyRound);

void BM_AmountRoundToCent(benchmark::State& state) {
    const auto amounts = sampleAmounts();
    const Amount third = Amount(1).dividedBy(Amount(3));
    std::vector<Amount> wide;
    for (const Amount& value : amounts) {
        wide.push_back(value.multipliedBy(third, 10));
    }
    for (auto _ : state) {
        for (const Amount& value : wide) {
            benchmark::DoNotOptimize(value.roundToNearestCent_vt());
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kCount));
}
BENCHMARK(BM_AmountRoundToCent);

} // namespace
