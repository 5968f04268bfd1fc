// The address, password, server, splitting, trimming and integer-conversion
// rules, on the shared cases and on what only C++ texts can hold.
#include <gtest/gtest.h>

#include "DeviceCfgState.h"
#include "IntConversion.h"
#include "RuleCases.h"
#include "TextItems.h"
#include "ValueRules.h"

namespace relay {
namespace {

using testing::BoardBytes;
using testing::RuleCases;

// Pending values a save takes, remote control on.
PendingValues Passing() {
  return {"127.0.0.1", "255.0.0.0", "127.0.0.254", "12312312", false, true, "127.0.0.53", "relay.example", "123456"};
}

// The save's check of an address, on the IP address: an item that is no
// number is a plain rejection.
TEST(AddressRule, AcceptsAndRewritesTheSharedCases) {
  for (const auto &row : RuleCases("rules", "addresses")) {
    PendingValues pending = Passing();
    pending.NewIpAddr = BoardBytes(row[0]);
    const bool refused = row[1].is_null();
    const std::optional<Status> verdict = refused ? std::optional(Status::BadIpAddr) : std::nullopt;
    EXPECT_EQ(RejectedPendingValue(pending, true), verdict) << row;
    EXPECT_EQ(pending.NewIpAddr, refused ? TrimControl(BoardBytes(row[0])) : row[1].get<std::string>()) << row;
  }
}

struct ConversionCase {
  const char *name;
  std::string input;
  std::string offendingItem;
};

class AddressConversionFailure : public ::testing::TestWithParam<ConversionCase> {};

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
                         ::testing::Values(ConversionCase{"Letter", "192.168.1.a", "a"},
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
  for (const auto &row : RuleCases("rules", "integers")) {
    SCOPED_TRACE(row[0].get<std::string>());
    if (row[1].is_null()) {
      EXPECT_THROW(StrToInt(row[0].get<std::string>()), ConversionError);
    } else {
      EXPECT_EQ(StrToInt(row[0].get<std::string>()), row[1].get<std::int32_t>());
    }
  }
}

TEST(Splitting, YieldsTheItems) {
  for (const auto &row : RuleCases("rules", "items")) {
    const auto items = row[2].get<std::vector<std::string>>();
    EXPECT_EQ(SplitItems(BoardBytes(row[0]), row[1].get<std::string>()[0]), items) << row;
  }
  EXPECT_EQ(SplitItems(std::string("ab\0cd,e", 7), ','), (std::vector<std::string>{"ab", "cd", "e"}));
  EXPECT_EQ(SplitItems(std::string("'ab\0cd',e", 9), ','), (std::vector<std::string>{"'ab", "cd',e"}));
}

TEST(Password, SixDigitsOnly) {
  for (const auto &row : RuleCases("rules", "passwords")) EXPECT_EQ(IsValidPassword(BoardBytes(row[0])), row[1]) << row;
  EXPECT_TRUE(IsValidPassword(std::string("123456\0x", 8)));  // measured up to the zero
  EXPECT_FALSE(IsValidPassword(std::string("123\0" "456", 7)));
}

TEST(ServerName, IsWrittenOnlyWhenNothingEndsTheFrameOrSplitsTheReply) {
  for (const auto &row : RuleCases("rules", "servers")) {
    PendingValues pending = Passing();
    pending.NewWebServer = BoardBytes(row[0]);
    const std::optional<Status> verdict = row[1] ? std::nullopt : std::optional(Status::BadWebServer);
    EXPECT_EQ(RejectedPendingValue(pending, true), verdict) << row;
  }
}

TEST(Trimming, RemovesControlCharactersAndSpacesAtBothEnds) {
  for (const auto &row : RuleCases("rules", "trimmed")) EXPECT_EQ(TrimControl(BoardBytes(row[0])), row[1]) << row;
}

}  // namespace
}  // namespace relay
