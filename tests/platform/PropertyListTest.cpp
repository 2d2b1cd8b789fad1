#include "platform/PropertyList.h"

#include <QDateTime>
#include <QTimeZone>
#include <QUrl>
#include <QVariantList>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using vantrel::platform::PropertyList;

namespace {

QDateTime utc(int year, int month, int day, int hour, int minute, int second) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), QTimeZone::utc());
}

QByteArray xmlDocument(const QByteArray& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n" +
           body + "\n</plist>\n";
}

// {"code": "EUR", "count": 42, "rate": 0.92, "ok": true, "when": 2024-03-01T12:00:00Z,
//  "list": ["x", <00 01 02>]} written by another writer in the binary format.
const QByteArray kBinaryList = QByteArray(
    "\x62\x70\x6c\x69\x73\x74\x30\x30\xd6\x01\x03\x05\x07\x09\x0b\x02\x04\x06\x08\x0a\x0c\x54\x63\x6f"
    "\x64\x65\x53\x45\x55\x52\x55\x63\x6f\x75\x6e\x74\x10\x2a\x54\x72\x61\x74\x65\x23\x3f\xed\x70\xa3"
    "\xd7\x0a\x3d\x71\x52\x6f\x6b\x09\x54\x77\x68\x65\x6e\x33\x41\xc5\xc8\xfd\x60\x00\x00\x00\x54\x6c"
    "\x69\x73\x74\xa2\x0d\x0e\x51\x78\x43\x00\x01\x02\x08\x15\x1a\x1e\x24\x26\x2b\x34\x37\x38\x3d\x46"
    "\x4b\x4e\x50\x00\x00\x00\x00\x00\x00\x01\x01\x00\x00\x00\x00\x00\x00\x00\x0f\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x54",
    131);

TEST(PropertyListTest, ATreeSurvivesWritingAndReading) {
    const QVariantMap tree{
        {QStringLiteral("name"), QStringLiteral("Zürich & <Genève> \"quoted\"")},
        {QStringLiteral("empty text"), QString()},
        {QStringLiteral("count"), qint64(42)},
        {QStringLiteral("negative"), qint64(-7)},
        {QStringLiteral("large"), std::numeric_limits<qint64>::max()},
        {QStringLiteral("ratio"), 0.125},
        {QStringLiteral("yes"), true},
        {QStringLiteral("no"), false},
        {QStringLiteral("when"), utc(2024, 2, 29, 23, 59, 58)},
        {QStringLiteral("before 2001"), utc(1990, 1, 1, 0, 0, 1)},
        {QStringLiteral("bytes"), QByteArray("\x00\xff\x10 binary", 10)},
        {QStringLiteral("list"), QVariantList{QStringLiteral("a"), qint64(1), QVariantList{},
                                              QVariantMap{{QStringLiteral("inner"), false}}}},
        {QStringLiteral("nothing inside"), QVariantMap{}},
    };

    const PropertyList::WriteResult written = PropertyList::toXml(tree);
    ASSERT_TRUE(written.ok()) << written.error.toStdString();
    EXPECT_TRUE(written.data.startsWith("<?xml"));
    const PropertyList::ReadResult read = PropertyList::read(written.data);
    ASSERT_TRUE(read.ok()) << read.error.toStdString();

    EXPECT_EQ(read.value.toMap(), tree);
    EXPECT_EQ(read.value.toMap().value(QStringLiteral("count")).typeId(), QMetaType::LongLong);
    EXPECT_EQ(read.value.toMap().value(QStringLiteral("when")).toDateTime().timeSpec(), Qt::UTC);
}

TEST(PropertyListTest, ReadsTheBinaryFormat) {
    const PropertyList::ReadResult read = PropertyList::read(kBinaryList);
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    const QVariantMap map = read.value.toMap();

    EXPECT_EQ(map.value(QStringLiteral("code")), QVariant(QStringLiteral("EUR")));
    EXPECT_EQ(map.value(QStringLiteral("count")), QVariant(qint64(42)));
    EXPECT_EQ(map.value(QStringLiteral("rate")).toDouble(), 0.92);
    EXPECT_EQ(map.value(QStringLiteral("ok")), QVariant(true));
    EXPECT_EQ(map.value(QStringLiteral("when")).toDateTime(), utc(2024, 3, 1, 12, 0, 0));
    EXPECT_EQ(map.value(QStringLiteral("list")),
              QVariant(QVariantList{QStringLiteral("x"), QByteArray("\x00\x01\x02", 3)}));
}

TEST(PropertyListTest, ReadsXmlWrittenByOthers) {
    const PropertyList::ReadResult read = PropertyList::read(
        xmlDocument("<dict><key>rates</key><array><dict><key>code</key><string>EUR</string>"
                    "<key>rate</key><real>0.12345678905</real></dict></array>"
                    "<key>timestamp</key><date>2024-06-03T08:30:00Z</date>"
                    "<key>uid</key><dict><key>CF$UID</key><integer>3</integer></dict></dict>"));
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    const QVariantMap root = read.value.toMap();
    const QVariantMap entry = root.value(QStringLiteral("rates")).toList().value(0).toMap();

    EXPECT_EQ(entry.value(QStringLiteral("code")).toString(), QStringLiteral("EUR"));
    EXPECT_EQ(PropertyList::shortestDecimalText(entry.value(QStringLiteral("rate")).toDouble()),
              QStringLiteral("0.12345678905"));
    EXPECT_EQ(root.value(QStringLiteral("timestamp")).toDateTime(), utc(2024, 6, 3, 8, 30, 0));
}

TEST(PropertyListTest, RealsHaveTheirShortestExactText) {
    EXPECT_EQ(PropertyList::shortestDecimalText(0.1), QStringLiteral("0.1"));
    EXPECT_EQ(PropertyList::shortestDecimalText(0.12345678905), QStringLiteral("0.12345678905"));
    EXPECT_EQ(PropertyList::shortestDecimalText(150.0), QStringLiteral("150"));
    EXPECT_EQ(PropertyList::shortestDecimalText(1e-7), QStringLiteral("0.0000001"));
    EXPECT_EQ(PropertyList::shortestDecimalText(-2.5), QStringLiteral("-2.5"));
    EXPECT_EQ(PropertyList::shortestDecimalText(1e21), QStringLiteral("1000000000000000000000"));
    EXPECT_TRUE(PropertyList::shortestDecimalText(std::nan("")).isEmpty());
    EXPECT_TRUE(PropertyList::shortestDecimalText(std::numeric_limits<double>::infinity()).isEmpty());
}

TEST(PropertyListTest, MalformedDataIsAnErrorNeverACrash) {
    EXPECT_FALSE(PropertyList::read({}).ok());
    EXPECT_FALSE(PropertyList::read("hello, world").ok());
    EXPECT_FALSE(PropertyList::read("bplist00").ok());
    EXPECT_FALSE(PropertyList::read(xmlDocument("<dict><key>a</key><string>unclosed</dict>")).ok());

    // Cut anywhere before the root is closed, neither format gives a value.
    const QByteArray xml = xmlDocument("<dict><key>rates</key><array><dict><key>code</key>"
                                       "<string>EUR</string></dict></array></dict>");
    const qsizetype rootEnd = xml.lastIndexOf("</dict>");
    for (qsizetype length = 1; length < rootEnd; ++length) {
        EXPECT_FALSE(PropertyList::read(xml.left(length)).ok()) << "xml cut at " << length;
    }
    for (qsizetype length = 1; length < kBinaryList.size(); ++length) {
        EXPECT_FALSE(PropertyList::read(kBinaryList.left(length)).ok()) << "binary cut at " << length;
    }

    // Random bytes, also behind each format's signature, are no property list.
    std::mt19937 random(20240603);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> size(0, 300);
    for (int round = 0; round < 600; ++round) {
        QByteArray data = round % 3 == 0   ? QByteArray("bplist00")
                          : round % 3 == 1 ? QByteArray("<?xml")
                                           : QByteArray();
        const int extra = size(random);
        for (int i = 0; i < extra; ++i) {
            data.append(static_cast<char>(byte(random)));
        }
        EXPECT_FALSE(PropertyList::read(data).ok()) << "round " << round;
    }
    // Damaged bytes may still form some list; reading them must simply not fault (the sanitizer
    // build watches memory here).
    for (qsizetype position = 8; position < kBinaryList.size(); ++position) {
        QByteArray damaged = kBinaryList;
        damaged[position] = static_cast<char>(damaged[position] ^ 0x5a);
        PropertyList::read(damaged);
    }
}

TEST(PropertyListTest, ValuesWithoutAPropertyListFormAreNotWritten) {
    const PropertyList::WriteResult url = PropertyList::toXml(
        QVariantMap{{QStringLiteral("fine"), QStringLiteral("text")},
                    {QStringLiteral("nested"), QVariantList{QUrl(QStringLiteral("https://example.com"))}}});
    EXPECT_FALSE(url.ok());
    EXPECT_TRUE(url.data.isEmpty());
    EXPECT_EQ(url.error, QStringLiteral("A value of type QUrl cannot be written in a property list."));

    EXPECT_FALSE(PropertyList::toXml(QVariant()).ok());
    EXPECT_FALSE(PropertyList::toXml(QVariant(utc(2100, 1, 1, 0, 0, 0))).ok());
    EXPECT_FALSE(PropertyList::toXml(QVariant(std::numeric_limits<quint64>::max())).ok());
    EXPECT_TRUE(PropertyList::toXml(QVariant(utc(2069, 1, 1, 0, 0, 0))).ok());
}

} // namespace
