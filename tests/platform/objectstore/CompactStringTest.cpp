#include "platform/objectstore/CompactString.h"

#include <gtest/gtest.h>

#include <utility>

namespace vantrel::objectstore {
namespace {

using Form = CompactString::Form;

struct Case {
    QString text;
    Form form;
};

// Each form at and around its limits; every string must come back unchanged, whichever form holds it.
std::vector<Case> cases() {
    const QString uuid = QStringLiteral("0A1B2C3D-4E5F-6789-ABCD-EF0123456789");
    QString withNul = QStringLiteral("before after");
    withNul[6] = QChar(u'\0');
    QString wrongHyphen = uuid;
    std::swap(wrongHyphen[8], wrongHyphen[9]);
    return {
        {QString(), Form::Inline},
        {QStringLiteral("a"), Form::Inline},
        {QStringLiteral("seven!!"), Form::Inline},
        {QStringLiteral("eight!!!"), Form::Latin1},
        {QString::fromLatin1("caf\xe9\xff\xa0\x01"), Form::Inline},
        {QString::fromLatin1("na\xefve caf\xe9, 21:03:07.123 abcdefgh"), Form::Latin1},
        {QStringLiteral("5\u20ac"), Form::Utf16},
        {QStringLiteral("Caf\u00e9 \U0001F600 \u0100"), Form::Utf16},
        {QString(1, QChar(u'\0')), Form::Utf16},
        {withNul, Form::Utf16},
        {uuid, Form::Uuid},
        {QStringLiteral("00000000-0000-0000-0000-000000000000"), Form::Uuid},
        {QStringLiteral("FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF"), Form::Uuid},
        {uuid.toLower(), Form::Latin1},
        {QStringLiteral("0A1B2C3D-4E5F-6789-ABCD-EF012345678g"), Form::Latin1},
        {QStringLiteral("0A1B2C3D-4E5F-6789-ABCD-EF012345678G"), Form::Latin1},
        {wrongHyphen, Form::Latin1},
        {uuid.left(35), Form::Latin1},
        {uuid + u'0', Form::Latin1},
        {QStringLiteral("{0A1B2C3D-4E5F-6789-ABCD-EF0123456789}"), Form::Latin1},
        {QString(10'000, u'x'), Form::Latin1},
    };
}

TEST(CompactStringTest, EveryFormGivesBackTheStoredString) {
    for (const auto& [text, form] : cases()) {
        const CompactString compact(text);
        EXPECT_EQ(compact.form(), form) << text.toStdString();
        const QString back = compact.text();
        EXPECT_EQ(back.size(), text.size()) << text.toStdString();
        EXPECT_EQ(back, text) << text.toStdString();
    }
}

TEST(CompactStringTest, EmptyIsNotANullString) {
    // An empty value read back must still be a present, empty string for callers that test isNull.
    EXPECT_TRUE(CompactString(QStringLiteral("")).text().isEmpty());
    EXPECT_FALSE(CompactString(QStringLiteral("")).text().isNull());
}

TEST(CompactStringTest, MovesHandOverTheTextOnce) {
    const auto all = cases();
    std::vector<CompactString> strings;
    for (const auto& c : all) {
        strings.emplace_back(c.text); // reallocations move every element
    }
    for (std::size_t i = 0; i + 1 < strings.size(); ++i) {
        strings[i] = std::move(strings[i + 1]); // the old heap part is released, the moved-from emptied
        EXPECT_EQ(strings[i].text(), all[i + 1].text);
        EXPECT_EQ(strings[i + 1].text(), QString());
    }
}

TEST(CompactStringTest, SharedStringStaysWithItsOwner) {
    const QString owner = QStringLiteral("Whole Foods Market");
    {
        CompactString shared = CompactString::sharing(&owner);
        EXPECT_EQ(shared.form(), Form::Shared);
        EXPECT_EQ(shared.text(), owner);
        shared = CompactString(QStringLiteral("other text"));
        EXPECT_EQ(shared.text(), QStringLiteral("other text"));
    }
    EXPECT_EQ(owner, QStringLiteral("Whole Foods Market"));
}

} // namespace
} // namespace vantrel::objectstore
