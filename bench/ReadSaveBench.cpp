// Cost of the library's read and save next to the same exchanges made with
// plain socket calls (the floor), against an in-process stand-in board.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

#include "DeviceLink.h"
#include "RelaySim.h"
#include "relaylink.h"

namespace {

relay::sim::RelaySim &Board() {
  static relay::sim::RelaySim board = [] {
    relay::sim::BoardConfig config;
    config.ipAddr = "127.77.0.1";
    return relay::sim::RelaySim(config);
  }();
  static const bool started = board.Start("127.77.0.1") || (throw std::runtime_error("cannot start the board"), false);
  (void)started;
  return board;
}

// One plain exchange on an open socket: send, receive until ';'.
void PlainExchange(int fd, const std::string &request) {
  send(fd, request.data(), request.size(), MSG_NOSIGNAL);
  std::string reply;
  char chunk[4096];
  while (reply.empty() || reply.back() != ';') {
    const ssize_t received = recv(fd, chunk, sizeof chunk, 0);
    if (received <= 0) throw std::runtime_error("board closed");
    reply.append(chunk, static_cast<std::size_t>(received));
  }
}

int PlainConnect() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(relay::DevicePort);
  addr.sin_addr.s_addr = inet_addr(Board().Address().c_str());
  if (connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) throw std::runtime_error("connect");
  const int noDelay = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
  return fd;
}

void LibraryRead(benchmark::State &state) {
  const std::string address = Board().Address();
  for (auto _ : state) {
    if (ReadDeviceCfg(address.c_str()) != 1) {
      state.SkipWithError("read failed");
      break;
    }
  }
}

void PlainRead(benchmark::State &state) {
  for (auto _ : state) {
    const int fd = PlainConnect();
    PlainExchange(fd, "#11234;");
    close(fd);
  }
}

void LibrarySave(benchmark::State &state) {
  const std::string address = Board().Address();
  for (auto _ : state) {
    state.PauseTiming();
    if (ReadDeviceCfg(address.c_str()) != 1) {
      state.SkipWithError(("read failed: " + std::to_string(GetErrorCode())).c_str());
      break;
    }
    char gateway[101] = {};
    GetGateway(gateway, 100);
    SetGateway(std::string(gateway) == "127.77.0.254" ? "127.77.0.253" : "127.77.0.254");
    state.ResumeTiming();
    if (SaveDeviceCfg() != 1 || GetErrorCode() != 3001) {
      state.SkipWithError(("save failed: " + std::to_string(GetErrorCode())).c_str());
      break;
    }
  }
}

void PlainSave(benchmark::State &state) {
  bool flip = false;
  for (auto _ : state) {
    // The same untimed read before each save as the library needs.
    state.PauseTiming();
    const int readFd = PlainConnect();
    PlainExchange(readFd, "#11234;");
    close(readFd);
    state.ResumeTiming();
    const int fd = PlainConnect();
    PlainExchange(fd, (flip = !flip) ? "#41234,127.77.0.254;" : "#41234,127.77.0.253;");
    PlainExchange(fd, "#71234;");
    close(fd);
  }
}

BENCHMARK(LibraryRead)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainRead)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(LibrarySave)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainSave)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
