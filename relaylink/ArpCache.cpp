#include "ArpCache.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace relay {

#ifdef _WIN32
// The tool runs detached: without a console, a window or any of our handles,
// so that nothing it starts (Wine's console host and desktop) outlives it
// holding this process's output.
void FlushArpCache() {
  char commandLine[] = "arp.exe -d *";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr, &startup,
                      &process)) {
    return;  // the read goes on without it
  }
  CloseHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hProcess);
}
#else
// Elsewhere clearing the cache needs root and the kernel re-resolves stale
// entries by itself, so there is nothing to do.
void FlushArpCache() {}
#endif

}  // namespace relay
