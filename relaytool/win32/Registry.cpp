#include "Registry.h"

#include <windows.h>

namespace relaytool::win32 {
std::string TargetAddressKey() { return std::string("Software\\") + kStoreOrganisation + '\\' + kStoreApplication; }

StoreAccess ReadTargetAddress(std::string &address) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, TargetAddressKey().c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return StoreAccess::NoKey;
  StoreAccess access = StoreAccess::Done;
  address.clear();
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key, kTargetAddressValue, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    // RegQueryValueEx leaves an expandable string unexpanded.
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
      access = StoreAccess::ValueFailed;
    } else {
      std::string bytes(size, '\0');
      if (RegQueryValueExA(key, kTargetAddressValue, nullptr, &type, reinterpret_cast<BYTE *>(bytes.data()),
                           &size) == ERROR_SUCCESS)
        address = bytes.substr(0, bytes.find('\0'));  // the text ends at its first zero
    }
  }
  RegCloseKey(key);
  return access;
}

StoreAccess WriteTargetAddress(const std::string &address) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, TargetAddressKey().c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return StoreAccess::NoKey;
  // The text and one zero byte.
  const LSTATUS written =
      RegSetValueExA(key, kTargetAddressValue, 0, REG_SZ, reinterpret_cast<const BYTE *>(address.c_str()),
                     static_cast<DWORD>(address.size() + 1));
  RegCloseKey(key);  // lazily: no flush
  return written == ERROR_SUCCESS ? StoreAccess::Done : StoreAccess::ValueFailed;
}

}  // namespace relaytool::win32
