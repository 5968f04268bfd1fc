#include "RelaySim.h"

#include <cctype>
#include <random>
#include <thread>

#include "Protocol.h"
#include "SimAddress.h"
#include "Socket.h"

namespace relay::sim {
namespace {

using namespace std::chrono_literals;

constexpr std::size_t kMaxFrameBytes = 64 * 1024;
constexpr std::size_t kHugeReplyBytes = 1024 * 1024;

// Whether the board applies a write that it answers with this fault.
bool AppliesWrite(std::optional<FaultKind> fault) {
  if (!fault) return true;
  switch (*fault) {
    case FaultKind::LowerCaseAck:
    case FaultKind::TrailingBytes:
    case FaultKind::SplitReply:
    case FaultKind::OneBytePieces:
    case FaultKind::CloseMidReply:
    case FaultKind::CloseAfterReply:
      return true;
    default:
      return false;
  }
}

// Whether sending `reply` takes its time: a pause before it or between its
// pieces, or more than the connection takes at once.
bool TakesTime(const Reply &reply) {
  return reply.delayMs > 0 || reply.fault == FaultKind::SplitReply || reply.fault == FaultKind::OneBytePieces ||
         reply.fault == FaultKind::HugeReply;
}

std::string Lowered(std::string text) {
  for (char &c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

RelaySim::RelaySim(BoardConfig config, SimOptions options)
    : config_(std::move(config)), options_(std::move(options)), ownHost_(std::make_unique<BoardHost>()),
      host_(*ownHost_) {}

RelaySim::RelaySim(BoardHost &host, BoardConfig config, SimOptions options)
    : config_(std::move(config)), options_(std::move(options)), host_(host) {}

RelaySim::~RelaySim() { Stop(); }

bool RelaySim::Start(const std::string &address, std::uint16_t port) {
  Stop();
  const net::SocketHandle listener = net::ListenTcp(net::ParseIpv4(address.c_str()), port);
  if (listener == net::kInvalidSocket) return false;
  {
    std::lock_guard lock(mutex_);
    address_ = address;
    port_ = port;
    listener_ = listener;
  }
  running_ = true;
  if (!host_.Add(*this)) Stop();
  return true;
}

std::string RelaySim::StartOnFreeLoopback(std::uint16_t port) {
  std::random_device seed;
  std::mt19937 pick(seed());
  for (int attempt = 0; attempt < 200; ++attempt) {
    const std::string address = "127." + std::to_string(std::uniform_int_distribution(16, 250)(pick)) + "." +
                                std::to_string(std::uniform_int_distribution(0, 255)(pick)) + "." +
                                std::to_string(std::uniform_int_distribution(1, 254)(pick));
    if (Start(address, port)) return address;
  }
  return {};
}

void RelaySim::Stop() {
  if (!running_.exchange(false)) return;
  host_.Remove(*this);
  std::lock_guard lock(mutex_);
  net::CloseListener(listener_);
  listener_ = net::kInvalidSocket;
  silentUntil_.reset();
}

void RelaySim::WaitUntilIdle() { host_.WaitUntilIdle(*this); }

std::string RelaySim::Address() const {
  std::lock_guard lock(mutex_);
  return address_;
}

std::vector<std::string> RelaySim::Frames() const {
  std::lock_guard lock(mutex_);
  return frames_;
}

void RelaySim::ClearFrames() {
  std::lock_guard lock(mutex_);
  frames_.clear();
}

BoardConfig RelaySim::Config() const {
  std::lock_guard lock(mutex_);
  return config_;
}

void RelaySim::SetConfig(const BoardConfig &config) {
  std::lock_guard lock(mutex_);
  config_ = config;
}

void RelaySim::SetOptions(const SimOptions &options) {
  std::lock_guard lock(mutex_);
  options_ = options;
}

int RelaySim::Restarts() const {
  std::lock_guard lock(mutex_);
  return restarts_;
}

int RelaySim::Connections() const {
  std::lock_guard lock(mutex_);
  return connections_;
}

void RelaySim::SetTrace(TraceSink sink) {
  std::lock_guard lock(mutex_);
  trace_ = std::move(sink);
}

void RelaySim::Trace(const std::string &line) {
  TraceSink sink;
  {
    std::lock_guard lock(mutex_);
    sink = trace_;
  }
  if (sink) sink(line);
}

void RelaySim::BeginRestart() {
  // In decimal: a board may hold its address with leading zeros, which the
  // socket layer would read as octal.
  const std::optional<std::uint32_t> own = ParseQuad(config_.ipAddr);
  nextAddress_ = own && IsLoopback(*own) ? FormatQuad(*own) : address_;
  if (nextAddress_ == address_ && options_.restartSilenceMs <= 0) return;  // back at once where it was
  net::CloseListener(listener_);
  listener_ = net::kInvalidSocket;
  silentUntil_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(options_.restartSilenceMs);
}

std::intptr_t RelaySim::ListenerNow() {
  std::lock_guard lock(mutex_);
  if (silentUntil_ && std::chrono::steady_clock::now() >= *silentUntil_) {
    silentUntil_.reset();
    listener_ = net::ListenTcp(net::ParseIpv4(nextAddress_.c_str()), port_);
    if (listener_ == net::kInvalidSocket) {  // the new address is taken: stay where we were
      listener_ = net::ListenTcp(net::ParseIpv4(address_.c_str()), port_);
    } else {
      address_ = nextAddress_;
    }
  }
  return listener_;
}

std::optional<std::chrono::steady_clock::time_point> RelaySim::SilentUntil() const {
  std::lock_guard lock(mutex_);
  return silentUntil_;
}

void RelaySim::CountConnection() {
  std::lock_guard lock(mutex_);
  ++connections_;
}

int RelaySim::IdleLimitMs() const {
  std::lock_guard lock(mutex_);
  return options_.idleLimitMs;
}

bool RelaySim::AnswerReceived(Connection &connection, std::optional<Reply> &slow) {
  for (std::size_t end; (end = FrameEnd(connection.pending)) != std::string::npos;) {
    const std::string frame = connection.pending.substr(0, end);
    connection.pending.erase(0, end);
    Reply reply = Decide(frame);
    if (TakesTime(reply)) {
      slow = std::move(reply);
      return true;
    }
    if (!Deliver(connection.socket, reply)) return false;
    connection.lastFrame = std::chrono::steady_clock::now();
  }
  if (connection.pending.size() > kMaxFrameBytes) {
    Send(connection.socket, ">ERR;");
    return false;
  }
  return true;
}

Reply RelaySim::Decide(const std::string &text) {
  Trace("<- " + text);
  const std::optional<Frame> frame = ParseFrame(text);
  Reply reply;
  reply.text = ">OK;";
  std::lock_guard lock(mutex_);
  frames_.push_back(text);
  reply.delayMs = options_.replyDelayMs;
  if (!frame) {
    reply.text = ">ERR;";
    return reply;
  }
  reply.fault = FaultFor(options_, frame->command);
  reply.restarting = frame->command == '7' && !reply.fault;
  if (reply.restarting) {  // off its listener before the acknowledgement leaves, as a board that reboots
    ++restarts_;
    BeginRestart();
  }
  if (frame->command == '1') {
    reply.text = options_.rawCfgReply.value_or(CfgReply(config_));
  } else if (AppliesWrite(reply.fault)) {
    ApplyWrite(config_, *frame);
  }
  return reply;
}

bool RelaySim::Deliver(std::intptr_t connection, const Reply &reply) {
  if (reply.delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(reply.delayMs));
  if (!SendWithFault(connection, reply.text, reply.fault)) return false;
  return !reply.restarting;  // a restarting board drops the connection
}

bool RelaySim::SendWithFault(std::intptr_t connection, const std::string &reply, std::optional<FaultKind> fault) {
  if (!fault) return Send(connection, reply);
  SimOptions options;
  {
    std::lock_guard lock(mutex_);
    options = options_;
  }
  const std::string firstHalf = reply.substr(0, std::max<std::size_t>(1, reply.size() / 2));
  switch (*fault) {
    case FaultKind::NoAnswer:
      Trace("-> (no answer)");
      return true;
    case FaultKind::CloseWithoutAnswer:
      Trace("-> (closed)");
      return false;
    case FaultKind::CloseMidReply:
      Send(connection, firstHalf);
      return false;
    case FaultKind::Reset:
      Trace("-> (reset)");
      net::SetAbortiveClose(connection);
      return false;
    case FaultKind::LowerCaseAck:
      return Send(connection, Lowered(reply));
    case FaultKind::TrailingBytes:
      return Send(connection, reply + options.trailingBytes);
    case FaultKind::SplitReply:
      if (!Send(connection, firstHalf)) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(options.splitPauseMs));
      return Send(connection, reply.substr(firstHalf.size()));
    case FaultKind::OneBytePieces:
      for (const char c : reply) {
        if (!Send(connection, std::string(1, c))) return false;
        std::this_thread::sleep_for(2ms);
      }
      return true;
    case FaultKind::Refuse:
      return Send(connection, ">ERR;");
    case FaultKind::Garbage:
      return Send(connection, "\x01\xfegarbage?!");
    case FaultKind::HugeReply:
      Trace("-> (1 MiB without an end)");
      return net::SendAll(connection, std::string(kHugeReplyBytes, 'x'));
    case FaultKind::AckWithoutApplying:
      return Send(connection, reply);
    case FaultKind::CloseAfterReply:
      Send(connection, reply);
      return false;
  }
  return true;
}

bool RelaySim::Send(std::intptr_t connection, const std::string &text) {
  Trace("-> " + text);
  return net::SendAll(connection, text);
}

}  // namespace relay::sim
