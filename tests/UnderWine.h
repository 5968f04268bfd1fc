// Telling Wine from Windows, for the few behaviours in which they differ.
// Kept apart from relaylink.h: <windows.h> declares a GetVersion of its own.
#pragma once

namespace relay::testing {

// Whether this program runs under Wine, whose sockets report a connection
// reset by the peer as an orderly end of stream. Always false off Windows.
bool UnderWine();

}  // namespace relay::testing
