// What a scan found: boards recognised from their configuration replies, and
// open ports that did not answer like a board. Pure.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "board/BoardState.h"
#include "board/BoardText.h"
#include "link/Prober.h"

namespace relayctl {

struct ScanResult {
  // Every setting the board has but the password, which a scan never gives out.
  std::vector<BoardState> boards;
  std::vector<std::string> notBoards;  // "127.0.0.9: no reply" and the like
};

// Reads each reply with the library's own reply parser and adopts it as a
// read does (ReplyAdoption.h); the settings as `show` reads them through the
// library.
ScanResult Identify(const std::vector<ProbeReply> &replies);

// For scan --json, see ScanJson in BackupFile.h.
// One line per board: address, model, firmware, device ID ("-" for none),
// in columns under a heading; the board's texts Shown for a terminal of
// `encoding` (BoardText.h), a long one pushing the columns after it.
std::string ScanTable(const std::vector<BoardState> &boards, TextEncoding encoding);
// The boards' addresses, one a line.
std::string ScanAddresses(const std::vector<BoardState> &boards);

}  // namespace relayctl
