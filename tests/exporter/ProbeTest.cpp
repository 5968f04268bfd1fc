// relay_exporter, the program, against stand-in boards: each test starts its
// own exporter on its first board's loopback address (port 10511) and asks
// it over HTTP as Prometheus does.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "SpawnProgram.h"
#include "TestBoard.h"

namespace {

using relay::testing::TestBoard;

constexpr int kPort = 10511;

// The desired state of the module "office": remote control on, key 1 jog,
// the rest follow, restore on.
constexpr char kDesired[] = R"({"format": "relayctl-backup", "format_version": 1,
  "capabilities": {"remote_control": true, "keys": true},
  "settings": {"keys": "32222222", "restore": true, "remote": true}})";

class Exporter {
 public:
  // Listens on `host`:kPort, probes may reach 127.0.0.0/8.
  explicit Exporter(const std::string &host) : client_(host, kPort) {
    const std::string dir = testing::TempDir() + "relay_exporter_" + host;
    std::filesystem::create_directories(dir);
    std::ofstream(dir + "/office.json") << kDesired;
    std::ofstream(dir + "/config.json") << R"({"modules": {"office": {"desired_state": ")" + dir +
                                               R"(/office.json"}, "plain": {}}})";
    pid_ = relay::testing::SpawnProgram({RELAY_EXPORTER_PATH, "--web.listen-address", host + ":" + std::to_string(kPort),
                                         "--allow", "127.0.0.0/8", "--config.file", dir + "/config.json"},
                                        dir + "/out.txt", dir + "/err.txt");
    for (int tries = 0; tries < 1000 && !client_.Get("/"); ++tries) {  // up to 10 s on a busy machine
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  ~Exporter() {
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the exporter did not end cleanly on SIGTERM";
  }

  // The answer to /probe?QUERY, with the scrape timeout header when given.
  httplib::Result Probe(const std::string &query, const std::string &timeout = "") {
    httplib::Headers headers;
    if (!timeout.empty()) headers.emplace("X-Prometheus-Scrape-Timeout-Seconds", timeout);
    return client_.Get("/probe?" + query, headers);
  }
  httplib::Client &client() { return client_; }

 private:
  httplib::Client client_;
  pid_t pid_ = -1;
};

bool Has(const httplib::Result &result, const std::string &line) {
  return result && result->body.find(line + "\n") != std::string::npos;
}

TEST(ProbeTest, BoardUpWithItsSettings) {
  TestBoard board;
  Exporter exporter(board.address());
  const auto result = exporter.Probe("target=" + board.address());
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 200);
  EXPECT_EQ(result->get_header_value("Content-Type"), "text/plain; version=0.0.4; charset=utf-8");
  EXPECT_TRUE(Has(result, "relay_board_up 1")) << result->body;
  EXPECT_TRUE(Has(result, R"(relay_board_info{model="remote control",device_id="RB0000000000AB",firmware="1.0.42"} 1)"))
      << result->body;
  EXPECT_TRUE(Has(result, "relay_board_remote_control 1"));
  EXPECT_TRUE(Has(result, "relay_board_restore 0"));
  EXPECT_TRUE(Has(result, R"(relay_board_key_mode{key="3"} 3)"));
  EXPECT_TRUE(Has(result, R"(relay_board_key_mode{key="8"} 2)"));
  EXPECT_EQ(result->body.find("relay_board_in_sync"), std::string::npos) << "a plain read has no desired state";
  EXPECT_EQ(result->body.find("654321"), std::string::npos) << "the password is never exported";
}

TEST(ProbeTest, BoardDown) {
  TestBoard host;  // only for the exporter's address
  Exporter exporter(host.address());
  const auto result = exporter.Probe("target=" + relay::testing::UnusedLoopbackAddress());
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 200);
  EXPECT_TRUE(Has(result, "relay_board_up 0")) << result->body;
  EXPECT_EQ(result->body.find("relay_board_info"), std::string::npos);
}

TEST(ProbeTest, DriftFromTheModulesDesiredState) {
  TestBoard board;
  Exporter exporter(board.address());
  auto result = exporter.Probe("target=" + board.address() + "&module=office");
  ASSERT_TRUE(result);
  EXPECT_TRUE(Has(result, R"(relay_board_setting_drifted{setting="keys"} 1)")) << result->body;
  EXPECT_TRUE(Has(result, R"(relay_board_setting_drifted{setting="restore"} 1)"));
  EXPECT_TRUE(Has(result, R"(relay_board_setting_drifted{setting="remote"} 0)"));
  EXPECT_TRUE(Has(result, R"(relay_board_setting_drifted{setting="password"} 0)"));
  EXPECT_EQ(result->body.find(R"(setting="ip")"), std::string::npos) << "apply leaves the network addresses alone";
  EXPECT_TRUE(Has(result, "relay_board_in_sync 0"));

  relay::sim::BoardConfig config = board.sim().Config();
  config.buttonCfg = "32222222";
  config.restoreState = true;
  board.sim().SetConfig(config);
  result = exporter.Probe("target=" + board.address() + "&module=office");
  ASSERT_TRUE(result);
  EXPECT_TRUE(Has(result, R"(relay_board_setting_drifted{setting="keys"} 0)")) << result->body;
  EXPECT_TRUE(Has(result, "relay_board_in_sync 1"));
  for (const std::string &frame : board.sim().Frames()) {
    EXPECT_EQ(frame.substr(0, 2), "#1") << "only reads, never a write: " << frame;
  }
}

TEST(ProbeTest, HostileTextEscaped) {
  relay::sim::BoardConfig config = relay::testing::RemoteBoard();
  config.deviceId = "RB\\\"\xff\xc3\"{}=5678";
  config.version = "7\\\xe9";
  TestBoard board(config);
  Exporter exporter(board.address());
  const auto result = exporter.Probe("target=" + board.address());
  ASSERT_TRUE(result);
  EXPECT_TRUE(Has(result, "relay_board_info{model=\"remote control\",device_id=\"RB\\\\\\\"\xc3\xbf\xc3\x83\\\"{}=5678\","
                          "firmware=\"1.0.7\\\\\xc3\xa9\"} 1"))
      << result->body;
}

TEST(ProbeTest, TargetsRefusedWithoutConnecting) {
  TestBoard board;
  Exporter exporter(board.address());
  const std::pair<std::string, std::string> rows[] = {
      {"target=10.1.2.3", "target 10.1.2.3 is outside the allowed ranges (--allow 127.0.0.0/8)"},
      {"target=" + board.address() + ".1", "is not an IPv4 address"},
      {"target=" + board.address() + ":5111", "is not an IPv4 address"},
      {"target=localhost", "is not an IPv4 address"},
      {"module=office", "target parameter is missing"},
      {"target=" + board.address() + "&module=../../etc/passwd", "unknown module \"../../etc/passwd\""},
  };
  for (const auto &[query, message] : rows) {
    const auto result = exporter.Probe(query);
    ASSERT_TRUE(result) << query;
    EXPECT_EQ(result->status, 400) << query;
    EXPECT_NE(result->body.find(message), std::string::npos) << query << ": " << result->body;
  }
  EXPECT_EQ(board.sim().Connections(), 0);
}

TEST(ProbeTest, SlowBoardEndsWithTheScrapeTimeout) {
  relay::sim::SimOptions slow;
  slow.replyDelayMs = 3000;  // within the library's 5 s, beyond the scrape's 1.5 s
  TestBoard board(relay::testing::RemoteBoard(), slow);
  Exporter exporter(board.address());
  const auto result = exporter.Probe("target=" + board.address(), "1.5");
  ASSERT_TRUE(result);
  EXPECT_TRUE(Has(result, "relay_board_up 0")) << result->body;
  const auto metrics = exporter.client().Get("/metrics");
  ASSERT_TRUE(metrics);
  EXPECT_TRUE(Has(metrics, R"(relay_exporter_probe_failures_total{module="default"} 1)")) << metrics->body;
}

}  // namespace
