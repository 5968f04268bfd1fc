// What a save sends, decided from the values alone: the one rule that the
// library's save executes and that relayctl's plans, reports and
// verification are built from. Pure.
#pragma once

#include <string>
#include <vector>

#include "DeviceValues.h"
#include "Protocol.h"

namespace relay {

// One write command of a save and the value it carries ("1" or "0" for the
// two switches).
struct PlannedWrite {
  Command command;
  std::string value;
};

// The writes a save sends, in the board's fixed order, for pending values
// that have passed RejectedPendingValue (so are in normal and trimmed form):
// each value that differs from the device side, compared exactly. Key modes
// go only to a board with key modes (`buttonCapable`); the remote-control
// switch, DNS, server and password only to a board with remote control
// (`webCapable`), the last three only while the switch ends up on. A save
// that sends any of these then restarts the board.
std::vector<PlannedWrite> PlanWrites(const DeviceSideValues &device, const PendingValues &pending, bool webCapable,
                                     bool buttonCapable);

// The device-side value after the board acknowledged `write`.
void RecordWrite(DeviceSideValues &device, const PlannedWrite &write);

}  // namespace relay
