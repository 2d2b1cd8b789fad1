// The QIF reader on generated files: a bank's activity file of 1 MB, and a program's export of
// 1 MB and 10 MB (account list, investment block, split and transfer records), plus the export
// whose 1.4 MB account record once overflowed the regular-expression engine. All of them should
// cost time in proportion to their size.
#include "import/QifReader.h"

#include <QString>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>

using vantrel::import::QifReader;

namespace {

constexpr qsizetype kMegabyte = 1024 * 1024;

QString amountText(std::mt19937& random) {
    std::uniform_int_distribution<int> cents(1, 250000);
    const int value = cents(random);
    return QStringLiteral("-%1.%2").arg(value / 100).arg(value % 100, 2, 10, QLatin1Char('0'));
}

QString bankFile(qsizetype size) {
    std::mt19937 random(7);
    QString text = QStringLiteral("!Type:Bank\r\n");
    for (int i = 0; text.size() < size; ++i) {
        text +=
            QStringLiteral("D%1/%2'24\r\nT%3\r\nN%4\r\nC*\r\nPCARD PURCHASE   STORE %5\r\nMREF %6\r\n^\r\n")
                .arg(i % 12 + 1)
                .arg(i % 28 + 1)
                .arg(amountText(random))
                .arg(1000 + i)
                .arg(i % 97)
                .arg(i);
    }
    return text;
}

QString transactionRecord(std::mt19937& random, int i) {
    const QString date = QStringLiteral("D%1/%2/2023\n").arg(i % 12 + 1).arg(i % 28 + 1);
    switch (i % 4) {
    case 0:
        return date +
               QStringLiteral("T%1\nC*\nPGrocer %2\nLGroceries\n^\n").arg(amountText(random)).arg(i % 50);
    case 1:
        return date + QStringLiteral("T-100.00\nPCard payment\nL[Visa Card]\n^\n");
    case 2:
        return date + QStringLiteral("T-60.00\nPHardware\nMHome\nSHome:Repairs\nEPaint\n$-40.00\n"
                                     "SGroceries\n$-20.00\n^\n");
    default:
        return date + QStringLiteral("T%1\nN%2\nCX\nPRent\nLHousing\n^\n").arg(amountText(random)).arg(i);
    }
}

QString programExport(qsizetype size) {
    std::mt19937 random(11);
    QString text = QStringLiteral("!Option:AutoSwitch\n!Account\n");
    for (int a = 0; a < 10; ++a) {
        text += QStringLiteral("NAccount %1\nTBank\n^\n").arg(a);
    }
    text += QStringLiteral("!Clear:AutoSwitch\n!Account\nNBrokerage\nTInvst\n^\n!Type:Invst\n"
                           "D1/2/2023\nNBuy\nYACME\nI12.50\nQ10\nT125.00\n^\n");
    const qsizetype perAccount = size / 10;
    for (int a = 0; a < 10; ++a) {
        text += QStringLiteral("!Account\nNAccount %1\nTBank\nB100.00\n^\n!Type:Bank\n").arg(a);
        for (int i = 0; text.size() < perAccount * (a + 1); ++i) {
            text += transactionRecord(random, i);
        }
    }
    return text;
}

QString exportWithLongAccountRecord() {
    QString text = QStringLiteral("!Account\nNBig\nTBank\n");
    while (text.size() < 1400 * 1024) {
        text += QStringLiteral("XNote line of a long account description\n");
    }
    text += QStringLiteral("^\n!Type:Bank\n");
    std::mt19937 random(3);
    for (int i = 0; text.size() < 1500 * 1024; ++i) {
        text += transactionRecord(random, i);
    }
    return text;
}

void BM_QifBankFlavour(benchmark::State& state) {
    const QString text = bankFile(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(QifReader::parseForTransactions(text));
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_QifBankFlavour)->Arg(kMegabyte)->Unit(benchmark::kMillisecond);

void BM_QifProgramFlavour(benchmark::State& state) {
    const QString text = programExport(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(QifReader::parse(text));
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_QifProgramFlavour)->Arg(kMegabyte)->Arg(10 * kMegabyte)->Unit(benchmark::kMillisecond);

void BM_QifLongAccountRecord(benchmark::State& state) {
    const QString text = exportWithLongAccountRecord();
    for (auto _ : state) {
        benchmark::DoNotOptimize(QifReader::parse(text));
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_QifLongAccountRecord)->Unit(benchmark::kMillisecond);

} // namespace
