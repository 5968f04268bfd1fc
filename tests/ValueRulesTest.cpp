// The address, password, splitting and integer-conversion rules.
#include <gtest/gtest.h>

#include "IntConversion.h"
#include "TextItems.h"
#include "ValueRules.h"

namespace relay {
namespace {

struct AddressCase {
  const char *name;
  std::string input;
  bool accepted;
  std::string rewritten;  // what the caller's variable holds afterwards
};

class AddressRule : public testing::TestWithParam<AddressCase> {};

TEST_P(AddressRule, AcceptsAndRewrites) {
  std::string text = GetParam().input;
  EXPECT_EQ(IsValidIpAddr(text), GetParam().accepted);
  EXPECT_EQ(text, GetParam().rewritten);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AddressRule,
    testing::Values(
        AddressCase{"Plain", "192.168.1.100", true, "192.168.1.100"},
        AddressCase{"Surrounded", " \t1.2.3.4\r\n ", true, "1.2.3.4"},
        AddressCase{"StrayDots", " 10..0.0.7. ", true, "10.0.0.7"},
        AddressCase{"LeadingZeros", "010.001.000.099", true, "10.1.0.99"},
        AddressCase{"SignsAndHex", "0x0A.$0.+1.010", true, "10.0.1.10"},
        AddressCase{"DollarHex", "$C0.168.1.1", true, "192.168.1.1"},
        AddressCase{"UpperHexPrefix", "0XFF.X1.x2.0", true, "255.1.2.0"},
        AddressCase{"AllZero", "0.0.0.0", true, "0.0.0.0"},
        AddressCase{"AllOnes", "255.255.255.255", true, "255.255.255.255"},
        AddressCase{"SpacesInsideItems", "1. 2 .3.4", true, "1.2.3.4"},
        AddressCase{"MinusZero", "-0.1.2.3", true, "0.1.2.3"},
        AddressCase{"FiveItems", "192.168.1.1.5", false, "192.168.1.1.5"},
        AddressCase{"ThreeItems", " 192.168.1 ", false, "192.168.1"},
        AddressCase{"Empty", "", false, ""},
        AddressCase{"OnlyDots", "....", false, "...."},
        AddressCase{"TooLarge", "256.1.1.1", false, "256.1.1.1"},
        AddressCase{"Negative", "-1.1.1.1", false, "-1.1.1.1"},
        AddressCase{"HexWrapsNegative", "$FFFFFFFF.1.1.1", false, "$FFFFFFFF.1.1.1"},
        AddressCase{"LineBreakSplits", "1.2\n3.4", true, "1.2.3.4"},
        AddressCase{"QuotedDotsStayTogether", "'1.2'.3.4", false, "'1.2'.3.4"}),
    [](const auto &info) { return std::string(info.param.name); });

struct ConversionCase {
  const char *name;
  std::string input;
  std::string offendingItem;
};

class AddressConversionFailure : public testing::TestWithParam<ConversionCase> {};

TEST_P(AddressConversionFailure, RaisesWithTheTrimmedItemAndLeavesTheTrimmedText) {
  std::string text = " " + GetParam().input + " ";
  try {
    IsValidIpAddr(text);
    FAIL() << "no conversion failure";
  } catch (const ConversionError &error) {
    EXPECT_EQ(std::string(error.what()), "'" + GetParam().offendingItem + "' is not a valid integer value");
  }
  EXPECT_EQ(text, GetParam().input);
}

INSTANTIATE_TEST_SUITE_P(Table, AddressConversionFailure,
                         testing::Values(ConversionCase{"Letter", "192.168.1.a", "a"},
                                         ConversionCase{"TrimmedItem", "1.2. x .4", "x"},
                                         ConversionCase{"BeyondInt32", "1.2.3.2147483648", "2147483648"},
                                         ConversionCase{"SignOnly", "1.+.3.4", "+"},
                                         ConversionCase{"BareHexPrefix", "1.2.0x.4", "0x"},
                                         ConversionCase{"QuotedItem", "1.2.'3'.4", "'3'"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(AddressRule, ConvertsEveryItemBeforeJudgingTheRange) {
  std::string text = "999.1.1.z";
  EXPECT_THROW(IsValidIpAddr(text), ConversionError);
}

TEST(IntegerConversion, ReadsTheStandardForms) {
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(StrToInt("-$10"), -16);
  EXPECT_EQ(StrToInt("0x7fffffff"), 2147483647);
  EXPECT_THROW(StrToInt("$100000000"), ConversionError);
  EXPECT_THROW(StrToInt("-2147483649"), ConversionError);
  EXPECT_THROW(StrToInt(""), ConversionError);
  EXPECT_THROW(StrToInt("1 2"), ConversionError);
  EXPECT_THROW(StrToInt("$"), ConversionError);
  EXPECT_THROW(StrToInt("0x-1"), ConversionError);
}

struct SplitCase {
  const char *name;
  std::string text;
  char separator;
  std::vector<std::string> items;
};

class Splitting : public testing::TestWithParam<SplitCase> {};

TEST_P(Splitting, YieldsTheItems) { EXPECT_EQ(SplitItems(GetParam().text, GetParam().separator), GetParam().items); }

INSTANTIATE_TEST_SUITE_P(
    Table, Splitting,
    testing::Values(SplitCase{"Plain", "a,b,c", ',', {"a", "b", "c"}},
                    SplitCase{"EmptyItemsDropped", ",a,,b,", ',', {"a", "b"}},
                    SplitCase{"BlanksBelongToItems", " a ,\tb", ',', {" a ", "\tb"}},
                    SplitCase{"LineBreaksEndAndAreSkipped", "a\r\nb,c", ',', {"a", "b", "c"}},
                    SplitCase{"QuotesProtectSeparators", "'a,b',\"c,d\",e", ',', {"'a,b'", "\"c,d\"", "e"}},
                    SplitCase{"UnmatchedQuoteTakesTheRest", "a,'b,c,d", ',', {"a", "'b,c,d"}},
                    SplitCase{"OtherQuoteInsideQuote", "\"a'b\",c", ',', {"\"a'b\"", "c"}},
                    SplitCase{"ZeroEndsItem", std::string("ab\0cd,e", 7), ',', {"ab", "cd", "e"}},
                    SplitCase{"ZeroEndsQuotedItem", std::string("'ab\0cd',e", 9), ',', {"'ab", "cd',e"}},
                    SplitCase{"DotSeparator", "1.2..3", '.', {"1", "2", "3"}},
                    SplitCase{"Empty", "", ',', {}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Password, SixDigitsOnly) {
  EXPECT_TRUE(IsValidPassword("012345"));
  EXPECT_TRUE(IsValidPassword("999999"));
  EXPECT_FALSE(IsValidPassword("12345"));
  EXPECT_FALSE(IsValidPassword("1234567"));
  EXPECT_FALSE(IsValidPassword("12a456"));
  EXPECT_FALSE(IsValidPassword(" 12345"));
  EXPECT_FALSE(IsValidPassword(""));
  EXPECT_TRUE(IsValidPassword(std::string("123456\0x", 8)));  // measured up to the zero
  EXPECT_FALSE(IsValidPassword(std::string("123\0" "456", 7)));
}

TEST(Trimming, RemovesControlCharactersAndSpacesAtBothEnds) {
  EXPECT_EQ(TrimControl(std::string("\0\x01 a b\x1f\x20", 7)), "a b");
  EXPECT_EQ(TrimControl(" \t "), "");
  EXPECT_EQ(TrimControl("\x7f" "a"), "\x7f" "a");
}

}  // namespace
}  // namespace relay
