// The stand-in board under load: 64 clients at once, each doing 100
// read/save cycles with writes of its own, then clients that break off in the
// middle of a frame, send garbage or reset the connection, more silent
// clients than the board has workers, and a reply that takes its time. Every
// reply must be right, no write may get lost, and the board must keep serving.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <thread>

#include "DeviceCfgState.h"
#include "Socket.h"
#include "TestBoard.h"

namespace relay::testing {
namespace {

constexpr int kClients = 64;
constexpr int kCycles = 100;

// The gateway client `client` writes in cycle `cycle`: unique to both.
std::string GatewayOf(int client, int cycle) {
  return "127." + std::to_string(client) + "." + std::to_string(cycle) + ".1";
}

// What one client saw go wrong, empty when nothing did.
std::string RunClient(const std::string &address, int client, std::vector<std::string> &sent) {
  DeviceCfgState state;
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    if (!ReadDevice(state, address.c_str())) return "read failed with " + std::to_string(state.ErrorCode);
    if (state.DevSubMask != "255.0.0.0" || state.DevDeviceId != "RB0000000000AB" || state.DevPassword != "654321") {
      return "reply with wrong values: " + state.DevSubMask + " " + state.DevDeviceId + " " + state.DevPassword;
    }
    state.NewGateway = GatewayOf(client, cycle);
    if (!SaveDevice(state) || state.ErrorCode != static_cast<int>(Status::SavedAndRestarted)) {
      return "save failed with " + std::to_string(state.ErrorCode);
    }
    sent.push_back("#4" + std::to_string(state.RequestTag) + "," + state.NewGateway + ";");
    sent.push_back("#7" + std::to_string(state.RequestTag) + ";");
  }
  return {};
}

TEST(SimLoad, SixtyFourClientsAtOnceLoseNoWrite) {
  TestBoard board;
  std::vector<std::string> problems(kClients);
  std::vector<std::vector<std::string>> sent(kClients);
  std::vector<std::thread> clients;
  for (int client = 0; client < kClients; ++client) {
    clients.emplace_back([&, client] { problems[client] = RunClient(board.address(), client, sent[client]); });
  }
  for (std::thread &client : clients) client.join();
  for (int client = 0; client < kClients; ++client) EXPECT_EQ(problems[client], "") << "client " << client;

  board.sim().WaitUntilIdle();
  std::multiset<std::string> received;
  for (const std::string &frame : board.sim().Frames()) {
    if (frame.rfind("#1", 0) != 0) received.insert(frame);
  }
  std::multiset<std::string> expected;
  for (const auto &frames : sent) expected.insert(frames.begin(), frames.end());
  EXPECT_EQ(received, expected);
  EXPECT_EQ(board.sim().Restarts(), kClients * kCycles);
  // The board holds the write it applied last, whichever client sent it.
  const std::string last = board.sim().Config().gateway;
  EXPECT_TRUE(std::any_of(expected.begin(), expected.end(),
                          [&](const std::string &frame) { return frame.ends_with("," + last + ";"); }))
      << last;
}

// A raw client of the board: connect, send, and go away in a given manner.
void HitAndRun(const std::string &address, const std::string &bytes, bool reset) {
  const net::SocketHandle socket = net::ConnectTcp(net::ParseIpv4(address.c_str()), DevicePort, ConnectTimeoutMs);
  ASSERT_NE(socket, net::kInvalidSocket);
  ASSERT_TRUE(net::SendAll(socket, bytes));
  if (reset) net::SetAbortiveClose(socket);
  net::CloseSocket(socket);
}

TEST(SimLoad, BoardKeepsServingAfterBrokenAndGarbageClients) {
  TestBoard board;
  const std::string address = board.address();
  struct Visitor {
    const char *name;
    std::string bytes;
    bool reset;
  };
  const Visitor visitors[] = {
      {"leaves mid-frame", "#41234,127.0.", false},
      {"resets mid-frame", "#41234,127.0.", true},
      {"sends garbage frames", "\x01\xfe;#;;#Z12;#1;#112345;#2,1.2.3.4;", false},
      {"sends garbage without an end", std::string(200 * 1024, '\xa5'), false},
      {"sends a frame and resets", "#41234,127.0.0.9;", true},
      {"connects and says nothing", "", false},
  };
  for (const Visitor &visitor : visitors) {
    for (int i = 0; i < 20; ++i) ASSERT_NO_FATAL_FAILURE(HitAndRun(address, visitor.bytes, visitor.reset)) << visitor.name;
    DeviceCfgState state;
    ASSERT_TRUE(ReadDevice(state, address.c_str())) << "after a client that " << visitor.name;
    EXPECT_EQ(state.DevSubMask, "255.0.0.0");
    state.NewSubMask = "255.255.0.0";
    EXPECT_TRUE(SaveDevice(state)) << "after a client that " << visitor.name;
    EXPECT_EQ(state.ErrorCode, static_cast<int>(Status::SavedAndRestarted));
    sim::BoardConfig config = board.sim().Config();
    EXPECT_EQ(config.subMask, "255.255.0.0");
    config.subMask = "255.0.0.0";
    board.sim().SetConfig(config);
  }
}

// Whether the board closes `socket` before `end`; the client closes it too.
bool BoardCloses(net::SocketHandle socket, std::chrono::steady_clock::time_point end) {
  bool closed = false;
  while (!closed && std::chrono::steady_clock::now() < end) {
    if (net::WaitReadable(socket, 100) != net::WaitResult::Ready) continue;
    char byte;
    const auto received = net::ReceiveSome(socket, &byte, 1);
    closed = !received || *received == 0;
  }
  net::CloseSocket(socket);
  return closed;
}

TEST(SimLoad, MoreSilentClientsThanWorkersNeitherStarveAReadNorStayOpen) {
  TestBoard board;
  const std::string address = board.address();
  std::vector<net::SocketHandle> silent;
  for (std::size_t i = 0; i < sim::BoardHost::kMaxWorkers + 8; ++i) {
    silent.push_back(net::ConnectTcp(net::ParseIpv4(address.c_str()), DevicePort, ConnectTimeoutMs));
    ASSERT_NE(silent.back(), net::kInvalidSocket) << i;
  }
  // Answered while every silent client is still connected, well before the
  // board's idle limit.
  DeviceCfgState state;
  EXPECT_TRUE(ReadDevice(state, address.c_str())) << state.ErrorCode;

  sim::SimOptions options;
  options.idleLimitMs = 100;
  board.sim().SetOptions(options);
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  for (std::size_t i = 0; i < silent.size(); ++i) EXPECT_TRUE(BoardCloses(silent[i], end)) << i;
}

// A reply that takes its time holds up no other client of the board: with a
// reply delay of most of the library's reply time-out, a read that waited for
// another client's reply first would time out.
TEST(SimLoad, ReplyThatTakesItsTimeHoldsUpNoOtherClient) {
  sim::SimOptions options;
  options.replyDelayMs = ReplyTimeoutMs * 3 / 5;
  TestBoard board(RemoteBoard(), options);
  const std::string address = board.address();
  const net::SocketHandle first = net::ConnectTcp(net::ParseIpv4(address.c_str()), DevicePort, ConnectTimeoutMs);
  ASSERT_NE(first, net::kInvalidSocket);
  ASSERT_TRUE(net::SendAll(first, "#11234;"));
  for (int i = 0; i < 500 && board.sim().Frames().empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  DeviceCfgState state;
  EXPECT_TRUE(ReadDevice(state, address.c_str())) << state.ErrorCode;
  net::CloseSocket(first);
}

// The reply to one frame on an open connection: what arrives up to its ';', or
// what arrived before the board closed the connection.
std::string Exchange(net::SocketHandle socket, const std::string &frame) {
  if (!net::SendAll(socket, frame)) return {};
  std::string reply;
  char chunk[64];
  while (reply.find(';') == std::string::npos && net::WaitReadable(socket, ReplyTimeoutMs) == net::WaitResult::Ready) {
    const auto received = net::ReceiveSome(socket, chunk, sizeof chunk);
    if (!received || *received == 0) break;
    reply.append(chunk, *received);
  }
  return reply;
}

// The idle limit counts from the last reply: a client that keeps sending stays
// connected for longer than the limit, and is closed once it stops. Either the
// board's own reply delay spaces the frames (replies that workers send) or the
// client does (replies sent at once), so that together they take longer than
// the limit, while each gap the client leaves stays far below it.
struct Spacing {
  const char *name;
  int replyDelayMs;
  int clientPauseMs;
};

class IdleLimit : public ::testing::TestWithParam<Spacing> {};

TEST_P(IdleLimit, RestartsAfterEveryReply) {
  sim::SimOptions options;
  options.replyDelayMs = GetParam().replyDelayMs;
  options.idleLimitMs = 1000;
  TestBoard board(RemoteBoard(), options);
  const net::SocketHandle socket = net::ConnectTcp(net::ParseIpv4(board.address().c_str()), DevicePort, ConnectTimeoutMs);
  ASSERT_NE(socket, net::kInvalidSocket);
  for (int frame = 0; frame < 5; ++frame) {
    std::this_thread::sleep_for(std::chrono::milliseconds(GetParam().clientPauseMs));
    EXPECT_EQ(Exchange(socket, "#41234,127.0.0.9;"), ">OK;") << "frame " << frame;
  }
  EXPECT_TRUE(BoardCloses(socket, std::chrono::steady_clock::now() + std::chrono::seconds(10)));  // once it stops
}

INSTANTIATE_TEST_SUITE_P(By, IdleLimit, ::testing::Values(Spacing{"ReplyDelay", 400, 0}, Spacing{"ClientPause", 0, 250}),
                         [](const ::testing::TestParamInfo<Spacing> &info) { return std::string(info.param.name); });

}  // namespace
}  // namespace relay::testing
