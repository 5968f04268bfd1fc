// The 28 exported functions: thin wrappers over the one state record.
#include <algorithm>
#include <cstring>
#include <string>

#include "DeviceContext.h"

#if defined(__GNUC__) && !defined(_WIN32)
#pragma GCC visibility push(default)
#endif
#include "relaylink.h"
#if defined(__GNUC__) && !defined(_WIN32)
#pragma GCC visibility pop
#endif

namespace {

using relay::DeviceCfgState;

// The library's one board for as long as it is loaded: constructed at load
// (the tag generator seeded), destroyed at unload (texts released); its steps
// block. The socket layer starts itself on the first connection.
relay::DeviceContext loadedContext;

DeviceCfgState &State() { return loadedContext.State(); }

std::string TextOrEmpty(const char *text) { return text != nullptr ? text : ""; }

void CopyOut(const std::string &text, char *buffer, unsigned short length) {
  const std::size_t count = std::min<std::size_t>(text.size(), length);
  std::memcpy(buffer, text.data(), count);
  buffer[count] = '\0';
}

short GetText(const std::string &text, char *buffer, unsigned short length) {
  if (!State().CfgReady || buffer == nullptr) return 0;
  CopyOut(text, buffer, length);
  return 1;
}

short SetText(std::string &field, const char *text) {
  if (!State().CfgReady) return 0;
  field = TextOrEmpty(text);
  return 1;
}

short SetFlag(bool &field, short flag) {
  if (!State().CfgReady) return 0;
  field = flag != 0;
  return 1;
}

short Answer(bool yes) { return yes ? 1 : 0; }

bool IsKey(short key) { return key >= 1 && key <= 8; }

}  // namespace

extern "C" {

short RELAYLINK_CALL ReadDeviceCfg(const char *address) {
  return Answer(relay::RunBlocking(loadedContext.Read(TextOrEmpty(address))));
}

short RELAYLINK_CALL SaveDeviceCfg(void) { return Answer(relay::RunBlocking(loadedContext.Save())); }

short RELAYLINK_CALL GetErrorCode(void) { return static_cast<short>(State().ErrorCode & 0xFFFF); }

char *RELAYLINK_CALL GetErrorMsg(char *buffer, unsigned short length) {
  if (buffer != nullptr) CopyOut(State().ErrorMsg, buffer, length);
  return buffer;
}

short RELAYLINK_CALL DeviceCfgReady(void) { return Answer(State().CfgReady); }
short RELAYLINK_CALL CanCfgWeb(void) { return Answer(State().CfgReady && State().WebCapable); }
short RELAYLINK_CALL CanCfgButton(void) { return Answer(State().CfgReady && State().ButtonCapable); }
short RELAYLINK_CALL CanCfgMisc(void) { return Answer(State().CfgReady && State().MiscCapable); }

short RELAYLINK_CALL GetVersion(char *buffer, unsigned short length) {
  if (State().FirmwareVersion.empty()) return 0;
  return GetText(State().FirmwareVersion, buffer, length);
}

short RELAYLINK_CALL GetDeviceId(char *buffer, unsigned short length) { return GetText(State().DevDeviceId, buffer, length); }

// Each setting's getter and setter by its kind: a text's getter gives the
// device side, a switch's the pending flag; key modes go key by key (below).
#define RELAY_TEXT_EXPORTS(Stem)                                                  \
  short RELAYLINK_CALL Get##Stem(char *buffer, unsigned short length) {           \
    return GetText(State().Dev##Stem, buffer, length);                            \
  }                                                                               \
  short RELAYLINK_CALL Set##Stem(const char *text) { return SetText(State().New##Stem, text); }
#define RELAY_EXPORTS_Address RELAY_TEXT_EXPORTS
#define RELAY_EXPORTS_Text RELAY_TEXT_EXPORTS
#define RELAY_EXPORTS_Password RELAY_TEXT_EXPORTS
#define RELAY_EXPORTS_Switch(Stem)                                                         \
  short RELAYLINK_CALL Get##Stem(void) { return Answer(State().CfgReady && State().New##Stem); } \
  short RELAYLINK_CALL Set##Stem(short flag) { return SetFlag(State().New##Stem, flag); }
#define RELAY_EXPORTS_KeyModes(Stem)
#define RELAY_SETTING_EXPORTS(name, Stem, command, kind, ...) RELAY_EXPORTS_##kind(Stem)
RELAY_SETTINGS(RELAY_SETTING_EXPORTS)
#undef RELAY_SETTING_EXPORTS
#undef RELAY_EXPORTS_KeyModes
#undef RELAY_EXPORTS_Switch
#undef RELAY_EXPORTS_Password
#undef RELAY_EXPORTS_Text
#undef RELAY_EXPORTS_Address
#undef RELAY_TEXT_EXPORTS

short RELAYLINK_CALL GetButtonCfg(short key) {
  const DeviceCfgState &s = State();
  if (!s.CfgReady || !s.ButtonCapable || !IsKey(key)) return 0;
  const std::size_t index = static_cast<std::size_t>(key - 1);
  if (index >= s.DevButtonCfg.size()) return 0;
  // A digit's value; any other character the board reported (it may send
  // any byte) by the same offset, so that '0' plus the answer gives it back.
  return static_cast<short>(static_cast<unsigned char>(s.DevButtonCfg[index]) - '0');
}

short RELAYLINK_CALL SetButtonCfg(short key, short mode) { return Answer(relay::SetKeyMode(State(), key, mode)); }

}  // extern "C"
