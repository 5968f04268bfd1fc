// Clearing the PC's ARP cache before a read, so that a board that was just
// given a new address (or replaced) is found at once.
#pragma once

namespace relay {

// Runs "arp.exe -d *" detached and waits for it to end (Windows only).
void FlushArpCache();

}  // namespace relay
