// The board's settings as two sets: what the board holds ("Dev", as last read
// or written) and what the caller wants written by the next save ("New").
#pragma once

#include <string>

namespace relay {

struct DeviceSideValues {
  std::string DevIpAddr;
  std::string DevSubMask;
  std::string DevGateway;
  std::string DevButtonCfg;  // eight mode digits, key 1 first, or "." for none
  bool DevRestoreState = false;
  bool DevEnableWeb = false;
  std::string DevDeviceId;  // 14 characters, or empty without remote control
  std::string DevDns;
  std::string DevWebServer;
  std::string DevPassword;
};

struct PendingValues {
  std::string NewIpAddr;
  std::string NewSubMask;
  std::string NewGateway;
  std::string NewButtonCfg;
  bool NewRestoreState = false;
  bool NewEnableWeb = false;
  std::string NewDns;
  std::string NewWebServer;
  std::string NewPassword;
};

}  // namespace relay
