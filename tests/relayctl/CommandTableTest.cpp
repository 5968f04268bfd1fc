// Each command once against a small fleet, as rows of steps: the same table
// checks the program built for Linux and, under Wine, the one built for
// Windows. Every row has the loopback block 127.7.N.0/24 of its own.
#include <gtest/gtest.h>

#include "CtlRun.h"

namespace relayctl::testing {
namespace {

// In arguments and expected texts, {0}..{3} stand for the boards' addresses,
// {nobody} for an address of the block where nothing listens, {block} for
// the first eight addresses of the block, {file} and {dir} for a file and a
// folder of the row's own, {input} for a file that holds the step's `input`.
struct Step {
  std::vector<std::string> arguments;
  int status;
  std::string out;         // text that standard output contains
  std::string err;         // text that standard error contains
  std::string input = {};  // written to {input} before the step
};

struct Row {
  const char *name;
  int boards;
  std::vector<Step> steps;
};

const Row kRows[] = {
    {"Show", 1, {{{"show", "{0}"}, 0, "{0}", ""}}},
    {"ShowJson", 1, {{{"show", "{0}", "--json"}, 0, "\"device_id\"", ""}}},
    {"Set",
     1,
     {{{"set", "{0}", "restore=on"}, 0, "", "Config was saved successfully"},
      {{"show", "{0}", "--json"}, 0, "\"restore\": true", ""}}},
    {"BackupRestore",
     1,
     {{{"backup", "{0}", "-o", "{file}"}, 0, "", ""},
      {{"set", "{0}", "key1=jog"}, 0, "", ""},
      {{"restore", "{0}", "{file}"}, 0, "", "Config was saved successfully"}}},
    {"BulkBackupRestore",
     2,
     {{{"backup", "--to", "{0}", "{1}", "--dir", "{dir}"}, 0, "", "2 of 2 boards backed up"},
      {{"set", "{1}", "restore=on"}, 0, "", ""},
      {{"restore", "--dir", "{dir}", "--to", "{0}", "{1}", "--parallel", "2"}, 0, "", "2 of 2 boards restored"}}},
    {"Scan", 3, {{{"scan", "{block}"}, 0, "{2}", "3 boards in 6 addresses"}}},
    {"ScanJson", 2, {{{"scan", "{block}", "--json", "--parallel", "2"}, 0, "\"{1}\"", "2 boards in 6 addresses"}}},
    {"ScanExclude",
     3,
     {{{"scan", "{block}", "--exclude", "{1}", "--exclude", "{3}-6", "--addresses"}, 0, "{2}", "2 boards in 2 addresses"},
      {{"scan", "{block}", "--exclude", "{1}/33"}, 64, "", "cannot read range"}}},
    {"ApplyParallel",
     4,
     {{{"backup", "{0}", "-o", "{file}"}, 0, "", ""},
      {{"apply", "{file}", "--to", "{1}", "{2}", "{3}", "--parallel", "3", "--verify", "--wait", "10"},
       0,
       "",
       "3 of 3 boards took"}}},
    {"ApplyMixedJson",
     2,
     {{{"backup", "{0}", "-o", "{file}"}, 0, "", ""},
      {{"apply", "{file}", "--to", "{1}", "{nobody}", "--json"}, 2, "\"exit_status\":2", "1 of 2 boards took"},
      // A plan's board that is not reached is a plan too: no restarted or verified.
      {{"apply", "{file}", "--to", "{nobody}", "--json", "--check"}, 2, "\"changes\":[]}", ""}}},
    {"Rejected", 1, {{{"set", "{0}", "remote=on", "password=12345"}, 1, "", ""}}},
    {"NotReached", 0, {{{"show", "{nobody}"}, 2, "", ""}}},
    {"Usage", 0, {{{"show"}, 64, "", ""}, {{"show", "board-7"}, 64, "", ""}, {{"frobnicate"}, 64, "", ""}}},
    {"Version", 0, {{{"--version"}, 0, "relayctl ", ""}}},
    {"SetFrom",
     1,
     {{{"set", "{0}", "restore=on", "--from", "{input}"}, 0, "", "Config was saved", "\r\nkey1=jog\r\n\nremote=off"},
      {{"show", "{0}", "--json"}, 0, "\"remote\": false", ""},
      {{"set", "{0}", "key1=keep", "--from", "{input}"}, 64, "", "'key1' repeats an earlier setting", "key1=jog\n"},
      {{"set", "{0}", "--from", "{input}"}, 64, "", "{input}: line 2: expected NAME=VALUE", "restore=on\n654321\n"},
      {{"set", "{0}", "--from", "{dir}"}, 64, "", "cannot read {dir}", ""},
      {{"set", "{0}", "--from", "{input}"}, 0, "", "Config was saved", "\xef\xbb\xbfrestore=off\n"},
      {{"set", "{0}", "--from", "{input}"}, 64, "", "{input}: line 2: holds a CR", "restore=on\nserver=\r"},
      {{"set", "{0}", "--from", "{input}"}, 64, "", "{input}: line 3: cannot set 'key9'", "restore=on\n\nkey9=jog\n"},
      {{"set", "{0}", "--from", "{input}"}, 64, "", "{input}: line 1: cannot set password: the value holds a NUL",
       std::string("password=246802\0" "999\n", 18)}}},
};

class CommandTable : public ::testing::TestWithParam<int> {};

TEST_P(CommandTable, Run) {
  const Row &row = kRows[GetParam()];
  const std::string block = "127.7." + std::to_string(GetParam() + 1) + ".";
  const TestFleet fleet(block + "1", std::max(row.boards, 1), {"remote"});
  const std::string file = TempPath("backup.json"), dir = TempPath("dir"), input = TempPath("input");
  const auto expand = [&](std::string text) {
    const std::pair<std::string, std::string> names[] = {
        {"{nobody}", block + "200"}, {"{block}", block + "0/29"}, {"{file}", file}, {"{dir}", dir}, {"{input}", input},
        {"{0}", block + "1"},        {"{1}", block + "2"},        {"{2}", block + "3"}, {"{3}", block + "4"}};
    for (const auto &[name, value] : names) {
      for (std::size_t at; (at = text.find(name)) != std::string::npos;) text.replace(at, name.size(), value);
    }
    return text;
  };
  for (const Step &step : row.steps) {
    std::vector<std::string> arguments;
    std::string line;
    for (const std::string &argument : step.arguments) {
      arguments.push_back(expand(argument));
      line += arguments.back() + " ";
    }
    WriteAll(input, step.input);
    const CtlResult result = RunCtl(arguments);
    EXPECT_EQ(result.status, step.status) << line << "\n" << result.err;
    EXPECT_NE(result.out.find(expand(step.out)), std::string::npos) << line << "\n" << result.out;
    EXPECT_NE(result.err.find(expand(step.err)), std::string::npos) << line << "\n" << result.err;
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, CommandTable, ::testing::Range(0, static_cast<int>(std::size(kRows))),
                         [](const ::testing::TestParamInfo<int> &info) { return kRows[info.param].name; });

}  // namespace
}  // namespace relayctl::testing
