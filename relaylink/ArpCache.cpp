#include "ArpCache.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <shellapi.h>
#endif

namespace relay {

#ifdef _WIN32
void FlushArpCache() {
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;  // no error box when the tool is missing
  info.lpFile = "arp.exe";
  info.lpParameters = "-d *";
  info.lpDirectory = "";
  info.nShow = SW_HIDE;
  if (!ShellExecuteExA(&info) || info.hProcess == nullptr) return;  // the read goes on without it
  WaitForSingleObject(info.hProcess, INFINITE);
  CloseHandle(info.hProcess);
}
#else
// Elsewhere clearing the cache needs root and the kernel re-resolves stale
// entries by itself, so there is nothing to do.
void FlushArpCache() {}
#endif

}  // namespace relay
