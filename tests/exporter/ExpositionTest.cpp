// The exposition text: label values from any bytes, the allowed targets and
// the probe's time, as tables; promtool accepts what the table gives.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "Exposition.h"
#include "Targets.h"

namespace relay_exporter {
namespace {

struct LabelRow {
  const char *name;
  std::string bytes;
  std::string exposition;
};

const LabelRow kLabelRows[] = {
    {"plain", "RB0000000000AB", "RB0000000000AB"},
    {"empty", "", ""},
    {"double quote", "a\"b", "a\\\"b"},
    {"backslash", "a\\b", "a\\\\b"},
    {"backslash before n", "\\n", "\\\\n"},
    {"line feed", "a\nb", "a\\nb"},
    {"carriage return and tab as they are", "a\r\tb", "a\r\tb"},
    {"byte 0xff, no UTF-8", "\xff", "\xc3\xbf"},
    {"lone continuation byte", "\x80", "\xc2\x80"},
    {"UTF-8 of e-acute taken byte by byte", "\xc3\xa9", "\xc3\x83\xc2\xa9"},
    {"cut UTF-8 sequence at the end", "a\xe2\x82", "a\xc3\xa2\xc2\x82"},
    {"braces, equals, comma, hash", "}{=,#", "}{=,#"},
    {"everything at once", "\"\\\n\xff", "\\\"\\\\\\n\xc3\xbf"},
};

TEST(LabelValueTest, EscapesEachRow) {
  for (const LabelRow &row : kLabelRows) EXPECT_EQ(LabelValue(row.bytes), row.exposition) << row.name;
}

TEST(LabelValueTest, PromtoolAcceptsEveryRow) {
#ifndef PROMTOOL
  GTEST_SKIP() << "promtool not found at configure time";
#else
  std::string text = Family("relay_test_label", "gauge", "One series per row of the label table");
  int row = 0;
  for (const LabelRow &each : kLabelRows) {
    text += Sample("relay_test_label", {{"row", std::to_string(row++)}, {"value", each.bytes}}, 1);
  }
  const std::string path = testing::TempDir() + "relay_label_rows.prom";
  std::ofstream(path, std::ios::binary) << text;
  const std::string command = std::string(PROMTOOL) + " check metrics < " + path + " 2>&1";
  FILE *pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string report;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) report += buffer;
  EXPECT_EQ(pclose(pipe), 0) << report;
#endif
}

TEST(SampleTest, Forms) {
  EXPECT_EQ(Sample("relay_board_up", {}, 1), "relay_board_up 1\n");
  EXPECT_EQ(Sample("relay_board_key_mode", {{"key", "8"}}, 3), "relay_board_key_mode{key=\"8\"} 3\n");
  EXPECT_EQ(Sample("x", {{"a", "1"}, {"b", "\""}}, 0.25), "x{a=\"1\",b=\"\\\"\"} 0.25\n");
}

struct TargetRow {
  const char *target;
  const char *allow;
  bool allowed;
};

TEST(TargetTest, AllowedOrRefused) {
  const TargetRow rows[] = {
      {"192.168.1.100", kDefaultAllow, true},
      {"10.255.255.255", kDefaultAllow, true},
      {"172.16.0.1", kDefaultAllow, true},
      {"172.31.255.254", kDefaultAllow, true},
      {"172.32.0.1", kDefaultAllow, false},
      {"172.15.255.255", kDefaultAllow, false},
      {"11.0.0.1", kDefaultAllow, false},
      {"127.0.0.1", kDefaultAllow, false},
      {"127.31.4.5", "127.31.0.0/16", true},
      {"127.32.0.0", "127.31.0.0/16", false},
      {"8.8.8.8", "0.0.0.0/0", true},
      {"10.0.0.1", "10.0.0.1/32", true},
      {"10.0.0.2", "10.0.0.1/32", false},
      // Malformed: only the normal dotted quad names a target.
      {"", kDefaultAllow, false},
      {"10.0.0", kDefaultAllow, false},
      {"10.0.0.1.2", kDefaultAllow, false},
      {"010.0.0.1", kDefaultAllow, false},
      {" 10.0.0.1", kDefaultAllow, false},
      {"10.0.0.1:5111", kDefaultAllow, false},
      {"10.0.0.256", kDefaultAllow, false},
      {"board.example", kDefaultAllow, false},
      {"::1", kDefaultAllow, false},
  };
  for (const TargetRow &row : rows) {
    std::string error;
    const auto blocks = ParseAllowList(row.allow, error);
    ASSERT_TRUE(blocks) << row.allow << ": " << error;
    const std::optional<std::string> target = AllowedTarget(row.target, *blocks, row.allow, error);
    EXPECT_EQ(target.has_value(), row.allowed) << row.target << " in " << row.allow;
    if (!target) {
      EXPECT_FALSE(error.empty());
    }
  }
}

TEST(TargetTest, AllowListsRefused) {
  for (const char *text : {"", "10.0.0.0", "10.0.0.0/33", "10.0.0.1/8", "10.0.0.0/8,", "10.0.0.0/-1", "10.0.0.0/8x",
                           "x/8", "10.0.0.0/8 ,192.168.0.0/16"}) {
    std::string error;
    EXPECT_FALSE(ParseAllowList(text, error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

TEST(ProbeTimeoutTest, FromTheScrapeTimeout) {
  const std::pair<const char *, int> rows[] = {
      {"", kDefaultProbeMs}, {"10", 9500},   {"1.5", 1000},   {"0.5", kShortestProbeMs},
      {"0", kShortestProbeMs}, {"-3", kShortestProbeMs}, {"x", kDefaultProbeMs}, {"2s", kDefaultProbeMs},
      {"nan", kDefaultProbeMs},
  };
  for (const auto &[header, ms] : rows) EXPECT_EQ(ProbeTimeoutMs(header), ms) << header;
}

}  // namespace
}  // namespace relay_exporter
