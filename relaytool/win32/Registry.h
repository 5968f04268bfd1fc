// The remembered target address, kept per user in the registry under
// HKEY_CURRENT_USER\Software\ORGANISATION\APPLICATION (WindowLogic.h's store).
#pragma once

#include <WindowLogic.h>

#include <string>

namespace relaytool::win32 {

// The key under HKEY_CURRENT_USER: Software\Fenmoor\Vantor Config Util.
std::string TargetAddressKey();

// Reads the value as text, a REG_SZ or an unexpanded REG_EXPAND_SZ; a missing
// value reads as "". ValueFailed for a value of another type.
StoreAccess ReadTargetAddress(std::string &address);

// Stores `address` as a REG_SZ, creating the key and its parents.
StoreAccess WriteTargetAddress(const std::string &address);

}  // namespace relaytool::win32
