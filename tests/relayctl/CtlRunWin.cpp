// relayctl.exe started as a Windows program, with its output into files.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <stdexcept>

#include "CtlRun.h"

namespace relayctl::testing {
namespace {

HANDLE OpenForChild(const std::string &path, bool write) {
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  return CreateFileA(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     &inheritable, write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The arguments are plain words, paths and addresses: quoting each is enough.
std::string CommandLine(const std::vector<std::string> &arguments) {
  std::string line = "\"" RELAYCTL_PATH "\"";
  for (const std::string &argument : arguments) line += " \"" + argument + "\"";
  return line;
}

}  // namespace

RunningCtl::RunningCtl(const std::vector<std::string> &arguments, const std::string &directory,
                       const std::string &, const std::string &standardOutput)
    : outPath_(TempPath("stdout")), errPath_(TempPath("stderr")) {
  const HANDLE input = OpenForChild("NUL", false);
  const HANDLE out = OpenForChild(standardOutput.empty() ? outPath_ : standardOutput, true);
  const HANDLE err = OpenForChild(errPath_, true);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION started{};
  std::string line = CommandLine(arguments);
  const bool made = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                   directory.empty() ? nullptr : directory.c_str(), &startup, &started);
  CloseHandle(input);
  CloseHandle(out);
  CloseHandle(err);
  if (!made) throw std::runtime_error("cannot start " + line);
  CloseHandle(started.hThread);
  process_ = reinterpret_cast<std::intptr_t>(started.hProcess);
}

RunningCtl::~RunningCtl() {
  if (process_ != 0) Finish();
}

CtlResult RunningCtl::Finish() {
  const HANDLE process = reinterpret_cast<HANDLE>(process_);
  WaitForSingleObject(process, INFINITE);
  DWORD code = 0;
  CtlResult result;
  result.status = GetExitCodeProcess(process, &code) ? static_cast<int>(code) : -1;
  CloseHandle(process);
  process_ = 0;
  result.out = ReadAll(outPath_);
  result.err = ReadAll(errPath_);
  std::remove(outPath_.c_str());
  std::remove(errPath_.c_str());
  return result;
}

}  // namespace relayctl::testing
