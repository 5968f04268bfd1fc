// The exported interface as a C caller sees it: readiness, buffers, flags.
#include <gtest/gtest.h>

#include <cstring>

#include "TestBoard.h"
#include "relaylink.h"

namespace relay::testing {
namespace {

const TextSetter kTextSetters[] = {SetIpAddr, SetSubMask, SetGateway, SetDns, SetWebServer, SetPassword};

void ExpectEverythingRefused() {
  for (const auto &[name, getter] : kTextGetters) {
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(getter(buffer, 7), 0) << name;
    EXPECT_EQ(std::string(buffer, sizeof buffer), "########") << name << " touched the buffer";
  }
  for (const auto setter : kTextSetters) EXPECT_EQ(setter("1.2.3.4"), 0);
  EXPECT_EQ(SetEnableWeb(1), 0);
  EXPECT_EQ(SetRestoreState(1), 0);
  EXPECT_EQ(SetButtonCfg(1, 1), 0);
  EXPECT_EQ(GetButtonCfg(1), 0);
  EXPECT_EQ(GetEnableWeb(), 0);
  EXPECT_EQ(GetRestoreState(), 0);
  EXPECT_EQ(CanCfgWeb(), 0);
  EXPECT_EQ(CanCfgButton(), 0);
  EXPECT_EQ(CanCfgMisc(), 0);
  EXPECT_EQ(DeviceCfgReady(), 0);
}

TEST(FreshLibrary, RefusesEveryGetterAndSetterAndHasNoStatus) {
  ExpectEverythingRefused();
  EXPECT_EQ(GetErrorCode(), 0);
  char buffer[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(GetErrorMsg(buffer, 3), buffer);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(SaveDeviceCfg(), 0);
  EXPECT_EQ(GetErrorCode(), 1006);
  EXPECT_EQ(ErrorMessage(), "Can not connect to the device.");
  ExpectEverythingRefused();
}

TEST(ErrorMessage, IsCutToLengthAndTerminated) {
  ASSERT_EQ(ReadDeviceCfg(UnusedLoopbackAddress().c_str()), 0);
  ASSERT_EQ(GetErrorCode(), 1004);
  char buffer[16];
  std::memset(buffer, '#', sizeof buffer);
  GetErrorMsg(buffer, 10);
  EXPECT_EQ(std::string(buffer, 12), std::string("Can not co\0#", 12));
  GetErrorMsg(buffer, 0);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(buffer[1], 'a');
  EXPECT_EQ(GetErrorMsg(nullptr, 10), nullptr);
}

TEST(ReadAddress, EmptyOrNullFailsAtOnceWithoutConnecting) {
  for (const char *address : {static_cast<const char *>(nullptr), ""}) {
    EXPECT_EQ(ReadDeviceCfg(address), 0);
    EXPECT_EQ(GetErrorCode(), 1004);
    EXPECT_EQ(ErrorMessage(), "Can not connect to the device.");
  }
}

TEST(ReadBoard, GettersAnswerWithTheBoardsValues) {
  TestBoard board;
  ASSERT_EQ(ReadDeviceCfg(board.address().c_str()), 1);
  EXPECT_EQ(DeviceCfgReady(), 1);
  EXPECT_EQ(CanCfgWeb(), 1);
  EXPECT_EQ(CanCfgButton(), 1);
  EXPECT_EQ(CanCfgMisc(), 1);
  EXPECT_EQ(TextOf(GetIpAddr), board.address());
  EXPECT_EQ(TextOf(GetSubMask), "255.0.0.0");
  EXPECT_EQ(TextOf(GetGateway), "127.0.0.254");
  EXPECT_EQ(TextOf(GetVersion), "1.0.42");
  EXPECT_EQ(TextOf(GetDeviceId), "RB0000000000AB");
  EXPECT_EQ(TextOf(GetPassword), "654321");
  EXPECT_EQ(TextOf(GetDns), "127.0.0.53");
  EXPECT_EQ(TextOf(GetWebServer), "relay.example.net");
  EXPECT_EQ(GetEnableWeb(), 1);
  EXPECT_EQ(GetRestoreState(), 0);
  const short expectedModes[] = {1, 2, 3, 1, 2, 3, 1, 2};
  for (short key = 1; key <= 8; ++key) EXPECT_EQ(GetButtonCfg(key), expectedModes[key - 1]) << key;
  EXPECT_EQ(GetErrorCode(), 0);  // a good read sets no status
}

TEST(ReadBoard, TextGettersCopyAtMostLengthCharacters) {
  TestBoard board;
  ASSERT_EQ(ReadDeviceCfg(board.address().c_str()), 1);
  char buffer[8];
  std::memset(buffer, '#', sizeof buffer);
  ASSERT_EQ(GetWebServer(buffer, 5), 1);
  EXPECT_EQ(std::string(buffer, 7), std::string("relay\0#", 7));
  EXPECT_EQ(GetWebServer(nullptr, 5), 0);
}

// Key and mode bounds and flag values over their whole range are in the
// hostile-caller tests; here, what a setter does to the getter and the save.
TEST(ReadBoard, KeyModeGetterAnswersWithTheBoardsSideUntilSaved) {
  TestBoard board;
  ASSERT_EQ(ReadDeviceCfg(board.address().c_str()), 1);
  EXPECT_EQ(SetButtonCfg(8, 3), 1);
  EXPECT_EQ(GetButtonCfg(8), 2);  // the getter answers with the board's side
  ASSERT_EQ(SaveDeviceCfg(), 1);
  EXPECT_EQ(board.sim().Config().buttonCfg, "12312313");
}

TEST(ReadBoard, BasicBoardWithoutKeysHasNoVersionAndRefusesKeyModes) {
  TestBoard board(BasicBoard(false));
  ASSERT_EQ(ReadDeviceCfg(board.address().c_str()), 1);
  EXPECT_EQ(CanCfgWeb(), 0);
  EXPECT_EQ(CanCfgButton(), 0);
  EXPECT_EQ(CanCfgMisc(), 1);
  EXPECT_EQ(TextOf(GetVersion), "<refused>");
  EXPECT_EQ(TextOf(GetDeviceId), "");
  EXPECT_EQ(GetButtonCfg(1), 0);
  EXPECT_EQ(SetButtonCfg(1, 2), 0);
}

TEST(ReadBoard, AnyKeyModeCharacterIsItsOffsetFromZero) {
  sim::BoardConfig config = BasicBoard(true);
  config.buttonCfg = "34\xE9" "2-x01";
  TestBoard board(config);
  ASSERT_EQ(ReadDeviceCfg(board.address().c_str()), 1);
  std::string modes;
  for (short key = 1; key <= 8; ++key) modes += static_cast<char>('0' + GetButtonCfg(key));
  EXPECT_EQ(modes, config.buttonCfg);
  EXPECT_EQ(GetButtonCfg(3), 185);
}

TEST(ReadBoard, BasicBoardAfterARemoteOneHasNoVersion) {
  TestBoard remote;
  TestBoard basic(BasicBoard(true));
  ASSERT_EQ(ReadDeviceCfg(remote.address().c_str()), 1);
  ASSERT_EQ(ReadDeviceCfg(basic.address().c_str()), 1);
  EXPECT_EQ(TextOf(GetVersion), "<refused>");
}

TEST(FailedRead, LeavesTheLibraryNotReadyUntilTheNextGoodRead) {
  TestBoard board;
  ASSERT_EQ(ReadDeviceCfg(board.address().c_str()), 1);
  ASSERT_EQ(ReadDeviceCfg(UnusedLoopbackAddress().c_str()), 0);
  EXPECT_EQ(GetErrorCode(), 1004);
  ExpectEverythingRefused();
  EXPECT_EQ(SaveDeviceCfg(), 0);
  EXPECT_EQ(GetErrorCode(), 1006);
  ASSERT_EQ(ReadDeviceCfg(board.address().c_str()), 1);
  EXPECT_EQ(GetErrorCode(), 1006);  // a good read keeps the last status
  EXPECT_EQ(SaveDeviceCfg(), 1);
  EXPECT_EQ(GetErrorCode(), 3002);
}

}  // namespace
}  // namespace relay::testing
