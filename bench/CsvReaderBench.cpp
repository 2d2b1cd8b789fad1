// A bank's CSV download of about 1 MB (some 20,000 rows, quoted payees with commas and doubled
// quotes, a header), generated in memory: split and squared, then read into an account dictionary.
#include "import/CsvReader.h"
#include "import/SimpleCsvParser.h"

#include <QByteArray>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>

namespace {

using namespace vantrel::import;

QByteArray oneMegabyteOfCsv() {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> cents(-250000, 250000);
    std::uniform_int_distribution<int> dayOfMonth(1, 28);
    QByteArray bytes = "Date,Description,Amount,Balance\r\n";
    while (bytes.size() < 1024 * 1024) {
        const int value = cents(random);
        bytes += "01/" + QByteArray::number(dayOfMonth(random)) +
                 "/2024,\"Caf\xc3\xa9 \"\"Le Coin\"\", Paris #" + QByteArray::number(bytes.size() % 9973) +
                 "\"," + (value < 0 ? "-" : "") + QByteArray::number(std::abs(value) / 100) + "." +
                 QByteArray::number(std::abs(value) % 100).rightJustified(2, '0') + ",1234.56\r\n";
    }
    return bytes;
}

CsvSettings bankMapping() {
    CsvSettings settings;
    settings.columnMapping = {{CsvField::Date, 0}, {CsvField::Payee, 1}, {CsvField::Amount, 2}};
    settings.hasHeader = true;
    return settings;
}

void BM_CsvSplitAndSquare(benchmark::State& state) {
    const QByteArray bytes = oneMegabyteOfCsv();
    for (auto _ : state) {
        benchmark::DoNotOptimize(SimpleCsvParser::parseBytes(bytes));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bytes.size());
}
BENCHMARK(BM_CsvSplitAndSquare)->Unit(benchmark::kMillisecond);

void BM_CsvSplitSquareAndRead(benchmark::State& state) {
    const QByteArray bytes = oneMegabyteOfCsv();
    const CsvSettings settings = bankMapping();
    for (auto _ : state) {
        const std::optional<CsvRows> rows = SimpleCsvParser::parseBytes(bytes);
        benchmark::DoNotOptimize(CsvReader::readRows(*rows, settings));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bytes.size());
}
BENCHMARK(BM_CsvSplitSquareAndRead)->Unit(benchmark::kMillisecond);

} // namespace
