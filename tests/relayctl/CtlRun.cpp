#include "CtlRun.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "SpawnProgram.h"

namespace relayctl::testing {

RunningCtl::RunningCtl(const std::vector<std::string> &arguments, const std::string &directory, int fileBlocks)
    : outPath_(TempPath("stdout")), errPath_(TempPath("stderr")) {
  std::vector<std::string> args = {RELAYCTL_PATH};
  if (fileBlocks >= 0) {
    args.insert(args.begin(), {"/bin/sh", "-c", "ulimit -f \"$0\" && exec \"$@\"", std::to_string(fileBlocks)});
  }
  args.insert(args.end(), arguments.begin(), arguments.end());
  const pid_t pid = relay::testing::SpawnProgram(args, outPath_, errPath_, directory);
  if (pid < 0) throw std::runtime_error("cannot start " + args[0]);
  pid_ = pid;
}

RunningCtl::~RunningCtl() {
  if (pid_ > 0) Finish();
}

void RunningCtl::Signal(int signal) const { kill(pid_, signal); }

CtlResult RunningCtl::Finish() {
  int wstatus = 0;
  while (waitpid(pid_, &wstatus, 0) < 0) {
  }
  pid_ = -1;
  CtlResult result;
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  result.out = ReadAll(outPath_);
  result.err = ReadAll(errPath_);
  std::remove(outPath_.c_str());
  std::remove(errPath_.c_str());
  return result;
}

CtlResult RunCtl(const std::vector<std::string> &arguments, const std::string &directory, int fileBlocks) {
  return RunningCtl(arguments, directory, fileBlocks).Finish();
}

TestFleet::TestFleet(const std::string &first, int count, const std::vector<std::string> &models,
                     const sim::SimOptions &options) {
  const auto plan = sim::PlanFleet(sim::BoardConfig{}, count, first, models);
  if (!plan) throw std::runtime_error("bad fleet plan from " + first);
  plan_ = *plan;
  if (!fleet_.Start(plan_, options)) throw std::runtime_error("cannot listen on every address from " + first);
}

SilentHost::SilentHost(const std::string &address) {
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(5111);
  addr.sin_addr.s_addr = inet_addr(address.c_str());
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  filler_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (bind(listener_, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 || listen(listener_, 0) != 0 ||
      connect(filler_, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
    close(filler_);
    close(listener_);
    throw std::runtime_error("cannot make a silent host on " + address);
  }
}

SilentHost::~SilentHost() {
  close(filler_);
  close(listener_);
}

std::string TempPath(const std::string &name) {
  static int counter = 0;
  const char *dir = std::getenv("TMPDIR");
  const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
  return std::string(dir ? dir : "/tmp") + "/relayctl-" + std::to_string(getpid()) + "-" +
         (test ? test->name() : "x") + "-" + std::to_string(++counter) + "-" + name;
}

std::string ReadAll(const std::string &path) {
  std::ifstream file(path);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

void WriteAll(const std::string &path, const std::string &text) { std::ofstream(path) << text; }

}  // namespace relayctl::testing
