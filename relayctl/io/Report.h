// Messages to the person running relayctl, on standard error.
#pragma once

#include <string>

namespace relayctl {

// "relayctl: " + message and a line end on standard error, as one write.
void Report(const std::string &message);

}  // namespace relayctl
