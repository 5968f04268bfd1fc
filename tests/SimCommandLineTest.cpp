// The relaysim program run as a user would: bad command lines are usage
// errors, and SIGINT and SIGTERM stop it in every mode. Its boards listen in
// 127.4.0.0/16.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include "DeviceCfgState.h"
#include "Socket.h"
#include "SpawnProgram.h"

namespace relay::testing {
namespace {

pid_t StartSim(const std::vector<std::string> &arguments) {
  std::vector<std::string> args = {RELAYSIM_PATH};
  args.insert(args.end(), arguments.begin(), arguments.end());
  return SpawnProgram(args, "/dev/null", "/dev/null");
}

// The exit status once the program has ended, or -1 when it did not exit
// normally within `bound` (it is killed then).
int ExitStatus(pid_t pid, std::chrono::milliseconds bound = std::chrono::milliseconds(10000)) {
  const auto end = std::chrono::steady_clock::now() + bound;
  int wstatus = 0;
  while (waitpid(pid, &wstatus, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > end) {
      kill(pid, SIGKILL);
      waitpid(pid, &wstatus, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
}

TEST(SimCommandLine, BadInputIsAUsageError) {
  const std::vector<std::vector<std::string>> rows = {
      {"--address", "127.4.0.300"},    {"--address", "10.0.0.1"},  {"--address", "0x7f.4.0.1"},
      {"--address", "127.4.0"},        {"--fleet", "0"},           {"--fleet", "-1"},
      {"--fleet", "4097"},             {"--fleet", "2", "--first", "127.255.255.255"},
      {"--fleet", "1", "--models", "fancy"},
      {"keys=123"},                    {"keys=12341234"},          {"password=abc"},
      {"password=1234567"},            {"id=short"},               {"ip=127.4.0"},
      {"gateway=1.2.3.256"},           {"dns=x"},                  {"model=fancy"},
      {"--refuse", "Z"},               {"--port", "0"},            {"--delay", "-5"},
      {"--config", "/nonexistent"},    {"--config", "/dev/zero"},  {"--unknown"},
  };
  for (const auto &row : rows) {
    std::string line;
    for (const std::string &arg : row) line += arg + " ";
    const pid_t pid = StartSim(row);
    ASSERT_GT(pid, 0);
    EXPECT_EQ(ExitStatus(pid), 64) << line;
  }
}

// Waits, within a bound, until a board answers a read at `address`.
bool Answers(const std::string &address) {
  for (int attempt = 0; attempt < 200; ++attempt) {
    DeviceCfgState state;
    if (ReadDevice(state, address.c_str())) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return false;
}

TEST(SimCommandLine, SignalsStopEveryMode) {
  struct Row {
    const char *mode;
    std::vector<std::string> arguments;
    const char *address;
    bool restartFirst;  // signalled while silent after a restart
    int signal;
  };
  const Row rows[] = {
      {"one board", {"--address", "127.4.1.1"}, "127.4.1.1", false, SIGTERM},
      {"fleet", {"--fleet", "300", "--first", "127.4.2.1"}, "127.4.3.44", false, SIGINT},
      {"restart silence", {"--address", "127.4.4.1", "--restart-silence", "60000"}, "127.4.4.1", true, SIGTERM},
  };
  for (const Row &row : rows) {
    const pid_t pid = StartSim(row.arguments);
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(Answers(row.address)) << row.mode;
    if (row.restartFirst) {
      DeviceCfgState state;
      ASSERT_TRUE(ReadDevice(state, row.address));
      state.NewRestoreState = !state.DevRestoreState;
      ASSERT_TRUE(SaveDevice(state));  // the board restarts and stays silent for a minute
    }
    kill(pid, row.signal);
    EXPECT_EQ(ExitStatus(pid), 0) << row.mode;
  }
}

TEST(SimCommandLine, BoardWithoutIpSettingKeepsItsAddressAcrossARestart) {
  const pid_t pid = StartSim({"--address", "127.4.5.1", "model=remote"});
  ASSERT_GT(pid, 0);
  ASSERT_TRUE(Answers("127.4.5.1"));
  DeviceCfgState state;
  ASSERT_TRUE(ReadDevice(state, "127.4.5.1"));
  EXPECT_EQ(state.DevIpAddr, "127.4.5.1");
  state.NewRestoreState = !state.DevRestoreState;
  ASSERT_TRUE(SaveDevice(state));
  EXPECT_TRUE(Answers("127.4.5.1"));
  kill(pid, SIGTERM);
  EXPECT_EQ(ExitStatus(pid), 0);
}

}  // namespace
}  // namespace relay::testing
