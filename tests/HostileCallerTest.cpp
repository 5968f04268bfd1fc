// The exported interface under a hostile caller: null pointers, empty and
// 1 MiB texts, buffer lengths 0 and 65535, keys and modes at and beyond their
// bounds, and calls in every order. Every answer is 0 or 1 with the status
// code of its outcome, and no call writes past `length` + 1 bytes.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <functional>
#include <map>

#include "GuardedBuffer.h"
#include "TestBoard.h"
#include "relaylink.h"

namespace relay::testing {
namespace {

constexpr std::size_t kMiB = 1024 * 1024;

const unsigned short kLengths[] = {0, 1, 13, 100, 65535};

// ---------------------------------------------------------------------------
// Pending values the save must reject before anything reaches the board.

enum class Value { Null, Empty, MiBOfLetters, MiBOfDigits, MiBOfSpaces, MiBInLastItem };

std::string TextFor(Value value) {
  switch (value) {
    case Value::Null:
    case Value::Empty:
      return "";
    case Value::MiBOfLetters:
      return std::string(kMiB, 'x');
    case Value::MiBOfDigits:
      return std::string(kMiB, '7');
    case Value::MiBOfSpaces:
      return std::string(kMiB, ' ');
    case Value::MiBInLastItem:  // a number far beyond 32 bits: a conversion failure
      return "10.0.0." + std::string(kMiB, '9');
  }
  return "";
}

struct RejectionCase {
  const char *name;
  TextSetter setter;
  Value value;
  int code;
};

class RejectedPendingValue : public ::testing::TestWithParam<RejectionCase> {};

TEST_P(RejectedPendingValue, IsReportedAndNothingIsSent) {
  TestBoard board;
  ASSERT_EQ(ReadDeviceCfg(board.address().c_str()), 1);
  const std::string text = TextFor(GetParam().value);
  ASSERT_EQ(GetParam().setter(GetParam().value == Value::Null ? nullptr : text.c_str()), 1);
  const int connections = board.sim().Connections();

  EXPECT_EQ(SaveDeviceCfg(), 0);
  EXPECT_EQ(GetErrorCode(), GetParam().code);
  EXPECT_EQ(DeviceCfgReady(), 1);
  EXPECT_EQ(board.sim().Frames().size(), 1u);  // the read command only
  EXPECT_EQ(board.sim().Connections(), connections);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RejectedPendingValue,
    ::testing::Values(RejectionCase{"IpNull", SetIpAddr, Value::Null, 2001},
                      RejectionCase{"IpEmpty", SetIpAddr, Value::Empty, 2001},
                      RejectionCase{"IpMiBOfLetters", SetIpAddr, Value::MiBOfLetters, 2001},
                      RejectionCase{"IpMiBOfDigits", SetIpAddr, Value::MiBOfDigits, 2001},
                      RejectionCase{"IpMiBInLastItem", SetIpAddr, Value::MiBInLastItem, 2001},
                      RejectionCase{"MaskNull", SetSubMask, Value::Null, 2002},
                      RejectionCase{"MaskMiBOfSpaces", SetSubMask, Value::MiBOfSpaces, 2002},
                      RejectionCase{"MaskMiBInLastItem", SetSubMask, Value::MiBInLastItem, 2002},
                      RejectionCase{"GatewayEmpty", SetGateway, Value::Empty, 2003},
                      RejectionCase{"GatewayMiBOfLetters", SetGateway, Value::MiBOfLetters, 2003},
                      RejectionCase{"DnsNull", SetDns, Value::Null, 2004},
                      RejectionCase{"DnsMiBInLastItem", SetDns, Value::MiBInLastItem, 2004},
                      RejectionCase{"ServerNull", SetWebServer, Value::Null, 2005},
                      RejectionCase{"ServerMiBOfSpaces", SetWebServer, Value::MiBOfSpaces, 2005},
                      RejectionCase{"PasswordNull", SetPassword, Value::Null, 2006},
                      RejectionCase{"PasswordEmpty", SetPassword, Value::Empty, 2006},
                      RejectionCase{"PasswordMiBOfDigits", SetPassword, Value::MiBOfDigits, 2006}),
    [](const auto &info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Long texts that pass the rules.

TEST(LongText, AddressInAMebibyteOfSpacesIsTrimmedAndNotWritten) {
  TestBoard board;
  ASSERT_EQ(ReadDeviceCfg(board.address().c_str()), 1);
  const std::string padding(kMiB / 2, ' ');
  ASSERT_EQ(SetIpAddr((padding + board.address() + padding).c_str()), 1);
  EXPECT_EQ(SaveDeviceCfg(), 1);
  EXPECT_EQ(GetErrorCode(), 3002);
  EXPECT_EQ(board.sim().Frames().size(), 1u);
}

TEST(LongText, MebibyteServerNameReachesTheBoardAndFailsWithinTheBounds) {
  TestBoard board;
  ASSERT_EQ(ReadDeviceCfg(board.address().c_str()), 1);
  ASSERT_EQ(SetWebServer(std::string(kMiB, 's').c_str()), 1);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(SaveDeviceCfg(), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(12));
  // The board refuses a frame that long: either its refusal arrives, or the
  // connection it drops breaks the send.
  EXPECT_TRUE(GetErrorCode() == 1002 || GetErrorCode() == 1003) << GetErrorCode();
  EXPECT_EQ(DeviceCfgReady(), 0);
  EXPECT_EQ(board.sim().Config().webServer, "relay.example.net");
}

TEST(LongText, ReadAddressFollowedByAMebibyteOfSpacesReachesTheBoard) {
  TestBoard board;
  // The address conversion stops at white space after a complete address.
  EXPECT_EQ(ReadDeviceCfg((board.address() + std::string(kMiB, ' ')).c_str()), 1);
  EXPECT_EQ(board.sim().Frames().size(), 1u);
}

// ---------------------------------------------------------------------------
// Caller buffers: every length, guard bytes on both sides.

TEST(CallerBuffer, GettersWriteAtMostLengthPlusOneBytes) {
  sim::BoardConfig config = RemoteBoard();
  config.webServer = std::string(60000, 'w');  // longer than most buffers, within a reply's limit
  TestBoard board(config);
  ASSERT_EQ(ReadDeviceCfg(board.address().c_str()), 1);
  const std::map<std::string, std::string> values = {
      {"GetVersion", "1.0.42"},        {"GetIpAddr", board.address()},   {"GetSubMask", "255.0.0.0"},
      {"GetGateway", "127.0.0.254"},   {"GetDeviceId", "RB0000000000AB"}, {"GetDns", "127.0.0.53"},
      {"GetWebServer", config.webServer}, {"GetPassword", "654321"},
  };
  for (const auto &[name, getter] : kTextGetters) {
    for (const unsigned short length : kLengths) {
      GuardedBuffer buffer(length);
      EXPECT_EQ(getter(buffer.data(), buffer.length()), 1) << name << " " << length;
      EXPECT_TRUE(buffer.Holds(values.at(name))) << name;
      EXPECT_EQ(getter(nullptr, length), 0) << name;
    }
  }
}

TEST(CallerBuffer, RefusingGettersAndTheMessageKeepToTheirBuffers) {
  for (const unsigned short length : kLengths) {
    GuardedBuffer empty(length);
    EXPECT_EQ(GetErrorMsg(empty.data(), empty.length()), empty.data());
    EXPECT_TRUE(empty.Holds("")) << "message before any status";
  }
  ASSERT_EQ(ReadDeviceCfg(UnusedLoopbackAddress().c_str()), 0);
  for (const unsigned short length : kLengths) {
    for (const auto &[name, getter] : kTextGetters) {
      GuardedBuffer buffer(length);
      EXPECT_EQ(getter(buffer.data(), buffer.length()), 0) << name;
      EXPECT_TRUE(buffer.Untouched()) << name;
    }
    GuardedBuffer message(length);
    EXPECT_EQ(GetErrorMsg(message.data(), message.length()), message.data());
    EXPECT_TRUE(message.Holds("Can not connect to the device."));
    EXPECT_EQ(GetErrorMsg(nullptr, length), nullptr);
  }
}

// ---------------------------------------------------------------------------
// Keys, modes and flags over the whole 16-bit range.

const short kKeys[] = {SHRT_MIN, -1, 0, 1, 4, 8, 9, SHRT_MAX};
const short kModes[] = {SHRT_MIN, -1, 0, 1, 2, 3, 4, SHRT_MAX};

bool IsKey(short key) { return key >= 1 && key <= 8; }
bool IsMode(short mode) { return mode >= 1 && mode <= 3; }

TEST(KeysAndModes, OnlyKeysOneToEightAndModesOneToThreeAreTaken) {
  TestBoard board;
  ASSERT_EQ(ReadDeviceCfg(board.address().c_str()), 1);
  std::string pending = "12312312";
  for (const short key : kKeys) {
    EXPECT_EQ(GetButtonCfg(key), IsKey(key) ? pending[key - 1] - '0' : 0) << key;
    for (const short mode : kModes) {
      const bool taken = IsKey(key) && IsMode(mode);
      EXPECT_EQ(SetButtonCfg(key, mode), taken ? 1 : 0) << key << "/" << mode;
      if (taken) pending[key - 1] = static_cast<char>('0' + mode);
    }
  }
  ASSERT_EQ(SaveDeviceCfg(), 1);
  EXPECT_EQ(board.sim().Config().buttonCfg, pending);
}

TEST(KeysAndModes, BoardWithoutKeyModesTakesNone) {
  TestBoard board(BasicBoard(false));
  ASSERT_EQ(ReadDeviceCfg(board.address().c_str()), 1);
  for (const short key : kKeys) {
    EXPECT_EQ(GetButtonCfg(key), 0) << key;
    for (const short mode : kModes) EXPECT_EQ(SetButtonCfg(key, mode), 0) << key << "/" << mode;
  }
  EXPECT_EQ(SaveDeviceCfg(), 1);
  EXPECT_EQ(GetErrorCode(), 3002);
}

TEST(Flags, AnyNonZeroValueIsOn) {
  TestBoard board;
  ASSERT_EQ(ReadDeviceCfg(board.address().c_str()), 1);
  for (const short flag : {SHRT_MIN, -5, -1, 0, 1, 2, SHRT_MAX}) {
    EXPECT_EQ(SetRestoreState(flag), 1);
    EXPECT_EQ(GetRestoreState(), flag != 0 ? 1 : 0) << flag;
    EXPECT_EQ(SetEnableWeb(flag), 1);
    EXPECT_EQ(GetEnableWeb(), flag != 0 ? 1 : 0) << flag;
  }
}

// ---------------------------------------------------------------------------
// Calls in every order: each operation follows each other one, and after
// every step readiness, status code and message are what the outcomes so far
// make them.

struct Expected {
  bool ready = false;
  int code = 0;
  bool versionKnown = false;
  bool badPendingAddress = false;  // a rejected IP address waits in the pending values
  bool restoreEdited = false;      // a changed restore flag waits in the pending values
};

const std::map<int, std::string> kMessages = {
    {0, ""},
    {1002, "Operation failed."},
    {1004, "Can not connect to the device."},
    {1006, "Can not connect to the device."},
    {2001, "Wrong IP address."},
    {3001, "Config was saved successfully, and device was restarted."},
    {3002, "Config was saved successfully."},
};

// The outcome of a save of whatever is pending.
void ExpectSave(Expected &e) {
  const short result = SaveDeviceCfg();
  if (!e.ready) {
    EXPECT_EQ(result, 0);
    e.code = 1006;
  } else if (e.badPendingAddress) {
    EXPECT_EQ(result, 0);
    e.code = 2001;
  } else if (e.restoreEdited) {
    EXPECT_EQ(result, 1);
    e.code = 3001;
    e.ready = false;
    e.restoreEdited = false;
  } else {
    EXPECT_EQ(result, 1);
    e.code = 3002;
  }
}

struct Operation {
  const char *name;
  std::function<void(Expected &)> run;
};

TEST(CallOrder, EveryOperationAfterEveryOtherAnswersConsistently) {
  TestBoard remote;
  TestBoard basic(BasicBoard(false));
  sim::SimOptions refusing;
  refusing.faults.push_back(sim::Fault{sim::FaultKind::Refuse, '6'});
  TestBoard refuser(RemoteBoard(), refusing);
  const std::string nowhere = UnusedLoopbackAddress();
  const Operation operations[] = {
      {"read a remote-control board",
       [&](Expected &e) {
         EXPECT_EQ(ReadDeviceCfg(remote.address().c_str()), 1);
         e = Expected{true, e.code, true, false, false};
       }},
      {"read a basic board",
       [&](Expected &e) {
         EXPECT_EQ(ReadDeviceCfg(basic.address().c_str()), 1);
         e = Expected{true, e.code, false, false, false};
       }},
      {"read where nothing listens",
       [&](Expected &e) {
         EXPECT_EQ(ReadDeviceCfg(nowhere.c_str()), 0);
         e.ready = false;
         e.code = 1004;
       }},
      {"save", [&](Expected &e) { ExpectSave(e); }},
      {"read a board that refuses writes and save a change to it",
       [&](Expected &e) {
         EXPECT_EQ(ReadDeviceCfg(refuser.address().c_str()), 1);
         EXPECT_EQ(SetRestoreState(GetRestoreState() == 0 ? 1 : 0), 1);
         EXPECT_EQ(SaveDeviceCfg(), 0);
         e = Expected{false, 1002, true, false, false};
       }},
      {"change the restore flag and save",
       [&](Expected &e) {
         EXPECT_EQ(SetRestoreState(GetRestoreState() == 0 ? 1 : 0), e.ready ? 1 : 0);
         e.restoreEdited = e.ready ? !e.restoreEdited : e.restoreEdited;
         ExpectSave(e);
       }},
      {"save a rejected address",
       [&](Expected &e) {
         EXPECT_EQ(SetIpAddr("1.2.x.4"), e.ready ? 1 : 0);
         e.badPendingAddress = e.badPendingAddress || e.ready;
         ExpectSave(e);
       }},
      {"set every value to what the board holds",
       [&](Expected &e) {
         const short expected = e.ready ? 1 : 0;
         EXPECT_EQ(SetIpAddr(TextOf(GetIpAddr).c_str()), expected);
         EXPECT_EQ(SetSubMask(TextOf(GetSubMask).c_str()), expected);
         EXPECT_EQ(SetGateway(TextOf(GetGateway).c_str()), expected);
         EXPECT_EQ(SetButtonCfg(1, static_cast<short>(GetButtonCfg(1))), CanCfgButton());
         if (e.ready) e.badPendingAddress = false;
       }},
      {"get every value",
       [&](Expected &e) {
         for (const auto &[name, getter] : kTextGetters) {
           GuardedBuffer buffer(100);
           const bool answers = e.ready && (getter != GetVersion || e.versionKnown);
           EXPECT_EQ(getter(buffer.data(), buffer.length()), answers ? 1 : 0) << name;
           if (!answers) {
             EXPECT_TRUE(buffer.Untouched()) << name;
           }
         }
       }},
  };

  Expected expected;
  const auto step = [&](const Operation &operation, const std::string &after) {
    operation.run(expected);
    const std::string where = std::string(operation.name) + " after " + after;
    EXPECT_EQ(DeviceCfgReady(), expected.ready ? 1 : 0) << where;
    EXPECT_EQ(CanCfgMisc(), expected.ready ? 1 : 0) << where;
    EXPECT_EQ(GetErrorCode(), expected.code) << where;
    EXPECT_EQ(ErrorMessage(), kMessages.at(expected.code)) << where;
  };
  for (const Operation &first : operations) {
    for (const Operation &second : operations) {
      step(first, "the previous pair");
      step(second, first.name);
    }
  }
}

}  // namespace
}  // namespace relay::testing
