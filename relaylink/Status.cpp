#include "Status.h"

namespace relay {

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
      return "Wrong IP address.";
    case Status::BadSubMask:
      return "Subnet mask is wrong.";
    case Status::BadGateway:
      return "Gateway is wrong.";
    case Status::BadDns:
      return "DNS is wrong.";
    case Status::BadWebServer:
      return "Please enter the server for remote control.";
    case Status::BadPassword:
      return "Password should be 6 digits.";
    case Status::SavedAndRestarted:
      return "Config was saved successfully, and device was restarted.";
    case Status::Saved:
      return "Config was saved successfully.";
  }
  return "";
}

}  // namespace relay
