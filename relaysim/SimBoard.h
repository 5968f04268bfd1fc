// What a stand-in board holds and how it answers: its configuration, its
// model, and the faults it can be told to show. Pure data and text rules; the
// server around it is RelaySim.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "BoardSettings.h"

namespace relay::sim {

enum class Model {
  Basic,          // 5-item reply (with or without key modes)
  RemoteControl,  // 10-item reply
};

struct BoardConfig {
  Model model = Model::RemoteControl;
  std::string ipAddr = "127.0.0.1";
  std::string subMask = "255.0.0.0";
  std::string gateway = "127.0.0.254";
  std::string buttonCfg = "12312312";  // empty: the board has no key modes
  bool restoreState = false;
  std::string version = "7";
  std::string deviceId = "RB000000000001";  // 14 characters
  std::string password = "123456";
  std::string dns = "127.0.0.53";
  std::string webServer = "relay.example.net";
  bool enableWeb = true;
};

// Where the board keeps each setting of BoardSettings.h, in its order: a text
// or a switch.
struct ConfigField {
  const char *name;
  std::string BoardConfig::*text;
  bool BoardConfig::*flag;
};
inline constexpr ConfigField kConfigFields[] = {
    {"ip", &BoardConfig::ipAddr, nullptr},
    {"mask", &BoardConfig::subMask, nullptr},
    {"gateway", &BoardConfig::gateway, nullptr},
    {"keys", &BoardConfig::buttonCfg, nullptr},
    {"restore", nullptr, &BoardConfig::restoreState},
    {"remote", nullptr, &BoardConfig::enableWeb},
    {"dns", &BoardConfig::dns, nullptr},
    {"server", &BoardConfig::webServer, nullptr},
    {"password", &BoardConfig::password, nullptr},
};

// The field of a setting.
const ConfigField &FieldOf(const SettingFacts &setting);

enum class FaultKind {
  NoAnswer,            // read the frame, never answer
  CloseWithoutAnswer,  // close the connection instead of answering
  CloseMidReply,       // send the first half of the reply, then close
  Reset,               // drop the connection with a reset
  LowerCaseAck,        // ">ok;" instead of ">OK;"
  TrailingBytes,       // the reply followed by `trailingBytes` in the same piece
  SplitReply,          // the reply in two pieces, `splitPauseMs` apart
  OneBytePieces,       // the reply one byte at a time
  Refuse,              // ">ERR;"
  Garbage,             // bytes that are no frame at all
  HugeReply,           // 1 MiB without an end
  AckWithoutApplying,  // ">OK;" to a write that is then not applied
  CloseAfterReply,     // the whole reply, then close the connection
};

// A fault shown for one command code, or for every command when `command` is 0.
struct Fault {
  FaultKind kind;
  char command = 0;
};

// A connection that sends no complete frame for this long is closed, so that
// silent clients cannot keep the board's connections and threads.
inline constexpr int kIdleLimitMs = 10 * 1000;

struct SimOptions {
  std::vector<Fault> faults;
  int replyDelayMs = 0;                      // before every reply
  int splitPauseMs = 300;                    // between the pieces of SplitReply
  std::string trailingBytes = "\r\n";        // for TrailingBytes
  std::optional<std::string> rawCfgReply;    // answers command 1 with this text
  int restartSilenceMs = 0;                  // no listening for this long after a restart
  int idleLimitMs = kIdleLimitMs;            // closing a connection without a complete frame for this long
};

// What a board sends for one frame: the reply text, the fault it shows
// instead, whether it restarts once the reply is out, and its pause before it.
struct Reply {
  std::string text;
  std::optional<FaultKind> fault;
  bool restarting = false;
  int delayMs = 0;
};

// A request frame split into its parts: "#" code tag [",value"] ";".
struct Frame {
  char command = 0;
  std::string tag;
  std::optional<std::string> value;
};

// Whether `command` is one of the protocol's command codes.
bool IsCommandCode(char command);

// Checks a frame strictly: '#', a known code, 1..4 tag digits, a ",value"
// exactly for the codes that carry one, and ';' at the end.
std::optional<Frame> ParseFrame(std::string_view text);

// The configuration reply the board sends for command 1.
std::string CfgReply(const BoardConfig &config);

// Applies a write command to the configuration; false for commands that
// write nothing (1 and 7).
bool ApplyWrite(BoardConfig &config, const Frame &frame);

// The fault that applies to `command`, if any.
std::optional<FaultKind> FaultFor(const SimOptions &options, char command);

}  // namespace relay::sim
