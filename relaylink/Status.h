// Status codes of the library and their fixed messages.
#pragma once

namespace relay {

enum class Status : int {
  None = 0,
  ReadTimeout = 1001,
  WriteRefused = 1002,
  WriteTimeout = 1003,
  ConnectFailed = 1004,
  BadReply = 1005,
  NotReady = 1006,
  BadIpAddr = 2001,
  BadSubMask = 2002,
  BadGateway = 2003,
  BadDns = 2004,
  BadWebServer = 2005,
  BadPassword = 2006,
  SavedAndRestarted = 3001,
  Saved = 3002,
};

// The message that belongs to `status` ("" for None).
const char *StatusMessage(Status status);

}  // namespace relay
