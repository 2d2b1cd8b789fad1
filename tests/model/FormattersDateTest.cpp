#include "model/Day.h"
#include "model/VTDateFormatter.h"

#include <gtest/gtest.h>
#include <unicode/timezone.h>

#include <memory>
#include <string>

using vantrel::model::Day;
using vantrel::model::VTDateFormatter;

namespace {

std::string utf8(const QString& text) {
    return text.toStdString();
}

// Formatters that forgot UTC would show midnight UTC as the evening before in a zone west of
// Greenwich; run every test there.
class DateFormatter : public testing::Test {
protected:
    void SetUp() override {
        m_savedZone.reset(icu::TimeZone::createDefault());
        icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone(u"Pacific/Honolulu"));
    }

    void TearDown() override { icu::TimeZone::adoptDefault(m_savedZone.release()); }

private:
    std::unique_ptr<icu::TimeZone> m_savedZone;
};

struct DateCase {
    const char* locale;
    const char* lastDayOfYear;  // 2024-12-31
    const char* firstDayOfYear; // 2025-01-01
    const char* leapDay;        // 2024-02-29
};

TEST_F(DateFormatter, ShowsStoredDaysInTheLocaleMediumStyle) {
    const DateCase cases[] = {
        {"en_US", "Dec 31, 2024", "Jan 1, 2025", "Feb 29, 2024"},
        {"de_DE", "31.12.2024", "01.01.2025", "29.02.2024"},
        {"fr_FR", "31 d\u00E9c. 2024", "1 janv. 2025", "29 f\u00E9vr. 2024"},
        {"ja_JP", "2024/12/31", "2025/01/01", "2024/02/29"},
    };
    for (const DateCase& c : cases) {
        const VTDateFormatter formatter{QString::fromLatin1(c.locale)};
        EXPECT_EQ(utf8(formatter.format(Day::dateWithYear_VT(2024, 12, 31))), c.lastDayOfYear) << c.locale;
        EXPECT_EQ(utf8(formatter.format(Day::dateWithYear_VT(2025, 1, 1))), c.firstDayOfYear) << c.locale;
        EXPECT_EQ(utf8(formatter.format(Day::dateWithYear_VT(2024, 2, 29))), c.leapDay) << c.locale;
    }
}

TEST_F(DateFormatter, AlwaysUsesTheGregorianCalendar) {
    // Thai defaults to the Buddhist era (2567) and this locale asks for Japanese eras.
    EXPECT_NE(
        VTDateFormatter(QStringLiteral("th_TH")).format(Day::dateWithYear_VT(2024, 3, 5)).indexOf(u"2024"),
        -1);
    EXPECT_EQ(utf8(VTDateFormatter(QStringLiteral("ja_JP@calendar=japanese"))
                       .format(Day::dateWithYear_VT(2024, 3, 5))),
              "\u897F\u66A62024\u5E743\u67085\u65E5");
    // Proleptic: ICU's default calendar turns Julian before October 1582 and would say Feb 19.
    EXPECT_EQ(utf8(VTDateFormatter(QStringLiteral("en_US")).format(Day::dateWithYear_VT(1500, 3, 1))),
              "Mar 1, 1500");
}

TEST_F(DateFormatter, ParsesOnlyRealDatesInTheWholeText) {
    const VTDateFormatter english(QStringLiteral("en_US"));
    EXPECT_EQ(english.parse(u"Feb 29, 2024"), Day::dateWithYear_VT(2024, 2, 29));
    EXPECT_EQ(english.parse(u"  Dec 31, 2024\n"), Day::dateWithYear_VT(2024, 12, 31));
    EXPECT_EQ(english.parse(u"Feb 30, 2024"), std::nullopt);
    EXPECT_EQ(english.parse(u"Feb 29, 2023"), std::nullopt);
    EXPECT_EQ(english.parse(u"Mar 5, 2024 and more"), std::nullopt);
    EXPECT_EQ(english.parse(u"yesterday"), std::nullopt);
    EXPECT_EQ(english.parse(u""), std::nullopt);

    EXPECT_EQ(VTDateFormatter(QStringLiteral("de_DE")).parse(u"30.02.2024"), std::nullopt);
    EXPECT_EQ(VTDateFormatter(QStringLiteral("ja_JP")).parse(u"2024/13/01"), std::nullopt);
}

TEST_F(DateFormatter, FormattedDaysParseBackToThemselves) {
    for (const char* locale : {"en_US", "de_DE", "fr_FR", "ja_JP", "ar_EG", "th_TH"}) {
        const VTDateFormatter formatter{QString::fromLatin1(locale)};
        for (const Day day : {Day::dateWithYear_VT(1970, 1, 1), Day::dateWithYear_VT(1969, 12, 31),
                              Day::dateWithYear_VT(2024, 2, 29), Day::dateWithYear_VT(2038, 1, 19),
                              Day::dateWithYear_VT(1900, 3, 1)}) {
            const QString text = formatter.format(day);
            EXPECT_EQ(formatter.parse(text), day) << locale << " " << utf8(text);
        }
    }
}

TEST_F(DateFormatter, DefaultFormatterUsesTheFixedPattern) {
    const VTDateFormatter formatter = VTDateFormatter::defaultDateFormatter_VT(QStringLiteral("en_US"));
    EXPECT_EQ(utf8(formatter.pattern()), "MMM dd, yyyy");
    EXPECT_EQ(utf8(formatter.format(Day::dateWithYear_VT(2024, 3, 5))), "Mar 05, 2024");
    // Monday of the week that counts toward 2025: a week-based year would print 2025.
    EXPECT_EQ(utf8(formatter.format(Day::dateWithYear_VT(2024, 12, 30))), "Dec 30, 2024");
    EXPECT_EQ(formatter.parse(u"Dec 30, 2024"), Day::dateWithYear_VT(2024, 12, 30));

    const VTDateFormatter iso =
        VTDateFormatter::withPattern(QStringLiteral("yyyy-MM-dd"), QStringLiteral("en_US"));
    EXPECT_EQ(utf8(iso.format(Day::dateWithYear_VT(2025, 1, 1))), "2025-01-01");
}

TEST(DateFormatterUtcString, WritesMidnightUtcOfTheDay) {
    EXPECT_EQ(utf8(VTDateFormatter::utcDateString(Day::dateWithYear_VT(2024, 3, 5))),
              "2024-03-05 00:00:00 +0000");
    EXPECT_EQ(utf8(VTDateFormatter::utcDateString(Day::dateWithYear_VT(1969, 12, 31))),
              "1969-12-31 00:00:00 +0000");
    EXPECT_EQ(utf8(VTDateFormatter::utcDateString(Day::dateWithYear_VT(99, 1, 2))),
              "0099-01-02 00:00:00 +0000");
}

} // namespace
