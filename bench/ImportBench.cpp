// The import commands as a user runs them: one whole vantrel-cli process per iteration (start, open
// the database, read the file, merge or import, save, exit), each on a fresh copy of its database
// so that every iteration does the same work. The import into a new database (init, then
// import-app) also finds the day's backup written, by init.
#include "BenchHome.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <benchmark/benchmark.h>

namespace {

using namespace vantrel;
using bench::placeDatabase;
using bench::runCli;

// A bank statement of `count` records with unique FITIDs, spread over the last three years.
QByteArray ofxStatement(int count) {
    QByteArray text;
    text.reserve(count * 220 + 1024);
    text += "OFXHEADER:100\nDATA:OFXSGML\nVERSION:102\n\n<OFX><SIGNONMSGSRSV1><SONRS><LANGUAGE>ENG"
            "</SONRS></SIGNONMSGSRSV1><BANKMSGSRSV1><STMTTRNRS><STMTRS><CURDEF>USD<BANKACCTFROM>"
            "<BANKID>123456789<ACCTID>000111222<ACCTTYPE>CHECKING</BANKACCTFROM><BANKTRANLIST>"
            "<DTSTART>20220101<DTEND>20241231\n";
    for (int i = 0; i < count; ++i) {
        const QDate day = QDate(2022, 1, 1).addDays(i % 1095);
        text += "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>" + day.toString(u"yyyyMMdd").toLatin1() +
                "120000[-5:EST]<TRNAMT>-" + QByteArray::number(1 + i % 500) + "." +
                QByteArray::number(10 + i % 90) + "<FITID>BENCH" + QByteArray::number(i) + "<NAME>PAYEE " +
                QByteArray::number(i % 700) + "<MEMO>CARD PURCHASE " + QByteArray::number(i) + "</STMTTRN>\n";
    }
    text += "</BANKTRANLIST><LEDGERBAL><BALAMT>1000.00<DTASOF>20241231</LEDGERBAL></STMTRS></STMTTRNRS>"
            "</BANKMSGSRSV1></OFX>\n";
    return text;
}

// Another program's export of about `megabytes` MB: ten accounts, records with and without splits.
QByteArray qifExport(int megabytes) {
    QByteArray text;
    const qsizetype target = qsizetype(megabytes) * 1024 * 1024;
    text.reserve(target + 4096);
    int record = 0;
    for (int account = 1; text.size() < target; ++account) {
        text += "!Account\nNAccount " + QByteArray::number(account) + "\nTBank\n^\n!Type:Bank\n";
        for (int i = 0; i < 12'000 && text.size() < target; ++i, ++record) {
            const QDate day = QDate(2000, 1, 1).addDays(record % 9000);
            text += "D" + day.toString(u"MM/dd/yyyy").toLatin1() + "\nT-" +
                    QByteArray::number(1 + record % 900) + ".25\nPPayee " +
                    QByteArray::number(record % 1500) + "\nC*\n";
            if (record % 5 == 0) {
                text += "SGroceries\n$-" + QByteArray::number(record % 900) +
                        ".00\nSHousehold:Cleaning\n$-1.25\n";
            } else {
                text += "LCategory " + QByteArray::number(record % 60) + "\n";
            }
            text += "MNote " + QByteArray::number(record) + "\n^\n";
        }
    }
    return text;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void BM_CliImportBankOfx(benchmark::State& state) {
    QTemporaryDir work;
    const QString file = work.filePath(QStringLiteral("statement.ofx"));
    if (!work.isValid() || !writeFile(file, ofxStatement(static_cast<int>(state.range(0))))) {
        state.SkipWithError("cannot write the statement");
        return;
    }
    const QStringList arguments{QStringLiteral("import-bank"), file, QStringLiteral("--account"),
                                QStringLiteral("Account 1")};
    int iteration = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString home = work.filePath(QStringLiteral("home%1").arg(iteration++));
        // The day's backup is already written, as it is after the first change of a day: that
        // backup is the same for every command and measured on its own (BM_Backup).
        const bool placed = placeDatabase(home, 100'000) &&
                            runCli(home, {QStringLiteral("backup"), QStringLiteral("--force")});
        state.ResumeTiming();
        if (!placed || !runCli(home, arguments)) {
            state.SkipWithError("vantrel-cli import-bank failed");
            return;
        }
        state.PauseTiming();
        QDir(home).removeRecursively();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CliImportBankOfx)->Arg(10'000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_CliImportAppQif(benchmark::State& state) {
    QTemporaryDir work;
    const QString file = work.filePath(QStringLiteral("export.qif"));
    if (!work.isValid() || !writeFile(file, qifExport(static_cast<int>(state.range(0))))) {
        state.SkipWithError("cannot write the export");
        return;
    }
    int iteration = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString home = work.filePath(QStringLiteral("home%1").arg(iteration++));
        const bool seeded = runCli(home, {QStringLiteral("init")});
        state.ResumeTiming();
        if (!seeded || !runCli(home, {QStringLiteral("import-app"), file})) {
            state.SkipWithError("vantrel-cli import-app failed");
            return;
        }
        state.PauseTiming();
        QDir(home).removeRecursively();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CliImportAppQif)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
