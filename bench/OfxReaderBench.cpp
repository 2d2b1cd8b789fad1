// The OFX reader on generated statements: 10,000 records in SGML form, about 1 MB of records in
// XML form, and one record whose name alone is 1 MB. All three should cost time linear in the
// size of the text.
#include "import/OfxReader.h"

#include <QString>

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>

using vantrel::import::AccountDictionary;
using vantrel::import::OfxReader;

namespace {

enum class Form { Sgml, Xml };

QString leaf(Form form, const char* tag, const QString& value) {
    const QString name = QString::fromLatin1(tag);
    if (form == Form::Sgml) {
        return QStringLiteral("<%1>%2\r\n").arg(name, value);
    }
    return QStringLiteral("<%1>%2</%1>\n").arg(name, value);
}

QString record(Form form, int index, const QString& name) {
    const int day = 1 + index % 28;
    QString text = QStringLiteral("<STMTTRN>\r\n");
    text += leaf(form, "TRNTYPE", index % 3 == 0 ? QStringLiteral("CREDIT") : QStringLiteral("DEBIT"));
    text +=
        leaf(form, "DTPOSTED", QStringLiteral("202301%1120000[-5:EST]").arg(day, 2, 10, QLatin1Char('0')));
    text += leaf(form, "TRNAMT",
                 QStringLiteral("-%1.%2").arg(index % 997).arg(index % 100, 2, 10, QLatin1Char('0')));
    text += leaf(form, "FITID", QStringLiteral("FIT%1").arg(index));
    text += leaf(form, "NAME", name);
    if (index % 4 == 0) {
        text += leaf(form, "MEMO", QStringLiteral("Card  purchase &amp;amp; fee"));
    }
    if (index % 10 == 0) {
        text += leaf(form, "CHECKNUM", QString::number(1000 + index));
    }
    return text + QStringLiteral("</STMTTRN>\r\n");
}

QString statement(Form form, const QString& records) {
    return QStringLiteral("OFXHEADER:100\r\nDATA:OFXSGML\r\n\r\n<OFX>\r\n<SIGNONMSGSRSV1><SONRS>") +
           leaf(form, "LANGUAGE", QStringLiteral("ENG")) + QStringLiteral("<FI>") +
           leaf(form, "ORG", QStringLiteral("Bench Bank")) + leaf(form, "FID", QStringLiteral("1")) +
           QStringLiteral("</FI></SONRS></SIGNONMSGSRSV1>\r\n<BANKMSGSRSV1><STMTTRNRS><STMTRS>\r\n") +
           leaf(form, "CURDEF", QStringLiteral("USD")) + QStringLiteral("<BANKACCTFROM>") +
           leaf(form, "BANKID", QStringLiteral("121000358")) + leaf(form, "ACCTID", QStringLiteral("12345")) +
           leaf(form, "ACCTTYPE", QStringLiteral("CHECKING")) +
           QStringLiteral("</BANKACCTFROM>\r\n<BANKTRANLIST>") +
           leaf(form, "DTSTART", QStringLiteral("20230101")) +
           leaf(form, "DTEND", QStringLiteral("20230131")) + records +
           QStringLiteral("</BANKTRANLIST>\r\n<LEDGERBAL>") + leaf(form, "BALAMT", QStringLiteral("100.00")) +
           leaf(form, "DTASOF", QStringLiteral("20230131")) +
           QStringLiteral("</LEDGERBAL>\r\n</STMTRS></STMTTRNRS></BANKMSGSRSV1>\r\n</OFX>\r\n");
}

QString recordsUntil(Form form, int count, qsizetype minimumSize) {
    QString records;
    for (int i = 0; i < count || records.size() < minimumSize; ++i) {
        records += record(form, i, QStringLiteral("Shop  number %1").arg(i % 250));
    }
    return records;
}

void readAndCheck(benchmark::State& state, const QString& text, std::size_t expectedRecords) {
    for (auto _ : state) {
        const AccountDictionary dictionary = OfxReader::readTransactions(text);
        if (dictionary.accounts.size() != 1 ||
            dictionary.accounts[0].transactions.size() != expectedRecords) {
            state.SkipWithError("unexpected result");
            return;
        }
        benchmark::DoNotOptimize(dictionary);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * text.size() * 2);
}

void BM_OfxReader_TenThousandRecordsSgml(benchmark::State& state) {
    const QString text = statement(Form::Sgml, recordsUntil(Form::Sgml, 10'000, 0));
    readAndCheck(state, text, 10'000);
}
BENCHMARK(BM_OfxReader_TenThousandRecordsSgml)->Unit(benchmark::kMillisecond);

void BM_OfxReader_OneMegabyteXml(benchmark::State& state) {
    const QString records = recordsUntil(Form::Xml, 0, 1024 * 1024);
    const auto count = static_cast<std::size_t>(records.count(QStringLiteral("<STMTTRN>")));
    readAndCheck(state, statement(Form::Xml, records), count);
}
BENCHMARK(BM_OfxReader_OneMegabyteXml)->Unit(benchmark::kMillisecond);

void BM_OfxReader_OneMegabyteName(benchmark::State& state) {
    QString name(1024 * 1024, u'N');
    for (qsizetype i = 7; i < name.size(); i += 8) {
        name[i] = u' ';
    }
    readAndCheck(state, statement(Form::Sgml, record(Form::Sgml, 1, name)), 1);
}
BENCHMARK(BM_OfxReader_OneMegabyteName)->Unit(benchmark::kMillisecond);

} // namespace
