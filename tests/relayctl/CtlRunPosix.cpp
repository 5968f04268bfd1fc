#include "CtlRun.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdio>
#include <stdexcept>

#include "SpawnProgram.h"

namespace relayctl::testing {

RunningCtl::RunningCtl(const std::vector<std::string> &arguments, const std::string &directory,
                       const std::string &limits, const std::string &standardOutput)
    : outPath_(TempPath("stdout")), errPath_(TempPath("stderr")) {
  std::vector<std::string> args = {RELAYCTL_PATH};
  if (!limits.empty()) args.insert(args.begin(), {"/bin/sh", "-c", "ulimit " + limits + " && exec \"$@\"", "sh"});
  args.insert(args.end(), arguments.begin(), arguments.end());
  const pid_t pid =
      relay::testing::SpawnProgram(args, standardOutput.empty() ? outPath_ : standardOutput, errPath_, directory);
  if (pid < 0) throw std::runtime_error("cannot start " + args[0]);
  process_ = pid;
}

RunningCtl::~RunningCtl() {
  if (process_ != 0) Finish();
}

void RunningCtl::Signal(int signal) const { kill(-static_cast<pid_t>(process_), signal); }

CtlResult RunningCtl::Finish() {
  int wstatus = 0;
  while (waitpid(static_cast<pid_t>(process_), &wstatus, 0) < 0) {
  }
  process_ = 0;
  CtlResult result;
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  result.out = ReadAll(outPath_);
  result.err = ReadAll(errPath_);
  std::remove(outPath_.c_str());
  std::remove(errPath_.c_str());
  return result;
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

}  // namespace relayctl::testing
