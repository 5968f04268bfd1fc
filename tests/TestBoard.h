// A stand-in board on its own loopback address for one test, and small
// helpers for reading the library's texts.
#pragma once

#include <string>

#include "RelaySim.h"
#include "relaylink.h"

namespace relay::testing {

// A board with key modes and remote control whose own IP address is the
// loopback address it listens on.
sim::BoardConfig RemoteBoard();
// A board that answers with the five basic items, with or without key modes.
sim::BoardConfig BasicBoard(bool withKeys);

class TestBoard {
 public:
  explicit TestBoard(sim::BoardConfig config = RemoteBoard(), sim::SimOptions options = {});
  const std::string &address() const { return address_; }
  sim::RelaySim &sim() { return sim_; }
  // The frames received, each with the tag replaced by "<tag>" after checking
  // that every frame carried `tag`.
  std::vector<std::string> FramesWithTag(int tag);
  // Whether the board has accepted `count` connections within a second (the
  // board accepts on its own thread, possibly after the client has finished).
  bool ReachesConnections(int count);

 private:
  sim::RelaySim sim_;
  std::string address_;
};

// An address on which nothing listens (connections are refused at once).
std::string UnusedLoopbackAddress();

// Text getters of the library through their exports.
using TextGetter = short(RELAYLINK_CALL *)(char *, unsigned short);
using TextSetter = short(RELAYLINK_CALL *)(const char *);

struct NamedGetter {
  const char *name;
  TextGetter getter;
};

// Every text getter that needs a successful read.
inline const NamedGetter kTextGetters[] = {
    {"GetVersion", GetVersion}, {"GetIpAddr", GetIpAddr},     {"GetSubMask", GetSubMask},
    {"GetGateway", GetGateway}, {"GetDeviceId", GetDeviceId}, {"GetDns", GetDns},
    {"GetWebServer", GetWebServer}, {"GetPassword", GetPassword},
};

std::string TextOf(TextGetter getter);
std::string ErrorMessage();

}  // namespace relay::testing
