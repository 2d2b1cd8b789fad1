#include "import/TextFileReader.h"

#include "ParseFailureExpectation.h"
#include "import/ParseException.h"
#include "support/ModelValues.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace vantrel::import {
namespace {

using testsupport::utf8;
using Source = DetectedEncoding::Source;
using testing::expectFailure;

QByteArray bytes(const char* text) {
    return QByteArray(text);
}
template <std::size_t N>
QByteArray rawBytes(const char (&text)[N]) {
    return QByteArray(text, N - 1); // keeps embedded NULs
}

QByteArray utf16(const QString& text, bool littleEndian) {
    QByteArray out;
    for (QChar c : text) {
        const char high = static_cast<char>(c.unicode() >> 8);
        const char low = static_cast<char>(c.unicode() & 0xFF);
        out.append(littleEndian ? low : high).append(littleEndian ? high : low);
    }
    return out;
}

QByteArray utf32(const QString& text, bool littleEndian) {
    QByteArray out;
    for (char32_t c : text.toUcs4()) {
        char unit[4] = {char(c >> 24), char((c >> 16) & 0xFF), char((c >> 8) & 0xFF), char(c & 0xFF)};
        if (littleEndian) {
            std::swap(unit[0], unit[3]);
            std::swap(unit[1], unit[2]);
        }
        out.append(unit, 4);
    }
    return out;
}

const QString kSample = QStringLiteral("Caf\u00e9 \u20ac5 \U0001D11E");

TEST(TextFileReaderTest, EachByteOrderMarkPicksItsEncodingAndIsDropped) {
    struct Case {
        QByteArray bytes;
        const char* name;
    };
    const Case cases[] = {
        {rawBytes("\xEF\xBB\xBF") + kSample.toUtf8(), "UTF-8"},
        {rawBytes("\xFF\xFE") + utf16(kSample, true), "UTF-16LE"},
        {rawBytes("\xFE\xFF") + utf16(kSample, false), "UTF-16BE"},
        {rawBytes("\xFF\xFE\x00\x00") + utf32(kSample, true), "UTF-32LE"},
        {rawBytes("\x00\x00\xFE\xFF") + utf32(kSample, false), "UTF-32BE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TextFileReader::Decoded decoded = TextFileReader::decodeWithFallback(c.bytes);
        EXPECT_EQ(utf8(decoded.text), utf8(kSample));
        EXPECT_EQ(decoded.encoding, (DetectedEncoding{c.name, Source::ByteOrderMark, 100}));
        const auto detected = TextFileReader::decodeWithDetectionOnly(c.bytes);
        ASSERT_TRUE(detected.has_value());
        EXPECT_EQ(utf8(detected->text), utf8(kSample));
    }
}

// A byte-order mark names the encoding; content that does not decode in it is an encoding failure,
// not a Latin-1 file.
TEST(TextFileReaderTest, ContentBrokenAfterAByteOrderMarkFails) {
    const QByteArray oddUtf16Length = rawBytes("\xFF\xFE\x41\x00\x42"); // "AB" minus a byte
    const QByteArray latin1AfterUtf8Mark = rawBytes("\xEF\xBB\xBF") + bytes("Caf\xE9");
    const QByteArray beyondLastCodePoint = rawBytes("\x00\x00\xFE\xFF\x00\x11\x00\x00");
    for (const QByteArray& broken : {oddUtf16Length, latin1AfterUtf8Mark, beyondLastCodePoint}) {
        SCOPED_TRACE(broken.toHex().toStdString());
        expectFailure([&] { TextFileReader::decode(broken); }, ParseException::kEncoding, QString());
        EXPECT_FALSE(TextFileReader::decodeWithDetectionOnly(broken).has_value());
    }
}

TEST(TextFileReaderTest, ValidUtf8IsReadAsUtf8) {
    const QString text =
        QStringLiteral("!Type:Bank\nPZ\u00fcrich Caf\u00e9 \u00c5sa \u20ac \u65e5\u672c \U0001F600\n^\n");
    const TextFileReader::Decoded decoded = TextFileReader::decodeWithFallback(text.toUtf8());
    EXPECT_EQ(utf8(decoded.text), utf8(text));
    EXPECT_EQ(decoded.encoding, (DetectedEncoding{"UTF-8", Source::ValidUtf8, 100}));
    EXPECT_EQ(utf8(TextFileReader::decodeWithDetectionOnly(text.toUtf8())->text), utf8(text));
}

TEST(TextFileReaderTest, Utf8ValidityIsStrict) {
    // Boundaries of the well-formed ranges: U+0080, U+0800, U+D7FF, U+E000, U+FFFF, U+10000, U+10FFFF.
    for (const char* good : {"\xC2\x80", "\xE0\xA0\x80", "\xED\x9F\xBF", "\xEE\x80\x80", "\xEF\xBF\xBF",
                             "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF", "plain ascii"}) {
        EXPECT_TRUE(TextFileReader::isValidUtf8Text(bytes(good))) << QByteArray(good).toHex().toStdString();
    }
    const QByteArray bad[] = {
        bytes("\xC0\xAF"),         bytes("\xC1\xBF"),         // overlong two-byte forms
        bytes("\xE0\x80\xAF"),     bytes("\xE0\x9F\xBF"),     // overlong three-byte forms
        bytes("\xF0\x80\x80\xAF"), bytes("\xF0\x8F\xBF\xBF"), // overlong four-byte forms
        bytes("\xED\xA0\x80"),     bytes("\xED\xBF\xBF"),     // surrogates D800, DFFF
        bytes("\xF4\x90\x80\x80"), bytes("\xF5\x80\x80\x80"), // above U+10FFFF
        bytes("a\x80z"),           bytes("\xBF"),             // lone continuation bytes
        bytes("Caf\xC3"),          bytes("\xE2\x82"),         // truncated at the end
        bytes("\xE2\x82z"),        bytes("\xC3\xC3\xA9"),     // truncated before another character
        rawBytes("a\x00z"),                                   // NUL: UTF-16 or binary, never text
    };
    for (const QByteArray& b : bad) {
        EXPECT_FALSE(TextFileReader::isValidUtf8Text(b)) << b.toHex().toStdString();
    }
}

TEST(TextFileReaderTest, InvalidUtf8IsNotTakenAsUtf8) {
    // An overlong "/" would pass a lax decoder; as Latin-1 every byte stays visible.
    const TextFileReader::Decoded overlong = TextFileReader::decodeWithFallback(bytes("a\xC0\xAF/"));
    EXPECT_EQ(overlong.encoding.source, Source::Latin1Fallback);
    EXPECT_EQ(utf8(overlong.text), utf8(QStringLiteral("a\u00c0\u00af/")));

    const TextFileReader::Decoded truncated = TextFileReader::decodeWithFallback(bytes("Caf\xC3"));
    EXPECT_EQ(truncated.encoding.source, Source::Latin1Fallback);
    EXPECT_EQ(utf8(truncated.text), utf8(QStringLiteral("Caf\u00c3")));
}

TEST(TextFileReaderTest, Latin1BytesFallBackToLatin1) {
    const TextFileReader::Decoded word = TextFileReader::decodeWithFallback(bytes("Caf\xE9"));
    EXPECT_EQ(utf8(word.text), "Caf\xC3\xA9");
    EXPECT_EQ(word.encoding, (DetectedEncoding{"ISO-8859-1", Source::Latin1Fallback, 100}));

    // A whole French QIF file: the detector leans to ISO-8859-1 but below the threshold.
    const QByteArray qif = bytes("!Type:Bank\nD01/02/2023\nT-12.50\nPCaf\xE9 de la Gare\nMR\xE9glement \xE0 "
                                 "Paris\n^\nD03/02/2023\nT-8.00\nPBoulangerie Fran\xE7oise\n^\n");
    const QString text = TextFileReader::decode(qif);
    EXPECT_TRUE(text.contains(QStringLiteral("PCaf\u00e9 de la Gare\nMR\u00e9glement \u00e0 Paris")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("Boulangerie Fran\u00e7oise\n^\n")));
}

// The fallback is ISO 8859-1 byte for byte, so 0x80-0x9F become C1 controls; windows-1252's
// characters appear only when the detector is confident of that code page.
TEST(TextFileReaderTest, BytesFrom80To9FReadAsWindows1252EvenWhenTheDetectorIsUnsure) {
    // The fallback reads the C1 range as Windows-1252; its five undefined bytes stay controls.
    const TextFileReader::Decoded unsure = TextFileReader::decodeWithFallback(
        bytes("!Type:Bank\nD01/02/2023\nT-12.50\nP\x93Quoted\x94 Caf\xE9 \x81\n^\n"));
    EXPECT_EQ(unsure.encoding.source, Source::Latin1Fallback);
    EXPECT_TRUE(unsure.text.contains(QStringLiteral("P\u201cQuoted\u201d Caf\u00e9 \u0081")))
        << utf8(unsure.text);

    const TextFileReader::Decoded sure = TextFileReader::decodeWithFallback(bytes("Caf\x80"));
    EXPECT_EQ(sure.encoding.name, "windows-1252");
    EXPECT_EQ(sure.encoding.source, Source::Detector);
    EXPECT_GE(sure.encoding.confidence, TextFileReader::kMinimumDetectorConfidence);
    EXPECT_EQ(utf8(sure.text), utf8(QStringLiteral("Caf\u20ac")));
}

TEST(TextFileReaderTest, Utf16WithoutByteOrderMarkIsRecognised) {
    const QString text = QStringLiteral("!Type:Bank\nD01/02/2023\nT-12.50\nPStore Z\u00fcrich\n^\n");
    for (bool littleEndian : {true, false}) {
        SCOPED_TRACE(littleEndian ? "LE" : "BE");
        const auto decoded = TextFileReader::decodeWithDetectionOnly(utf16(text, littleEndian));
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(utf8(decoded->text), utf8(text));
        EXPECT_EQ(decoded->encoding.name, littleEndian ? "UTF-16LE" : "UTF-16BE");
        EXPECT_EQ(decoded->encoding.source, Source::Detector);
    }
}

TEST(TextFileReaderTest, MultiByteCodePageIsRecognisedByTheDetector) {
    const QByteArray shiftJis =
        bytes("\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67\x82\xc5"
              "\x82\xb7\x81\x42\x93\x8c\x8b\x9e\x82\xcd\x91\xe5\x82\xab\x82\xa2\x93\x73"
              "\x8e\x73\x82\xc5\x82\xb7");
    const TextFileReader::Decoded decoded = TextFileReader::decodeWithFallback(shiftJis);
    EXPECT_EQ(decoded.encoding.name, "Shift_JIS");
    EXPECT_EQ(utf8(decoded.text), utf8(QStringLiteral("\u65e5\u672c\u8a9e\u306e\u30c6\u30ad\u30b9\u30c8\u3067"
                                                      "\u3059\u3002\u6771\u4eac\u306f\u5927\u304d\u3044\u90fd"
                                                      "\u5e02\u3067\u3059")));
}

// The detector answers for every input, so "cannot be determined" means: below the confidence
// threshold, or its best two answers tie.
TEST(TextFileReaderTest, DetectionOnlyGivesNothingWhenUnsure) {
    EXPECT_FALSE(TextFileReader::decodeWithDetectionOnly(bytes("Caf\xE9")).has_value());
    EXPECT_FALSE(
        TextFileReader::decodeWithDetectionOnly(bytes("Gr\xFC\xDF Gott, \xD6l und \xC4pfel")).has_value());
    // Two UTF-16 characters are too few: ISO-8859-1 and ISO-8859-2 tie at the top.
    EXPECT_FALSE(TextFileReader::decodeWithDetectionOnly(utf16(QStringLiteral("Hi"), true)).has_value());
}

TEST(TextFileReaderTest, EmptyInputIsEmptyText) {
    EXPECT_EQ(TextFileReader::decode(QByteArray()), QString());
    const auto detected = TextFileReader::decodeWithDetectionOnly(QByteArray());
    ASSERT_TRUE(detected.has_value());
    EXPECT_TRUE(detected->text.isEmpty());
    EXPECT_EQ(TextFileReader::decode(bytes("\xEF\xBB\xBF")), QString());
}

// The detector sees only a prefix, but one bad byte anywhere still rules UTF-8 out.
TEST(TextFileReaderTest, Utf8ValidityCoversBytesBeyondTheDetectorPrefix) {
    QByteArray large(3 * TextFileReader::kDetectorPrefixBytes, 'a');
    large.append("\xC3\xA9");
    EXPECT_EQ(TextFileReader::decodeWithFallback(large).encoding.source, Source::ValidUtf8);
    EXPECT_TRUE(TextFileReader::decode(large).endsWith(QStringLiteral("a\u00e9")));
    large.append("\xE9");
    const TextFileReader::Decoded decoded = TextFileReader::decodeWithFallback(large);
    EXPECT_EQ(decoded.encoding.source, Source::Latin1Fallback);
    EXPECT_EQ(decoded.text.size(), large.size());
    EXPECT_TRUE(decoded.text.endsWith(QStringLiteral("a\u00c3\u00a9\u00e9")));
}

class TextFileReaderFileTest : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& content) {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(content), content.size());
        return path;
    }
    QTemporaryDir m_dir;
};

TEST_F(TextFileReaderFileTest, ReadsFilesInBothFlavours) {
    const QString latin1 = write("latin1.qif", bytes("PCaf\xE9\n^\n"));
    EXPECT_EQ(utf8(TextFileReader::readWithFallback(latin1)), "PCaf\xC3\xA9\n^\n");
    EXPECT_FALSE(TextFileReader::readWithDetectionOnly(latin1).has_value());

    const QString marked =
        write("marked.qif", rawBytes("\xFF\xFE") + utf16(QStringLiteral("PCaf\u00e9"), true));
    EXPECT_EQ(utf8(TextFileReader::readWithFallback(marked)), "PCaf\xC3\xA9");
    EXPECT_EQ(utf8(TextFileReader::readWithDetectionOnly(marked).value_or(QString())), "PCaf\xC3\xA9");

    const QString empty = write("empty.qif", QByteArray());
    EXPECT_EQ(TextFileReader::readWithFallback(empty), QString());
    EXPECT_EQ(TextFileReader::readWithDetectionOnly(empty), QString());
}

TEST_F(TextFileReaderFileTest, UnreadableFilesFailInBothFlavours) {
    const QString reason = QStringLiteral("Could not read file.");
    for (const QString& path : {m_dir.filePath("missing.qif"), m_dir.path()}) {
        SCOPED_TRACE(utf8(path));
        expectFailure([&] { TextFileReader::readWithFallback(path); }, ParseException::kParse, reason);
        expectFailure([&] { TextFileReader::readWithDetectionOnly(path); }, ParseException::kParse, reason);
    }
    const QString broken = write("broken.qif", rawBytes("\xFE\xFF\x00"));
    expectFailure([&] { TextFileReader::readWithFallback(broken); }, ParseException::kEncoding, QString());
    EXPECT_FALSE(TextFileReader::readWithDetectionOnly(broken).has_value());
}

} // namespace
} // namespace vantrel::import
