// The exporter's configuration and listen address, as tables.
#include <gtest/gtest.h>

#include "ListenAddress.h"
#include "Modules.h"

namespace relay_exporter {
namespace {

TEST(ModulesTest, ParsedOrRefused) {
  const std::pair<const char *, bool> rows[] = {
      {R"({"modules": {}})", true},
      {R"({"modules": {"office": {"desired_state": "/etc/x.json"}, "plain": {}, "a_b-1": {}}})", true},
      {R"({"modules": {"default": {"desired_state": "/etc/x.json"}}})", true},
      {R"({"modules": []})", false},
      {R"({})", false},
      {R"([])", false},
      {R"({"modules": {"a b": {}}})", false},
      {R"({"modules": {"../x": {}}})", false},
      {R"({"modules": {"": {}}})", false},
      {R"({"modules": {"x": "/etc/x.json"}})", false},
      {R"({"modules": {"x": {"desired_state": 1}}})", false},
      {R"({"modules": )", false},
  };
  for (const auto &[text, good] : rows) {
    std::string error;
    const std::optional<Modules> modules = ParseModules(text, error);
    EXPECT_EQ(modules.has_value(), good) << text << ": " << error;
    if (modules) {
      EXPECT_TRUE(modules->count(kDefaultModule)) << text;
    }
  }
  std::string error;
  const std::optional<Modules> modules =
      ParseModules(R"({"modules": {"office": {"desired_state": "/etc/x.json"}, "plain": {}}})", error);
  ASSERT_TRUE(modules);
  EXPECT_EQ(modules->at("office").desiredPath, "/etc/x.json");
  EXPECT_EQ(modules->at("plain").desiredPath, "");
  EXPECT_EQ(modules->at(kDefaultModule).desiredPath, "");
}

TEST(ListenAddressTest, ParsedOrRefused) {
  const std::tuple<const char *, const char *, int> good[] = {
      {":10511", "0.0.0.0", 10511}, {"127.0.0.1:1", "127.0.0.1", 1}, {"localhost:65535", "localhost", 65535}};
  for (const auto &[text, host, port] : good) {
    const std::optional<ListenAddress> address = ParseListenAddress(text);
    ASSERT_TRUE(address) << text;
    EXPECT_EQ(address->host, host);
    EXPECT_EQ(address->port, port);
  }
  for (const char *text : {"", "10511", ":", ":0", ":65536", "host:x", "host:80x", ":-1"}) {
    EXPECT_FALSE(ParseListenAddress(text)) << text;
  }
}

}  // namespace
}  // namespace relay_exporter
