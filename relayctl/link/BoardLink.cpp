#include "link/BoardLink.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstring>
#include <thread>
#include <vector>

#include "DeviceLink.h"
#include "Protocol.h"
#include "board/AddressRange.h"
#include "board/BoardText.h"
#include "board/SettingTable.h"
#include "link/ScanResult.h"
#include "platform/Interrupt.h"
#include "platform/Terminal.h"
#include "relaylink.h"

namespace relayctl {
namespace {

// The library's messages are short; a board's texts are read whole.
constexpr unsigned short kMessageLength = 200;
// A restarted board is looked for with short connect attempts, the pauses
// between rounds growing from the first to the longest.
constexpr int kConnectTryMs = 250;
constexpr std::chrono::milliseconds kFirstPause{20};
constexpr std::chrono::milliseconds kLongestPause{500};

using TextGetter = short(RELAYLINK_CALL *)(char *, unsigned short);

// The getter's text whole: a text that fills the buffer may have been cut, so
// it is asked again with a buffer twice the size, up to the most a length
// can say (a board's reply, and so each of its texts, is shorter).
std::optional<std::string> TextOf(TextGetter getter) {
  for (std::size_t length = 256;; length = std::min<std::size_t>(length * 2, USHRT_MAX)) {
    std::vector<char> buffer(length + 1, '\0');
    if (getter(buffer.data(), static_cast<unsigned short>(length)) != 1) return std::nullopt;
    const std::size_t size = std::strlen(buffer.data());
    if (size < length || length == USHRT_MAX) return std::string(buffer.data(), size);
  }
}

Outcome CurrentStatus() {
  char buffer[kMessageLength + 1] = {};
  return {GetErrorCode(), GetErrorMsg(buffer, kMessageLength)};
}

}  // namespace

std::optional<BoardState> ReadBoard(const std::string &address, Outcome &failure) {
  if (ReadDeviceCfg(address.c_str()) != 1) {
    failure = CurrentStatus();
    return std::nullopt;
  }
  BoardState board;
  board.address = address;
  board.capabilities.remoteControl = CanCfgWeb() == 1;
  board.capabilities.keys = CanCfgButton() == 1;
  for (const SettingInfo &setting : SettingTable()) {
    if (!BoardHas(setting, board.capabilities)) continue;
    if (setting.getFlag) {
      board.settings.*setting.flag = setting.getFlag() == 1;
    } else if (setting.getText) {
      board.settings.*setting.text = TextOf(setting.getText);
    } else {
      std::string keys;
      for (short key = 1; key <= 8; ++key) keys += static_cast<char>('0' + GetButtonCfg(key));
      board.settings.keys = keys;
    }
  }
  board.firmware = TextOf(GetVersion).value_or("");  // none on boards that report no version
  if (board.capabilities.remoteControl) board.deviceId = TextOf(GetDeviceId).value_or("");
  return board;
}

Outcome SaveChanges(const Settings &changes) {
  for (const SettingInfo &setting : SettingTable()) {
    if (!Has(setting, changes)) continue;
    if (setting.setFlag) {
      setting.setFlag(*(changes.*setting.flag) ? 1 : 0);
    } else if (setting.setText) {
      setting.setText((changes.*setting.text)->c_str());
    } else {
      for (short key = 1; key <= 8; ++key) {
        const char mode = (*changes.keys)[static_cast<std::size_t>(key - 1)];
        if (mode != '-') SetButtonCfg(key, static_cast<short>(mode - '0'));
      }
    }
  }
  const bool completed = SaveDeviceCfg() == 1;
  Outcome outcome = CurrentStatus();
  outcome.completed = completed;
  return outcome;
}

WaitOutcome WaitForBoard(const std::vector<std::string> &addresses, int waitMs, const std::string &deviceId,
                         std::vector<std::string> &others) {
  using Clock = std::chrono::steady_clock;
  const auto started = Clock::now();
  const auto deadline = started + std::chrono::milliseconds(waitMs);
  const auto left = [&] {
    return std::max<std::chrono::milliseconds>(
        std::chrono::milliseconds(0), std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()));
  };
  std::chrono::milliseconds pause = kFirstPause;
  for (;;) {
    for (const std::string &address : addresses) {
      if (Interrupted()) {
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
        return {std::nullopt, true, static_cast<int>(waited.count())};
      }
      const int tryMs = static_cast<int>(std::min<long long>(kConnectTryMs, std::max<long long>(1, left().count())));
      Outcome ignored;
      if (!Accepts(*ParseAddress(address), relay::DevicePort, tryMs)) {
        if (Clock::now() >= deadline) return {};
        continue;
      }
      if (auto board = ReadBoard(address, ignored)) {
        if (deviceId.empty() || board->deviceId == deviceId) return {std::move(board)};
        const std::string id = board->deviceId.empty() ? "no device ID" : Shown(board->deviceId, TerminalEncoding());
        const std::string other = address + " (" + id + ")";
        if (std::find(others.begin(), others.end(), other) == others.end()) others.push_back(other);
      }
      if (Clock::now() >= deadline) return {};
    }
    // The pause in steps of the first one: a stop request ends it without delay.
    const auto resume = Clock::now() + std::min(pause, left());
    for (auto now = Clock::now(); now < resume && !Interrupted(); now = Clock::now()) {
      std::this_thread::sleep_for(std::min<Clock::duration>(kFirstPause, resume - now));
    }
    pause = std::min(pause * 2, kLongestPause);
  }
}

std::optional<std::string> BoardAnsweringAt(const std::string &address) {
  const std::optional<std::uint32_t> number = ParseAddress(address);
  if (!number) return std::nullopt;
  const std::string request = relay::BuildCommand(relay::Command::ReportConfig, 0);
  const ScanResult found = Identify(Probe({*number}, request, ProbeOptions{}, nullptr, nullptr));
  if (found.boards.empty()) return std::nullopt;
  const BoardState &board = found.boards.front();
  return board.deviceId.empty() ? "a " + ModelName(board.capabilities) + " board"
                                : "board " + Shown(board.deviceId, TerminalEncoding()) + " (" +
                                      ModelName(board.capabilities) + ")";
}

}  // namespace relayctl
