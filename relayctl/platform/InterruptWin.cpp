#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/Interrupt.h"

namespace relayctl {
namespace {

// Runs on a thread of its own that Windows starts for each console event.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
  const ExitStatus stopStatus = event == CTRL_C_EVENT ? kExitInterrupted : kExitTerminated;
  if (InterruptedStatus(kExitDone) == stopStatus) ExitProcess(stopStatus);  // the second of its kind
  RequestStop(stopStatus);
  return TRUE;
}

}  // namespace

void CatchInterrupts() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

}  // namespace relayctl
