#include "import/CsvParser.h"

#include "import/CsvTables.h"
#include "import/ParseException.h"
#include "import/SimpleCsvParser.h"
#include "platform/InternalError.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vantrel::import {
namespace {

using testsupport::csvFixture;
using testsupport::Table;
using testsupport::table;
using testsupport::utf8;

const Table kBufferTooSmall{{"ERROR: Buffer too small"}};

Table split(const QByteArray& bytes, qsizetype bufferSize = CsvParser::kDefaultBufferSize,
            CsvParser::Encoding encoding = CsvParser::Encoding::Latin1) {
    CsvParser parser;
    parser.setBufferSize(bufferSize);
    parser.setEncoding(encoding);
    parser.openBytes(bytes);
    return table(parser.parseFile());
}

Table simple(const QByteArray& bytes) {
    const std::optional<CsvRows> rows = SimpleCsvParser::parseBytes(bytes);
    return rows ? table(*rows) : Table{{"<none>"}};
}

Table simpleFile(const char* fixture) {
    const std::optional<CsvRows> rows = SimpleCsvParser::parseFile(csvFixture(fixture));
    return rows ? table(*rows) : Table{{"<none>"}};
}

// A row of exactly `length` bytes before its line end.
QByteArray rowOfLength(qsizetype length) {
    QByteArray row = "01/15/2024,Payee,";
    row.append(QByteArray(length - row.size(), '7'));
    return row;
}

TEST(CsvParserTest, DelimiterIsTheFirstOfCommaSemicolonAndTabInTheFirstRow) {
    EXPECT_EQ(simpleFile("semicolon.csv"), (Table{{"Date", "Payee", "Amount"},
                                                  {"15.01.2024", "B\u00e4cker", "-3,20"},
                                                  {"16.01.2024", "Salary", "2.500,00"}}));
    // The header's TAB comes before its comma, so commas stay inside fields.
    EXPECT_EQ(simpleFile("tab.csv"), (Table{{"Date", "Payee, Inc", "Amount"},
                                            {"2024-01-15", "Acme, Inc", "-12.50"},
                                            {"2024-01-16", "Refund", "7.25"}}));
    // A comma inside quotes is not the file's delimiter.
    EXPECT_EQ(split("\"Smith, John\";12\na,b;3\n"), (Table{{"Smith, John", "12"}, {"a,b", "3"}}));
    // Leading blank lines do not hide the first row.
    EXPECT_EQ(split("\n\r\na;b\n"), (Table{{"a", "b"}}));
}

TEST(CsvParserTest, WithoutADelimiterInTheFirstRowEveryRowIsOneField) {
    EXPECT_EQ(split("Statement\na,b;c\n\"quoted\"\n"), (Table{{"Statement"}, {"a,b;c"}, {"quoted"}}));
}

TEST(CsvParserTest, ASetDelimiterIsUsedInsteadOfDetection) {
    CsvParser parser;
    parser.setDelimiter(';');
    parser.openBytes("a,b;c\n");
    EXPECT_EQ(table(parser.parseFile()), (Table{{"a,b", "c"}}));
    EXPECT_THROW(parser.setDelimiter('"'), platform::InternalError);
    EXPECT_THROW(parser.setDelimiter('\n'), platform::InternalError);
}

TEST(CsvParserTest, QuotesProtectDelimitersAndLineBreaksAndDoubledQuotesBecomeOne) {
    EXPECT_EQ(simpleFile("comma.csv"), (Table{{"Date", "Description", "Amount", "Memo"},
                                              {"01/15/2024", "Smith, John", "-12.50", "He said \"hi\""},
                                              {"01/16/2024", "Grocer", "45.00", "line one\nline two"},
                                              {"01/17/2024", "Rent", "-900.00", ""}}));
    // Delimiter, two quotes, delimiter is an empty field; a CR inside quotes is kept as well.
    EXPECT_EQ(split("a,\"\",b\n\"x\r\ny\",z\n"), (Table{{"a", "", "b"}, {"x\r\ny", "z"}}));
}

TEST(CsvParserTest, FieldTextsAreDecodedWithoutAnyOtherTrimming) {
    CsvParser parser;
    EXPECT_EQ(utf8(parser.parseString("\"a\"\"b\"")), "a\"b");
    EXPECT_EQ(utf8(parser.parseString("\"")), "\""); // one byte: nothing to strip
    EXPECT_EQ(utf8(parser.parseString("\"\"")), "");
    EXPECT_EQ(utf8(parser.parseString("\"open")), "\"open");
    EXPECT_EQ(utf8(parser.parseString(" \"padded\" ")), " \"padded\" ");
    EXPECT_EQ(utf8(parser.parseString("\"\"\"\"")), "\"");
    EXPECT_EQ(utf8(parser.parseString("caf\xe9")), "caf\u00e9");
    parser.setEncoding(CsvParser::Encoding::Utf8);
    EXPECT_EQ(utf8(parser.parseString("caf\xc3\xa9")), "caf\u00e9");
}

TEST(CsvParserTest, ADelimiterEndingARowGivesAnEmptyLastField) {
    EXPECT_EQ(split("a,b,\nc,d\n"), (Table{{"a", "b", ""}, {"c", "d"}}));
}

TEST(CsvParserTest, LineEndRunsAndBlankLinesGiveNoRows) {
    EXPECT_EQ(split("a,b\r\n\r\n\n\rc,d\r\n"), (Table{{"a", "b"}, {"c", "d"}}));
    EXPECT_EQ(split("a,b"), (Table{{"a", "b"}})); // the last row needs no line end
    EXPECT_EQ(split(QByteArray(1024 * 1024, '\n')), Table{});
    EXPECT_EQ(simpleFile("blank_only.csv"), (Table{{"<none>"}}));
    EXPECT_EQ(simple(QByteArray()), (Table{{"<none>"}}));
}

// The limit counts a row's bytes without its line end: 2,047 bytes plus LF (2,048 in the file)
// still fit the 2,048-byte buffer; 2,048 bytes plus LF (2,049 in the file) fill it without a line
// end in sight.
TEST(CsvParserTest, ARowMustStayBelowTheBufferSize) {
    EXPECT_EQ(split(rowOfLength(2046) + "\n"), (Table{{"01/15/2024", "Payee", std::string(2046 - 17, '7')}}));
    EXPECT_EQ(split(rowOfLength(2047) + "\n").at(0).at(2).size(), 2047u - 17u);
    EXPECT_EQ(split(rowOfLength(2048) + "\n"), kBufferTooSmall);
    // CR LF: the CR ends the row, so the LF does not count either.
    EXPECT_EQ(split(rowOfLength(2047) + "\r\n").size(), 1u);
    // The last row of a file without a line end obeys the same limit.
    EXPECT_EQ(split(rowOfLength(2047)).size(), 1u);
    EXPECT_EQ(split(rowOfLength(2048)), kBufferTooSmall);
}

TEST(CsvParserTest, TheRowLimitHoldsWhereverTheRowStartsInAChunk) {
    for (const qsizetype offset : {0, 1, 5, 1000, 2047, 2048, 3000}) {
        SCOPED_TRACE(offset);
        const QByteArray before(offset, '\n'); // skipped, so the row starts at that offset
        EXPECT_EQ(split(before + rowOfLength(2047) + "\nlast\n").back(), (std::vector<std::string>{"last"}));
        // A too-long row anywhere throws away every other row, too.
        EXPECT_EQ(split(before + rowOfLength(2048) + "\nlast\n"), kBufferTooSmall);
    }
}

TEST(CsvParserTest, HugeOrUnclosedInputEndsAsBufferTooSmall) {
    EXPECT_EQ(split(QByteArray(1024 * 1024, 'a')), kBufferTooSmall);
    // An unclosed quote swallows the line ends after it.
    EXPECT_EQ(split("a,\"b\n" + QByteArray(100, '\n') + QByteArray(3000, 'c')), kBufferTooSmall);
    EXPECT_EQ(split("a,\"b\nc\n"), (Table{{"a", "\"b\nc\n"}}));
}

// Chunk boundaries may fall anywhere: inside a quoted line break, between two quotes of a pair,
// inside a CR LF, inside a UTF-8 character. The rows must come out byte for byte the same.
TEST(CsvParserTest, ChunkBoundariesNeverLoseOrDoubleAByte) {
    QByteArray bytes;
    for (int i = 0; i < 40; ++i) {
        bytes += "01/" + QByteArray::number(i % 28 + 1) + "/2024,\"Caf\xc3\xa9 \"\"Le Noir\"\", Paris\",-" +
                 QByteArray::number(i) + ".50,\"line\r\nbreak\"\r\n";
        if (i % 7 == 0) {
            bytes += "\r\n\n";
        }
    }
    const Table whole = split(bytes, 1 << 20, CsvParser::Encoding::Utf8);
    ASSERT_EQ(whole.size(), 40u);
    EXPECT_EQ(whole.at(3), (std::vector<std::string>{"01/4/2024", "Caf\u00e9 \"Le Noir\", Paris", "-3.50",
                                                     "line\r\nbreak"}));
    for (qsizetype bufferSize = 60; bufferSize < 140; ++bufferSize) {
        SCOPED_TRACE(bufferSize);
        EXPECT_EQ(split(bytes, bufferSize, CsvParser::Encoding::Utf8), whole);
    }
}

TEST(CsvParserTest, ReadsFromFilesAndDevicesInChunks) {
    CsvParser parser;
    ASSERT_TRUE(parser.openFile(csvFixture("latin1.csv")));
    EXPECT_EQ(table(parser.parseFile()),
              (Table{{"Date", "Payee", "Amount"}, {"01/15/2024", "Caf\u00e9 Noir", "-4.50"}}));
    parser.closeFile();
    EXPECT_THROW(parser.parseFile(), platform::InternalError);
    EXPECT_FALSE(parser.openFile(csvFixture("missing.csv")));
    EXPECT_FALSE(parser.openFile(QStringLiteral(VANTREL_TEST_DATA "/csv")));

    QBuffer device;
    device.setData("a;b\nc;d\n");
    ASSERT_TRUE(device.open(QIODevice::ReadOnly));
    parser.setBufferSize(4); // "a;b" is 3 bytes: one below the limit
    parser.openDevice(device);
    EXPECT_EQ(table(parser.parseFile()), (Table{{"a", "b"}, {"c", "d"}}));
    EXPECT_THROW(parser.setBufferSize(0), platform::InternalError);
}

TEST(CsvParserTest, AByteOrderMarkIsNotPartOfTheFirstFieldOfAUtf8Input) {
    const QByteArray bytes("\xEF\xBB\xBF"
                           "Date,Payee\n1,x\n");
    EXPECT_EQ(split(bytes, 2048, CsvParser::Encoding::Utf8), (Table{{"Date", "Payee"}, {"1", "x"}}));
    EXPECT_EQ(split("\xEF\xBB\xBF\n1,x\n", 2048, CsvParser::Encoding::Utf8), (Table{{"1", "x"}}));
}

// Fields are read as UTF-8 when the whole file is valid UTF-8 (or says so with a mark); a file
// with any byte that is not, such as a Latin-1 0xE9, reads every byte as Latin-1.
TEST(SimpleCsvParserTest, ChoosesTheFieldEncodingFromTheWholeFile) {
    const std::vector<std::string> cafe{"01/15/2024", "Caf\u00e9 Noir", "-4.50"};
    EXPECT_EQ(simpleFile("latin1.csv").at(1), cafe);
    EXPECT_EQ(simpleFile("utf8.csv").at(1), cafe);
    const Table marked = simpleFile("utf8_bom.csv");
    EXPECT_EQ(marked.at(0).at(0), "Date");
    EXPECT_EQ(marked.at(1), cafe);
    EXPECT_EQ(simpleFile("utf16le_bom.csv"), (Table{{"Date", "P"}, {"1", "\u00e9"}}));
    // One stray byte in an otherwise UTF-8 file: 0xE9 is é, and the UTF-8 pair reads as two
    // Latin-1 characters, which is the price of not guessing per field.
    EXPECT_EQ(simple("x,caf\xe9\ny,caf\xc3\xa9\n"), (Table{{"x", "caf\u00e9"}, {"y", "caf\u00c3\u00a9"}}));
    // A single-byte file's 0x80-0x9F are Windows-1252 (euro sign, quotes); its holes stay as read.
    EXPECT_EQ(simple("\x93"
                     "Fee\x94,\x80 5,\x81\n"),
              (Table{{"\u201cFee\u201d", "\u20ac 5", "\u0081"}}));
    // A UTF-16 mark over bytes that are not UTF-16 is an encoding failure, not garbage rows.
    try {
        SimpleCsvParser::parseBytes(QByteArray("\xFF\xFE"
                                               "a\x00,",
                                               5));
        ADD_FAILURE() << "expected an encoding failure";
    } catch (const ParseException& e) {
        EXPECT_EQ(utf8(e.name()), "VTParseEncodingException");
    }
}

TEST(SimpleCsvParserTest, StrayBytesComeThroughAsCharacters) {
    const QByteArray bytes("a,\0\xff\x01,b\n", 8);
    EXPECT_EQ(simple(bytes), (Table{{"a", std::string("\0\u00ff\x01", 4), "b"}}));
}

TEST(SimpleCsvParserTest, SquaresRowsToTheWidestRow) {
    // Every row's trailing comma is dropped; the short row is padded.
    EXPECT_EQ(simpleFile("trailing_commas.csv"), (Table{{"01/15/2024", "Coffee", "-4.50"},
                                                        {"01/16/2024", "Books", "-20.00"},
                                                        {"01/17/2024", "Short", ""}}));
    // A trailing empty field within the width is a real (empty) column and stays.
    EXPECT_EQ(simple("a,b,c\nd,e,\n"), (Table{{"a", "b", "c"}, {"d", "e", ""}}));
    // One beyond the widest row's columns is dropped, even when other rows are narrower.
    EXPECT_EQ(simple("a,b,\nc,d,e,\nf\n"), (Table{{"a", "b", ""}, {"c", "d", "e"}, {"f", "", ""}}));
    EXPECT_EQ(simple(rowOfLength(2048)), kBufferTooSmall);
}

TEST(SimpleCsvParserTest, CountsColumnsWithoutABlankLastField) {
    EXPECT_EQ(SimpleCsvParser::numberOfColumnsIn({"a", "b"}), 2);
    EXPECT_EQ(SimpleCsvParser::numberOfColumnsIn({"a", ""}), 1);
    EXPECT_EQ(SimpleCsvParser::numberOfColumnsIn({"a", " \t"}), 1);
    EXPECT_EQ(SimpleCsvParser::numberOfColumnsIn({"", "b"}), 2);
    EXPECT_EQ(SimpleCsvParser::numberOfColumnsIn({}), 0);
    EXPECT_TRUE(SimpleCsvParser::allRowsHaveSameNumberOfColumns({{"a", "b", ""}, {"c", "d"}}));
    EXPECT_FALSE(SimpleCsvParser::allRowsHaveSameNumberOfColumns({{"a", "b"}, {"c", "d", "e"}}));
    EXPECT_TRUE(SimpleCsvParser::allRowsHaveSameNumberOfColumns({}));
}

TEST(SimpleCsvParserTest, AFileThatCannotBeReadIsAParseFailure) {
    for (const QString& path : {csvFixture("missing.csv"), QStringLiteral(VANTREL_TEST_DATA "/csv")}) {
        try {
            SimpleCsvParser::parseFile(path);
            ADD_FAILURE() << "expected a failure for " << utf8(path);
        } catch (const ParseException& e) {
            EXPECT_EQ(utf8(e.name()), "VTParseException");
            EXPECT_EQ(utf8(e.reason()), "Could not read file.");
        }
    }
}

} // namespace
} // namespace vantrel::import
