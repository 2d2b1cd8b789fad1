#include "model/AmountFieldModel.h"

#include "support/ModelValues.h"

#include <gtest/gtest.h>

#include <string>

using vantrel::model::Amount;
using vantrel::model::AmountFieldModel;
using vantrel::model::ParseOutcome;
using vantrel::testsupport::amount;
using vantrel::testsupport::utf8;

namespace {

std::string interpreted(const AmountFieldModel& field) {
    const auto value = field.interpretedAmount();
    return value ? value->toStdString() : "(invalid)";
}

TEST(AmountField, TypingIntoAnEmptyFieldEntersAnExpense) {
    AmountFieldModel field(QStringLiteral("en_US"));
    EXPECT_TRUE(field.shouldAssumeSign());
    field.focusIn();
    EXPECT_EQ(utf8(field.text()), "-");
    EXPECT_EQ(field.selectionStart(), 1);
    EXPECT_EQ(field.selectionLength(), 0);
    field.insert(QStringLiteral("12.50"));
    EXPECT_EQ(utf8(field.text()), "-12.50");
    EXPECT_EQ(interpreted(field), "-12.50");
}

TEST(AmountField, DeletingThePrefilledMinusEntersIncome) {
    AmountFieldModel field(QStringLiteral("en_US"));
    field.focusIn();
    field.backspace();
    EXPECT_EQ(utf8(field.text()), "");
    field.insert(QStringLiteral("12.50"));
    EXPECT_EQ(interpreted(field), "12.50");
}

TEST(AmountField, WorksInTheLocaleOfTheUser) {
    AmountFieldModel german(QStringLiteral("de_DE"));
    german.focusIn();
    german.insert(QStringLiteral("1.234,5"));
    EXPECT_EQ(interpreted(german), "-1234.50");
    german.focusOut();
    EXPECT_EQ(utf8(german.text()), "-1.234,50");

    // Swedish shows the typographic minus; typing after it still gives an expense.
    AmountFieldModel swedish(QStringLiteral("sv_SE"));
    swedish.focusIn();
    EXPECT_EQ(utf8(swedish.text()), "\u2212");
    EXPECT_EQ(swedish.selectionStart(), 1);
    swedish.insert(QStringLiteral("12,50"));
    EXPECT_EQ(interpreted(swedish), "-12.50");
}

TEST(AmountField, FocusSelectsWhatFollowsTheMinusOrEverything) {
    AmountFieldModel field(QStringLiteral("en_US"));
    field.setValue(amount("-1234.5"));
    EXPECT_EQ(utf8(field.text()), "-1,234.50");
    field.focusIn();
    EXPECT_EQ(field.selectionStart(), 1);
    EXPECT_EQ(field.selectionLength(), 8);
    field.insert(QStringLiteral("7"));
    EXPECT_EQ(interpreted(field), "-7.00");

    field.setValue(amount("1234.5"));
    field.focusIn();
    EXPECT_EQ(field.selectionStart(), 0);
    EXPECT_EQ(field.selectionLength(), 8);
    field.insert(QStringLiteral("3"));
    EXPECT_EQ(interpreted(field), "3.00");
}

TEST(AmountField, ZeroShowsAsALoneMinusWhenTheSignIsAssumed) {
    AmountFieldModel field(QStringLiteral("en_US"));
    EXPECT_TRUE(field.formatter().assumesNegative());
    field.setValue(Amount());
    EXPECT_EQ(utf8(field.text()), "-");
    EXPECT_EQ(interpreted(field), "0");
    field.setValue(amount("-0.001"));
    EXPECT_EQ(utf8(field.text()), "-");

    field.setShouldAssumeSign(false);
    EXPECT_FALSE(field.formatter().assumesNegative());
    field.setValue(Amount());
    EXPECT_EQ(utf8(field.text()), "0.00");

    // Without an assumed sign, focus leaves an empty field empty.
    field.setText(QString());
    field.focusIn();
    EXPECT_EQ(utf8(field.text()), "");
    EXPECT_EQ(interpreted(field), "0");
}

TEST(AmountField, NoCentsRoundsToWholeUnits) {
    AmountFieldModel field(QStringLiteral("en_US"));
    field.setNoCents(true);
    field.setText(QStringLiteral("12.50"));
    EXPECT_EQ(interpreted(field), "13");
    field.setText(QStringLiteral("-12.5"));
    EXPECT_EQ(interpreted(field), "-13");
    field.setValue(amount("1234.5"));
    EXPECT_EQ(utf8(field.text()), "1,235");
    field.setValue(amount("-0.4"));
    EXPECT_EQ(utf8(field.text()), "-");

    field.setNoCents(false);
    field.setText(QStringLiteral("2.345"));
    EXPECT_EQ(interpreted(field), "2.35");
    EXPECT_EQ(field.parsedValue().value(), amount("2.345"));
}

TEST(AmountField, TextThatIsNotAnAmountHasNoInterpretation) {
    AmountFieldModel field(QStringLiteral("en_US"));
    field.setText(QStringLiteral("12..5"));
    EXPECT_EQ(interpreted(field), "(invalid)");
    EXPECT_EQ(field.parsedValue().outcome(), ParseOutcome::Failure);
    field.focusOut();
    EXPECT_EQ(utf8(field.text()), "12..5");

    field.setText(QStringLiteral("-"));
    field.focusOut();
    EXPECT_EQ(utf8(field.text()), "-");
    EXPECT_EQ(interpreted(field), "0");

    field.setText(QStringLiteral("1234.5"));
    field.focusOut();
    EXPECT_EQ(utf8(field.text()), "1,234.50");
}

TEST(AmountField, EditingReplacesTheSelection) {
    AmountFieldModel field(QStringLiteral("en_US"));
    field.setText(QStringLiteral("123.45"));
    EXPECT_EQ(field.cursorPosition(), 6);
    field.setSelection(1, 2);
    field.backspace();
    EXPECT_EQ(utf8(field.text()), "1.45");
    EXPECT_EQ(field.cursorPosition(), 1);
    field.backspace();
    EXPECT_EQ(utf8(field.text()), ".45");
    field.backspace();
    EXPECT_EQ(utf8(field.text()), ".45");
    field.insert(QStringLiteral("9"));
    EXPECT_EQ(utf8(field.text()), "9.45");
    EXPECT_EQ(field.cursorPosition(), 1);

    field.setSelection(-5, 100);
    EXPECT_EQ(field.selectionStart(), 0);
    EXPECT_EQ(field.selectionLength(), 4);
    field.insert(QStringLiteral("8"));
    EXPECT_EQ(utf8(field.text()), "8");

    // One backspace removes a whole character outside the Basic Multilingual Plane.
    field.setText(QStringLiteral("1\U0001F4B0"));
    field.backspace();
    EXPECT_EQ(utf8(field.text()), "1");
}

} // namespace
