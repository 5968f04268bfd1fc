#include "CtlRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace relayctl::testing {

CtlResult RunCtl(const std::vector<std::string> &arguments, const std::string &directory, const std::string &limits,
                 const std::string &standardOutput) {
  return RunningCtl(arguments, directory, limits, standardOutput).Finish();
}

TestFleet::TestFleet(const std::string &first, int count, const std::vector<std::string> &models,
                     const sim::SimOptions &options) {
  const auto plan = sim::PlanFleet(sim::BoardConfig{}, count, first, models);
  if (!plan) throw std::runtime_error("bad fleet plan from " + first);
  plan_ = *plan;
  if (!fleet_.Start(plan_, options)) throw std::runtime_error("cannot listen on every address from " + first);
}

std::string TempPath(const std::string &name) {
  static int counter = 0;
  static const std::string process = std::to_string(std::random_device{}());
  const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string testName = test ? test->name() : "x";
  std::replace(testName.begin(), testName.end(), '/', '-');  // rows of a table: Run/3
  return (std::filesystem::temp_directory_path() /
          ("relayctl-" + process + "-" + testName + "-" + std::to_string(++counter) + "-" + name))
      .string();
}

std::string ReadAll(const std::string &path) {
  std::ifstream file(path);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

// Binary: the text reaches the file byte for byte on Windows too (no CR added).
void WriteAll(const std::string &path, const std::string &text) { std::ofstream(path, std::ios::binary) << text; }

}  // namespace relayctl::testing
