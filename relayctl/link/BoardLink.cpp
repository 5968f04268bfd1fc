#include "link/BoardLink.h"

#include <algorithm>
#include <chrono>

#include "DeviceLink.h"
#include "board/BoardText.h"
#include "board/SettingTable.h"
#include "link/FleetEngine.h"
#include "platform/Interrupt.h"
#include "platform/Terminal.h"
#include "relaylink.h"

namespace relayctl {
namespace {

using relay::SettingKind;

// A restarted board is looked for with short connect attempts, the pauses
// between rounds growing from the first to the longest.
constexpr int kConnectTryMs = 250;
constexpr std::chrono::milliseconds kFirstPause{20};
constexpr std::chrono::milliseconds kLongestPause{500};
// The probe for a board at an address: a short connect.
constexpr int kProbeConnectMs = 500;

// A text as the library's getters copy it out: up to its first zero character.
std::string AsCopiedOut(const std::string &text) { return text.c_str(); }

// A setting as the library's getter gives it: a text the device side, a
// switch its pending flag (which the read set), key modes mode by mode.
template <SettingKind kind, class Field, class Value>
void TakeValue(Field &field, const Value &device, const Value &pending) {
  if constexpr (kind == SettingKind::Switch) {
    field = pending;
  } else if constexpr (kind == SettingKind::KeyModes) {
    field = device;
  } else {
    field = AsCopiedOut(device);
  }
}

// A change as the library's setter takes it: a text up to a zero character,
// a switch as given, key modes mode by mode where one is given ('-' keeps).
template <SettingKind kind, class Field, class Value>
void GiveValue(const Field &field, Value &pending, relay::DeviceCfgState &state) {
  if (!field) return;
  if constexpr (kind == SettingKind::Switch) {
    pending = *field;
  } else if constexpr (kind == SettingKind::KeyModes) {
    for (short key = 1; key <= 8; ++key) {
      const char mode = (*field)[static_cast<std::size_t>(key - 1)];
      if (mode != '-') relay::SetKeyMode(state, key, static_cast<short>(mode - '0'));
    }
  } else {
    pending = AsCopiedOut(*field);
  }
}

BoardState BoardOf(const relay::DeviceCfgState &state, const std::string &address) {
  BoardState board;
  board.address = address;
  board.capabilities.remoteControl = state.WebCapable;
  board.capabilities.keys = state.ButtonCapable;
#define RELAYCTL_TAKE(name, Stem, command, kind, needs, ...)                          \
  if (relay::BoardHas(relay::SettingNeeds::needs, state.WebCapable, state.ButtonCapable)) \
    TakeValue<SettingKind::kind>(board.settings.name, state.Dev##Stem, state.New##Stem);
  RELAY_SETTINGS(RELAYCTL_TAKE)
#undef RELAYCTL_TAKE
  board.firmware = AsCopiedOut(state.FirmwareVersion);  // none on boards that report no version
  if (board.capabilities.remoteControl) board.deviceId = AsCopiedOut(state.DevDeviceId);
  return board;
}

Outcome StatusOf(const relay::DeviceCfgState &state) { return {state.ErrorCode, state.ErrorMsg}; }

}  // namespace

relay::Task<BoardRead> ReadBoard(relay::DeviceContext &context, std::string address) {
  const bool read = co_await context.Read(address);
  BoardRead result;
  if (read) {
    result.board = BoardOf(context.State(), address);
  } else {
    result.failure = StatusOf(context.State());
  }
  co_return result;
}

relay::Task<BoardRead> ReadOnOwnContext(relay::StepDriver *driver, std::string address, bool flushArpCache) {
  relay::DeviceContext context(driver, flushArpCache);
  BoardRead read = co_await ReadBoard(context, address);
  co_return read;
}

BoardRead ReadAlone(const std::string &address) {
  return RunAlone<BoardRead>(
      [&](relay::StepDriver *driver) { return ReadOnOwnContext(driver, address, true); }, Interrupted);
}

relay::Task<Outcome> SaveChanges(relay::DeviceContext &context, const Settings &changes) {
  relay::DeviceCfgState &state = context.State();
  if (state.CfgReady) {  // the setters take nothing before a read
#define RELAYCTL_GIVE(name, Stem, command, kind, ...) \
  GiveValue<SettingKind::kind>(changes.name, state.New##Stem, state);
    RELAY_SETTINGS(RELAYCTL_GIVE)
#undef RELAYCTL_GIVE
  }
  const bool completed = co_await context.Save();
  Outcome outcome = StatusOf(state);
  outcome.completed = completed;
  co_return outcome;
}

relay::Task<WaitOutcome> WaitForBoard(relay::DeviceContext &context, const std::vector<std::string> &addresses,
                                      int waitMs, const std::string &deviceId, std::vector<std::string> &others) {
  using Clock = relay::StepClock;
  const auto started = Clock::now();
  const auto deadline = started + std::chrono::milliseconds(waitMs);
  const auto left = [&] {
    return std::max<std::chrono::milliseconds>(
        std::chrono::milliseconds(0), std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()));
  };
  relay::DeviceLink &link = context.State().DeviceSocket;
  std::chrono::milliseconds pause = kFirstPause;
  for (;;) {
    for (const std::string &address : addresses) {
      if (Interrupted()) {
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
        co_return WaitOutcome{std::nullopt, true, static_cast<int>(waited.count())};
      }
      const int tryMs = static_cast<int>(std::min<long long>(kConnectTryMs, std::max<long long>(1, left().count())));
      const bool answered = co_await link.OpenAsync(address, tryMs);
      if (!answered) {
        if (Clock::now() >= deadline) co_return WaitOutcome{};
        continue;
      }
      // The read goes over the connection that just opened.
      BoardRead read = co_await ReadBoard(context, address);
      if (read.board) {
        if (deviceId.empty() || read.board->deviceId == deviceId) co_return WaitOutcome{std::move(read.board)};
        const std::string id =
            read.board->deviceId.empty() ? "no device ID" : Shown(read.board->deviceId, TerminalEncoding());
        const std::string other = address + " (" + id + ")";
        if (std::find(others.begin(), others.end(), other) == others.end()) others.push_back(other);
      }
      if (Clock::now() >= deadline) co_return WaitOutcome{};
    }
    // A stop request ends the pause without delay (the driver ends it).
    if (!Interrupted()) {
      const relay::Wait pauseWait{relay::net::kInvalidSocket, false, Clock::now() + std::min(pause, left())};
      co_await relay::WaitFor(link.Driver(), pauseWait);
    }
    pause = std::min(pause * 2, kLongestPause);
  }
}

relay::Task<std::optional<std::string>> BoardAnsweringAt(relay::StepDriver *driver, std::string address) {
  relay::DeviceContext probe(driver, false);
  const bool answered = co_await probe.State().DeviceSocket.OpenAsync(address, kProbeConnectMs);
  if (!answered) co_return std::nullopt;
  const BoardRead read = co_await ReadBoard(probe, address);
  if (!read.board) co_return std::nullopt;
  const BoardState &board = *read.board;
  co_return board.deviceId.empty() ? "a " + ModelName(board.capabilities) + " board"
                                   : "board " + Shown(board.deviceId, TerminalEncoding()) + " (" +
                                         ModelName(board.capabilities) + ")";
}

}  // namespace relayctl
