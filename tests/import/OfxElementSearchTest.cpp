#include "import/OfxElementSearch.h"

#include "import/ParseException.h"
#include "support/ModelValues.h"

#include <gtest/gtest.h>

#include <functional>

namespace vantrel::import {
namespace {

using testsupport::utf8;

std::vector<std::string> texts(const std::vector<QStringView>& views) {
    std::vector<std::string> out;
    for (QStringView view : views) {
        out.push_back(utf8(view.toString()));
    }
    return out;
}

void expectParseFailure(const std::function<void()>& action, const char* reason) {
    try {
        action();
        ADD_FAILURE() << "expected VTParseException: " << reason;
    } catch (const ParseException& e) {
        EXPECT_EQ(utf8(e.name()), ParseException::kParse);
        EXPECT_EQ(utf8(e.reason()), reason);
    }
}

using Strings = std::vector<std::string>;

TEST(OfxElementSearchTest, ContentEndsAtClosingTagElseNextTagElseEnd) {
    // SGML leaf, XML leaf, and a last leaf running to the end of the text.
    EXPECT_EQ(texts(OfxElementSearch::elements(u"NAME", u"<NAME>Corner Cafe\r\n<MEMO>x")),
              Strings{"Corner Cafe"});
    EXPECT_EQ(texts(OfxElementSearch::elements(u"NAME", u"<NAME> Cafe </NAME><MEMO>x</MEMO>")),
              Strings{"Cafe"});
    EXPECT_EQ(texts(OfxElementSearch::elements(u"NAME", u"<NAME>  tail \n")), Strings{"tail"});
    // A closing tag anywhere later wins over the nearer "<": the content is everything up to it.
    EXPECT_EQ(texts(OfxElementSearch::elements(u"NAME", u"<NAME>a<MEMO>b</NAME>")), Strings{"a<MEMO>b"});
}

TEST(OfxElementSearchTest, TagsMatchIgnoringCaseAndOnlyWholeTags) {
    const QStringView text = u"<fi><org>Bank</org><FiD>42</fid></Fi>";
    EXPECT_EQ(texts(OfxElementSearch::elements(u"FI", text)), Strings{"<org>Bank</org><FiD>42</fid>"});
    EXPECT_EQ(texts(OfxElementSearch::elements(u"FID", text)), Strings{"42"});
    // "<ACCTID>" is not an occurrence of "<ID>", nor "<NAMES>" of "<NAME>".
    EXPECT_TRUE(OfxElementSearch::elements(u"ID", u"<ACCTID>1<NAMES>2").empty());
    EXPECT_TRUE(OfxElementSearch::elements(u"NAME", u"<NAMES>2").empty());
}

TEST(OfxElementSearchTest, EmptyContentsAreNotCollectedButStillOccur) {
    const QStringView text = u"<NAME>\r\n<MEMO>m\r\n<NAME>second\r\n";
    EXPECT_EQ(texts(OfxElementSearch::elements(u"NAME", text)), Strings{"second"});
    const std::vector<OfxElementSearch::Occurrence> all = OfxElementSearch::occurrences(u"NAME", text);
    ASSERT_EQ(all.size(), 2U);
    EXPECT_TRUE(all[0].content.isEmpty());
    EXPECT_FALSE(all[0].closed);
    EXPECT_EQ(utf8(all[1].content.toString()), "second");
    EXPECT_FALSE(all[1].closed);

    const std::vector<OfxElementSearch::Occurrence> closedEmpty =
        OfxElementSearch::occurrences(u"NAME", u"<NAME> \t </NAME>");
    ASSERT_EQ(closedEmpty.size(), 1U);
    EXPECT_TRUE(closedEmpty[0].content.isEmpty());
    EXPECT_TRUE(closedEmpty[0].closed);
    EXPECT_TRUE(OfxElementSearch::elements(u"NAME", u"<NAME> \t </NAME>").empty());
}

TEST(OfxElementSearchTest, SearchResumesWhereTheContentEnded) {
    EXPECT_EQ(texts(OfxElementSearch::elements(u"A", u"<A>1</A><A>2</A><a>3</a>")), (Strings{"1", "2", "3"}));
    // An unclosed one runs to the next closing tag, taking the following element with it.
    EXPECT_EQ(texts(OfxElementSearch::elements(u"A", u"<A>1</A><A>2<A>3</a>")), (Strings{"1", "2<A>3"}));
    // Leaf elements without any closing tag: each ends at the next tag.
    EXPECT_EQ(texts(OfxElementSearch::elements(u"TRNAMT", u"<TRNAMT>1<TRNAMT>2\n<X><TRNAMT>3")),
              (Strings{"1", "2", "3"}));
}

TEST(OfxElementSearchTest, CountMismatchesNameTheTagAndBothCounts) {
    expectParseFailure([] { OfxElementSearch::elements(u"ACCTID", u"<ACCTID>1<ACCTID>2", 1); },
                       "Expected 1 ACCTID(s), got 2 instead");
    expectParseFailure([] { OfxElementSearch::element(u"LEDGERBAL", u"<BALAMT>1"); },
                       "Expected 1 LEDGERBAL(s), got 0 instead");
    expectParseFailure([] { OfxElementSearch::elements(u"X", u"<X>1", 2); },
                       "Expected 2 X(s), got 1 instead");
    expectParseFailure([] { OfxElementSearch::optionalElement(u"NAME", u"<NAME>a<NAME>b<NAME>c"); },
                       "Expected 0 or 1 NAME(s), got 3 instead");
    EXPECT_EQ(utf8(OfxElementSearch::element(u"X", u"<X>only").toString()), "only");
    EXPECT_FALSE(OfxElementSearch::optionalElement(u"NAME", u"<NAME>\n<MEMO>m").has_value());
    EXPECT_EQ(utf8(OfxElementSearch::optionalElement(u"NAME", u"<NAME>n").value().toString()), "n");
}

TEST(OfxElementSearchTest, StatementsKeepTheListedSpellingAndFileOrder) {
    const QStringList tags{QStringLiteral("STMTRS"), QStringLiteral("CCSTMTRS")};
    const QStringView text = u"<ccstmtrs>card</CCSTMTRS><StmtRs>bank</stmtrs><STMTRS> </STMTRS><STMTRSX>no";
    const std::vector<OfxElementSearch::Statement> statements = OfxElementSearch::elementsByTags(tags, text);
    ASSERT_EQ(statements.size(), 2U);
    EXPECT_EQ(utf8(statements[0].tag), "CCSTMTRS");
    EXPECT_EQ(utf8(statements[0].content.toString()), "card");
    EXPECT_EQ(utf8(statements[1].tag), "STMTRS");
    EXPECT_EQ(utf8(statements[1].content.toString()), "bank");
    // The empty one is skipped by elementsByTags but still seen as an occurrence.
    EXPECT_EQ(OfxElementSearch::statementOccurrences(tags, text).size(), 3U);
}

TEST(OfxElementSearchTest, AnUnclosedStatementEndsAtTheNextTag) {
    const QStringList tags{QStringLiteral("STMTRS"), QStringLiteral("CCSTMTRS")};
    const std::vector<OfxElementSearch::Statement> occurrences =
        OfxElementSearch::statementOccurrences(tags, u"<STMTRS>\n<CURDEF>USD");
    ASSERT_EQ(occurrences.size(), 1U);
    EXPECT_TRUE(occurrences[0].content.isEmpty());
    EXPECT_FALSE(occurrences[0].closed);
    // A closing tag of the other statement kind does not close this one.
    EXPECT_FALSE(OfxElementSearch::statementOccurrences(tags, u"<STMTRS>x</CCSTMTRS>").front().closed);
}

} // namespace
} // namespace vantrel::import
