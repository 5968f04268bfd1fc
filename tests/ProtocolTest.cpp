// Request frames and the configuration reply, as pure text.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <vector>

#include "Protocol.h"
#include "SimBoard.h"
#include "SimConfigFile.h"
#include "Status.h"

namespace relay {
namespace {

TEST(Frames, CarryCodeTagAndValue) {
  EXPECT_EQ(BuildCommand(Command::ReportConfig, 4821), "#14821;");
  EXPECT_EQ(BuildCommand(Command::SetGateway, 4821, "10.0.0.1"), "#44821,10.0.0.1;");
  EXPECT_EQ(BuildCommand(Command::Restart, 0), "#70;");
  EXPECT_EQ(BuildCommand(Command::SetEnableWeb, 9999, "1"), "#A9999,1;");
  EXPECT_EQ(BuildCommand(Command::SetPassword, 7, ""), "#B7,;");
}

TEST(Acknowledgement, IsExactlyOkInCapitals) {
  EXPECT_TRUE(IsAcknowledgement(">OK;"));
  EXPECT_FALSE(IsAcknowledgement(">ok;"));
  EXPECT_FALSE(IsAcknowledgement(">OK;\r\n"));
  EXPECT_FALSE(IsAcknowledgement(">OK"));
  EXPECT_FALSE(IsAcknowledgement(""));
}

// Where a frame ends, for whole inputs and for the same input arriving byte by
// byte: nothing is complete before the first ';' has arrived.
TEST(FrameEnd, IsJustPastTheFirstSemicolon) {
  const struct {
    const char *received;
    std::size_t end;
  } cases[] = {{"", std::string::npos},       {">OK", std::string::npos}, {">OK;", 4},
               {">OK;\r\n", 4},              {">a;b;", 3},                {";", 1}};
  for (const auto &c : cases) {
    const std::string_view received = c.received;
    EXPECT_EQ(FrameEnd(received), c.end) << received;
    for (std::size_t size = 0; size < received.size(); ++size) {
      EXPECT_EQ(FrameEnd(received.substr(0, size)), size < c.end ? std::string::npos : c.end) << received;
    }
  }
}

TEST(EmptyItems, FilledInOnePassThatSkipsReplacedText) {
  EXPECT_EQ(FillEmptyItems("a,,b"), "a,.,b");
  EXPECT_EQ(FillEmptyItems("a,,,b"), "a,.,,b");
  EXPECT_EQ(FillEmptyItems("a,,,,b"), "a,.,,.,b");
  EXPECT_EQ(FillEmptyItems(",a,"), ",a,");
  EXPECT_EQ(FillEmptyItems(""), "");
}

const char kFullReply[] = ">10.0.0.7,255.255.255.0,10.0.0.1,12312312,1,42,RB0000000000AB654321,10.0.0.53,relay.example.net,1;";

struct ReplyCase {
  const char *name;
  std::string reply;
  bool accepted;
};

class ReplyShape : public testing::TestWithParam<ReplyCase> {};

TEST_P(ReplyShape, IsJudged) {
  DeviceSideValues dev;
  std::string version;
  EXPECT_EQ(ParseCfgReply(GetParam().reply, dev, version), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReplyShape,
    testing::Values(
        ReplyCase{"Full", kFullReply, true},
        ReplyCase{"FiveItems", ">1.2.3.4,255.0.0.0,1.2.3.1,11111111,0;", true},
        ReplyCase{"FiveItemsNoKeys", ">1.2.3.4,255.0.0.0,1.2.3.1,,0;", true},
        ReplyCase{"NineItems", ">1.2.3.4,255.0.0.0,1.2.3.1,.,0,a,b,c,d;", true},
        ReplyCase{"SixItems", ">1.2.3.4,255.0.0.0,1.2.3.1,.,0,a;", false},
        ReplyCase{"SevenItems", ">1.2.3.4,255.0.0.0,1.2.3.1,.,0,a,b;", false},
        ReplyCase{"EightItems", ">1.2.3.4,255.0.0.0,1.2.3.1,.,0,a,b,c;", false},
        ReplyCase{"ElevenItems", std::string(kFullReply).insert(1, "x,"), false},
        ReplyCase{"FiveItemsWithDotKeys", ">0.0.0.0,0.0.0.0,0.0.0.0,.,0;", true},
        ReplyCase{"NineCharacters", ">1,2,3,4;", false},
        ReplyCase{"NoStart", "10.0.0.7,255.255.255.0,10.0.0.1,.,0;", false},
        ReplyCase{"NoEnd", ">10.0.0.7,255.255.255.0,10.0.0.1,.,0", false},
        ReplyCase{"Empty", "", false},
        ReplyCase{"KeyModesTooShort", ">1.2.3.4,255.0.0.0,1.2.3.1,1111,0;", false},
        ReplyCase{"KeyModesAnyEightCharacters", ">1.2.3.4,255.0.0.0,1.2.3.1,abcdefgh,0;", true},
        ReplyCase{"BadIp", ">1.2.3.400,255.0.0.0,1.2.3.1,.,0;", false},
        ReplyCase{"BadMask", ">1.2.3.4,255.0.0,1.2.3.1,.,0;", false},
        ReplyCase{"BadGateway", ">1.2.3.4,255.0.0.0,gate,.,0;", false},
        ReplyCase{"NotANumber", ">1.2.x.4,255.0.0.0,1.2.3.1,.,0;", false},
        ReplyCase{"IdTooShort", ">1.2.3.4,255.0.0.0,1.2.3.1,.,0,1,RB0001654321,1.1.1.1,s,1;", false},
        ReplyCase{"IdTooLong", ">1.2.3.4,255.0.0.0,1.2.3.1,.,0,1,RB00000000000AB654321,1.1.1.1,s,1;", false},
        ReplyCase{"EmptyDnsArrivesAsDot", ">1.2.3.4,255.0.0.0,1.2.3.1,.,0,1,RB0000000000AB654321,,s,1;", false},
        ReplyCase{"BadDns", ">1.2.3.4,255.0.0.0,1.2.3.1,.,0,1,RB0000000000AB654321,1.1.1,s,1;", false},
        ReplyCase{"EmptyLastItemReadAsNine", ">1.2.3.4,255.0.0.0,1.2.3.1,.,0,1,RB0000000000AB654321,1.1.1.1,s,;", true},
        ReplyCase{"TwoEmptyItemsLoseOne", ">1.2.3.4,255.0.0.0,,,0;", false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Reply, TenItemsFillEveryDeviceSideValueInNormalForm) {
  DeviceSideValues dev;
  std::string version;
  ASSERT_TRUE(ParseCfgReply(">010.000.000.007,255.255.255.000,10.0.0.01,12312312,1,42,RB0000000000AB654321,"
                            "010.0.0.53,relay.example.net,1;",
                            dev, version));
  EXPECT_EQ(dev.DevIpAddr, "10.0.0.7");
  EXPECT_EQ(dev.DevSubMask, "255.255.255.0");
  EXPECT_EQ(dev.DevGateway, "10.0.0.1");
  EXPECT_EQ(dev.DevButtonCfg, "12312312");
  EXPECT_TRUE(dev.DevRestoreState);
  EXPECT_EQ(version, "42");
  EXPECT_EQ(dev.DevDeviceId, "RB0000000000AB");
  EXPECT_EQ(dev.DevPassword, "654321");
  EXPECT_EQ(dev.DevDns, "10.0.0.53");
  EXPECT_EQ(dev.DevWebServer, "relay.example.net");
  EXPECT_TRUE(dev.DevEnableWeb);
}

// The names of the settings whose device-side values differ.
std::vector<std::string> Differing(const DeviceSideValues &a, const DeviceSideValues &b) {
  std::vector<std::string> names;
#define RELAY_DIFFERING(name, Stem, ...) \
  if (a.Dev##Stem != b.Dev##Stem) names.push_back(#name);
  RELAY_SETTINGS(RELAY_DIFFERING)
#undef RELAY_DIFFERING
  return names;
}

TEST(Reply, EachSettingComesFromTheItemItsDescriptionNames) {
  const std::vector<std::string> items = {"10.0.0.7",  "255.255.255.0",     "10.0.0.1", "12312312", "0", "42",
                                          "RB0000000000AB654321", "10.0.0.53", "relay.example.net", "0"};
  const auto parsed = [](const std::vector<std::string> &reply) {
    std::string text = ">";
    for (const std::string &item : reply) text += item + (&item == &reply.back() ? ";" : ",");
    DeviceSideValues dev;
    std::string version;
    EXPECT_TRUE(ParseCfgReply(text, dev, version)) << text;
    return dev;
  };
  const DeviceSideValues before = parsed(items);
  for (const SettingFacts &setting : kSettings) {
    std::vector<std::string> changed = items;
    std::string &item = changed.at(static_cast<std::size_t>(setting.item));
    switch (setting.kind) {
      case SettingKind::Address: item = "10.0.0.99"; break;
      case SettingKind::KeyModes: item = "33333333"; break;
      case SettingKind::Switch: item = "1"; break;
      case SettingKind::Text: item = "other.example.net"; break;
      case SettingKind::Password: item = item.substr(0, 14) + "999999"; break;
    }
    EXPECT_EQ(Differing(before, parsed(changed)), std::vector<std::string>{setting.name}) << setting.name;
  }
}

TEST(Reply, ShortRepliesClearIdAndDnsButKeepServerPasswordAndSwitch) {
  DeviceSideValues dev;
  std::string version = "old";
  ASSERT_TRUE(ParseCfgReply(kFullReply, dev, version));
  ASSERT_TRUE(ParseCfgReply(">1.2.3.4,255.0.0.0,1.2.3.1,,On;", dev, version));
  EXPECT_EQ(dev.DevButtonCfg, ".");
  EXPECT_FALSE(dev.DevRestoreState);  // only "1" means on
  EXPECT_EQ(version, "");
  EXPECT_EQ(dev.DevDeviceId, "");
  EXPECT_EQ(dev.DevDns, "");
  EXPECT_EQ(dev.DevPassword, "654321");
  EXPECT_EQ(dev.DevWebServer, "relay.example.net");
  EXPECT_TRUE(dev.DevEnableWeb);
}

TEST(Reply, EmptyVersionItemArrivesAsDot) {
  DeviceSideValues dev;
  std::string version;
  ASSERT_TRUE(ParseCfgReply(">1.2.3.4,255.0.0.0,1.2.3.1,.,0,,RB0000000000AB654321,1.1.1.1,s,0;", dev, version));
  EXPECT_EQ(version, ".");
  EXPECT_FALSE(dev.DevEnableWeb);
}

TEST(Reply, RejectedReplyHasOverwrittenTheFieldsItReached) {
  DeviceSideValues dev;
  std::string version;
  ASSERT_TRUE(ParseCfgReply(kFullReply, dev, version));
  EXPECT_FALSE(ParseCfgReply(">001.2.3.4,255.0.0.0,999.2.3.1,1111,0;", dev, version));
  EXPECT_EQ(dev.DevIpAddr, "1.2.3.4");  // checked and rewritten before the gateway failed
  EXPECT_EQ(dev.DevGateway, "999.2.3.1");
  EXPECT_EQ(dev.DevButtonCfg, "1111");
  EXPECT_EQ(dev.DevDeviceId, "");
}

// The stand-in board's frame check and reply, which the tests rely on.
TEST(SimBoard, ChecksFramesStrictly) {
  using sim::ParseFrame;
  EXPECT_TRUE(ParseFrame("#14821;"));
  EXPECT_TRUE(ParseFrame("#20,10.0.0.7;"));
  EXPECT_TRUE(ParseFrame("#B9999,;"));
  EXPECT_FALSE(ParseFrame("#1;"));
  EXPECT_FALSE(ParseFrame("#112345;"));
  EXPECT_FALSE(ParseFrame("#1x;"));
  EXPECT_FALSE(ParseFrame("#11,5;"));  // command 1 carries no value
  EXPECT_FALSE(ParseFrame("#21;"));    // command 2 needs one
  EXPECT_FALSE(ParseFrame("#C1;"));
  EXPECT_FALSE(ParseFrame("14821;"));
}

TEST(SimBoard, RepliesParseBackToItsConfiguration) {
  sim::BoardConfig config;
  DeviceSideValues dev;
  std::string version;
  ASSERT_TRUE(ParseCfgReply(sim::CfgReply(config), dev, version));
  EXPECT_EQ(dev.DevDeviceId + dev.DevPassword, config.deviceId + config.password);
  config.model = sim::Model::Basic;
  config.buttonCfg.clear();
  ASSERT_TRUE(ParseCfgReply(sim::CfgReply(config), dev, version));
  EXPECT_EQ(dev.DevButtonCfg, ".");
}

// The stand-in board's settings: each is stored as given (or in normal form)
// or refused, leaving the configuration as it was.
TEST(SimBoard, SettingsStoreOnlyValidValues) {
  struct Row {
    const char *name, *value;
    const char *stored;  // nullptr: refused
  };
  const Row rows[] = {
      {"ip", "127.4.0.7", "127.4.0.7"},   {"ip", "127.004.0.07", "127.4.0.7"}, {"ip", "127.4.0.300", nullptr},
      {"ip", "127.4.0", nullptr},          {"ip", "0x7f.4.0.1", nullptr},      {"ip", " 127.4.0.7", nullptr},
      {"mask", "255.255.0.0", "255.255.0.0"}, {"gateway", "1.2.3.4.5", nullptr}, {"dns", "", nullptr},
      {"keys", "33221133", "33221133"},   {"keys", "none", ""},               {"keys", "123", nullptr},
      {"keys", "12341234", nullptr},       {"keys", "123123123", nullptr},
      {"password", "000999", "000999"},   {"password", "abc", nullptr},       {"password", "1234567", nullptr},
      {"id", "RB000000000042", "RB000000000042"}, {"id", "short", nullptr},  {"id", "RB0000000000042", nullptr},
  };
  for (const Row &row : rows) {
    sim::BoardConfig config;
    const sim::BoardConfig before = config;
    const bool applied = sim::ApplySetting(config, row.name, row.value);
    EXPECT_EQ(applied, row.stored != nullptr) << row.name << "=" << row.value;
    if (row.stored) {
      const std::string_view name = row.name;
      const std::string &field = name == "ip"         ? config.ipAddr
                                 : name == "mask"     ? config.subMask
                                 : name == "gateway"  ? config.gateway
                                 : name == "dns"      ? config.dns
                                 : name == "keys"     ? config.buttonCfg
                                 : name == "password" ? config.password
                                                      : config.deviceId;
      EXPECT_EQ(field, row.stored) << row.name << "=" << row.value;
    } else {
      EXPECT_EQ(sim::CfgReply(config), sim::CfgReply(before)) << row.name << "=" << row.value;
    }
  }
}

// The message in each status constant's comment in relaylink.h is the one
// the library gives for that code.
TEST(PublicHeader, EveryStatusConstantCarriesItsMessage) {
  std::ifstream file(RELAYLINK_HEADER);
  ASSERT_TRUE(file) << RELAYLINK_HEADER;
  std::stringstream text;
  text << file.rdbuf();
  const std::string header = text.str();
  const std::regex constant(R"re(#define (RELAYLINK_\w+) (\d+) +/\* "([^"]*)")re");
  int count = 0;
  for (auto it = std::sregex_iterator(header.begin(), header.end(), constant); it != std::sregex_iterator(); ++it) {
    const std::smatch &match = *it;
    EXPECT_STREQ(StatusMessage(static_cast<Status>(std::stoi(match[2]))), match[3].str().c_str()) << match[1];
    ++count;
  }
  EXPECT_EQ(count, 14);
}

}  // namespace
}  // namespace relay
