#include "Status.h"

#include "BoardSettings.h"
#include "relaylink.h"

namespace relay {

// The internal codes are the public ones.
static_assert(static_cast<int>(Status::ReadTimeout) == RELAYLINK_READ_TIMEOUT);
static_assert(static_cast<int>(Status::WriteRefused) == RELAYLINK_WRITE_REFUSED);
static_assert(static_cast<int>(Status::WriteTimeout) == RELAYLINK_WRITE_TIMEOUT);
static_assert(static_cast<int>(Status::ConnectFailed) == RELAYLINK_CONNECT_FAILED);
static_assert(static_cast<int>(Status::BadReply) == RELAYLINK_BAD_REPLY);
static_assert(static_cast<int>(Status::NotReady) == RELAYLINK_NOT_READY);
static_assert(static_cast<int>(Status::BadIpAddr) == RELAYLINK_BAD_IP_ADDR);
static_assert(static_cast<int>(Status::BadSubMask) == RELAYLINK_BAD_SUB_MASK);
static_assert(static_cast<int>(Status::BadGateway) == RELAYLINK_BAD_GATEWAY);
static_assert(static_cast<int>(Status::BadDns) == RELAYLINK_BAD_DNS);
static_assert(static_cast<int>(Status::BadWebServer) == RELAYLINK_BAD_WEB_SERVER);
static_assert(static_cast<int>(Status::BadPassword) == RELAYLINK_BAD_PASSWORD);
static_assert(static_cast<int>(Status::SavedAndRestarted) == RELAYLINK_SAVED_AND_RESTARTED);
static_assert(static_cast<int>(Status::Saved) == RELAYLINK_SAVED);

const char *StatusMessage(Status status) {
  switch (status) {
    case Status::None:
      return "";
    case Status::ReadTimeout:
    case Status::WriteTimeout:
      return "Communication time out.";
    case Status::WriteRefused:
      return "Operation failed.";
    case Status::ConnectFailed:
    case Status::NotReady:
      return "Can not connect to the device.";
    case Status::BadReply:
      return "Can not read device configurations. Please check if an updated version of this software is available.";
    case Status::BadIpAddr:
    case Status::BadSubMask:
    case Status::BadGateway:
    case Status::BadDns:
    case Status::BadWebServer:
    case Status::BadPassword:
      for (const SettingFacts &setting : kSettings) {
        if (setting.code == static_cast<int>(status)) return setting.message;
      }
      return "";
    case Status::SavedAndRestarted:
      return "Config was saved successfully, and device was restarted.";
    case Status::Saved:
      return "Config was saved successfully.";
  }
  return "";
}

}  // namespace relay
