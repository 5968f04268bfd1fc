#include "SavePlan.h"

namespace relay {
namespace {

enum class Needs { Nothing, Keys, RemoteControl, RemoteControlOn };

// One row of the save: the command, the value pair it compares (texts or
// switches) and what the board must have for it.
struct SaveRow {
  Command command;
  std::string DeviceSideValues::*deviceText;
  std::string PendingValues::*pendingText;
  bool DeviceSideValues::*deviceFlag;
  bool PendingValues::*pendingFlag;
  Needs needs;
};

using D = DeviceSideValues;
using P = PendingValues;

constexpr SaveRow kRows[] = {
    {Command::SetIpAddr, &D::DevIpAddr, &P::NewIpAddr, nullptr, nullptr, Needs::Nothing},
    {Command::SetSubMask, &D::DevSubMask, &P::NewSubMask, nullptr, nullptr, Needs::Nothing},
    {Command::SetGateway, &D::DevGateway, &P::NewGateway, nullptr, nullptr, Needs::Nothing},
    {Command::SetButtonCfg, &D::DevButtonCfg, &P::NewButtonCfg, nullptr, nullptr, Needs::Keys},
    {Command::SetRestoreState, nullptr, nullptr, &D::DevRestoreState, &P::NewRestoreState, Needs::Nothing},
    {Command::SetEnableWeb, nullptr, nullptr, &D::DevEnableWeb, &P::NewEnableWeb, Needs::RemoteControl},
    {Command::SetDns, &D::DevDns, &P::NewDns, nullptr, nullptr, Needs::RemoteControlOn},
    {Command::SetWebServer, &D::DevWebServer, &P::NewWebServer, nullptr, nullptr, Needs::RemoteControlOn},
    {Command::SetPassword, &D::DevPassword, &P::NewPassword, nullptr, nullptr, Needs::RemoteControlOn},
};

const char *FlagText(bool flag) { return flag ? "1" : "0"; }

}  // namespace

std::vector<PlannedWrite> PlanWrites(const DeviceSideValues &device, const PendingValues &pending, bool webCapable,
                                     bool buttonCapable) {
  // The switch as it stands once its own row has run: the pending one.
  const bool remoteOn = webCapable && pending.NewEnableWeb;
  std::vector<PlannedWrite> writes;
  for (const SaveRow &row : kRows) {
    if ((row.needs == Needs::Keys && !buttonCapable) || (row.needs == Needs::RemoteControl && !webCapable) ||
        (row.needs == Needs::RemoteControlOn && !remoteOn)) {
      continue;
    }
    if (row.deviceText && device.*row.deviceText != pending.*row.pendingText) {
      writes.push_back({row.command, pending.*row.pendingText});
    } else if (row.deviceFlag && device.*row.deviceFlag != pending.*row.pendingFlag) {
      writes.push_back({row.command, FlagText(pending.*row.pendingFlag)});
    }
  }
  return writes;
}

void RecordWrite(DeviceSideValues &device, const PlannedWrite &write) {
  for (const SaveRow &row : kRows) {
    if (row.command != write.command) continue;
    if (row.deviceText) {
      device.*row.deviceText = write.value;
    } else {
      device.*row.deviceFlag = write.value == FlagText(true);
    }
  }
}

}  // namespace relay
