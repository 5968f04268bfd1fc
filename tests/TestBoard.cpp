#include "TestBoard.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "relaylink.h"

namespace relay::testing {

sim::BoardConfig RemoteBoard() {
  sim::BoardConfig config;
  config.model = sim::Model::RemoteControl;
  config.buttonCfg = "12312312";
  config.version = "42";
  config.deviceId = "RB0000000000AB";
  config.password = "654321";
  config.dns = "127.0.0.53";
  config.webServer = "relay.example.net";
  config.enableWeb = true;
  config.restoreState = false;
  return config;
}

sim::BoardConfig BasicBoard(bool withKeys) {
  sim::BoardConfig config = RemoteBoard();
  config.model = sim::Model::Basic;
  if (!withKeys) config.buttonCfg.clear();
  return config;
}

TestBoard::TestBoard(sim::BoardConfig config, sim::SimOptions options) : sim_(config, options) {
  address_ = sim_.StartOnFreeLoopback();
  if (address_.empty()) throw std::runtime_error("no free loopback address for the stand-in board");
  config.ipAddr = address_;
  sim_.SetConfig(config);
}

std::vector<std::string> TestBoard::FramesWithTag(int tag) {
  std::vector<std::string> frames = sim_.Frames();
  const std::string tagText = std::to_string(tag);
  for (std::string &frame : frames) {
    EXPECT_EQ(frame.substr(2, tagText.size()), tagText) << frame;
    if (frame.size() > 2 + tagText.size()) frame.replace(2, tagText.size(), "<tag>");
  }
  return frames;
}

bool TestBoard::ReachesConnections(int count) {
  for (int waited = 0; sim_.Connections() < count && waited < 1000; waited += 10) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return sim_.Connections() == count;
}

std::string UnusedLoopbackAddress() {
  std::random_device seed;
  std::mt19937 pick(seed());
  // 127.251..254.x.y is never handed out to stand-in boards.
  return "127." + std::to_string(std::uniform_int_distribution(251, 254)(pick)) + "." +
         std::to_string(std::uniform_int_distribution(0, 255)(pick)) + "." +
         std::to_string(std::uniform_int_distribution(1, 254)(pick));
}

std::string TextOf(TextGetter getter) {
  char buffer[101] = {};
  if (getter(buffer, 100) != 1) return "<refused>";
  return buffer;
}

std::string ErrorMessage() {
  char buffer[201] = {};
  return GetErrorMsg(buffer, 200);
}

}  // namespace relay::testing
