#include "ReplyAdoption.h"

namespace relay {

void AdoptReply(const DeviceSideValues &dev, const std::string &versionItem, ReplyFindings &found,
                PendingValues &pending) {
  found.WebCapable = !dev.DevDeviceId.empty();
  found.ButtonCapable = dev.DevButtonCfg != ".";
  found.MiscCapable = true;
  // The version belongs to the board that reported it: a reply without the
  // item (5 or 9 items) leaves none, rather than an earlier board's.
  found.FirmwareVersion = versionItem.empty() ? std::string() : "1.0." + versionItem;

  pending.NewIpAddr = dev.DevIpAddr;
  pending.NewSubMask = dev.DevSubMask;
  pending.NewGateway = dev.DevGateway;
  if (found.WebCapable) {
    pending.NewDns = dev.DevDns;
    pending.NewWebServer = dev.DevWebServer;
    pending.NewPassword = dev.DevPassword;
    pending.NewEnableWeb = dev.DevEnableWeb;
  }
  if (found.ButtonCapable) pending.NewButtonCfg = dev.DevButtonCfg;
  pending.NewRestoreState = dev.DevRestoreState;
}

}  // namespace relay
