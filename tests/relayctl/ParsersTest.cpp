// Address ranges, address lists and NAME=VALUE settings, fed as text.
#include <gtest/gtest.h>

#include "board/AddressRange.h"
#include "board/BoardText.h"
#include "io/Assignments.h"

namespace relayctl {
namespace {

TEST(ParseRange, Forms) {
  struct Case {
    const char *text;
    std::size_t count;
    const char *first;
    const char *last;
  };
  const Case cases[] = {
      {"10.0.0.0/24", 254, "10.0.0.1", "10.0.0.254"},
      {"10.0.0.77/24", 254, "10.0.0.1", "10.0.0.254"},  // host bits ignored
      {"10.0.0.0/30", 2, "10.0.0.1", "10.0.0.2"},
      {"10.0.0.4/31", 2, "10.0.0.4", "10.0.0.5"},
      {"10.0.0.9/32", 1, "10.0.0.9", "10.0.0.9"},
      {"10.1.0.0/16", 65534, "10.1.0.1", "10.1.255.254"},
      {"10.0.0.250-10.0.1.4", 11, "10.0.0.250", "10.0.1.4"},
      {"10.0.0.5-40", 36, "10.0.0.5", "10.0.0.40"},
      {"10.0.0.7", 1, "10.0.0.7", "10.0.0.7"},
      {"10.0.0.0-10.0.255.255", 65536, "10.0.0.0", "10.0.255.255"},
  };
  for (const Case &c : cases) {
    std::string error;
    const auto addresses = ParseRange(c.text, error);
    ASSERT_TRUE(addresses) << c.text << ": " << error;
    EXPECT_EQ(addresses->size(), c.count) << c.text;
    EXPECT_EQ(FormatAddress(addresses->front()), c.first) << c.text;
    EXPECT_EQ(FormatAddress(addresses->back()), c.last) << c.text;
  }
}

TEST(ParseRange, Refusals) {
  for (const char *text : {"10.0.0.0/15", "10.0.0.0-10.1.0.0", "10.0.0.9-10.0.0.8", "10.0.0.9-3", "10.0.0.0/33",
                           "10.0.0/24", "10.0.0.256", "10.0.0.1-", "host.example", "", "10.0.0.0/", "1.2.3.4.5"}) {
    std::string error;
    EXPECT_FALSE(ParseRange(text, error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

TEST(ParseAddressList, SkipsCommentsAndBlanksAndNamesTheBadLine) {
  std::string error;
  const auto list = ParseAddressList("# boards\n10.0.0.1\n\n  10.0.0.2  # spare\r\n10.0.0.3", error);
  ASSERT_TRUE(list) << error;
  EXPECT_EQ(*list, (std::vector<std::string>{"10.0.0.1", "10.0.0.2", "10.0.0.3"}));
  const auto marked = ParseAddressList("\xEF\xBB\xBF" "10.0.0.1\n", error);  // a byte-order mark first
  ASSERT_TRUE(marked) << error;
  EXPECT_EQ(*marked, (std::vector<std::string>{"10.0.0.1"}));
  EXPECT_FALSE(ParseAddressList("10.0.0.1\nboard-7\n", error));
  EXPECT_EQ(error, "line 2: 'board-7' is not an IPv4 address (four numbers 0..255 joined by dots)");
}

TEST(ParseAssignments, EveryName) {
  std::string error;
  const auto changes = ParseAssignments({"ip=10.0.0.2", "mask=255.255.255.0", "gateway=10.0.0.1", "dns=10.0.0.53",
                                         "server=relay.example", "password=012345", "restore=on", "remote=off",
                                         "key1=jog", "key8=2", "key4=keep"},
                                        TextEncoding::Utf8, error);
  ASSERT_TRUE(changes) << error;
  EXPECT_EQ(changes->ip, "10.0.0.2");
  EXPECT_EQ(changes->mask, "255.255.255.0");
  EXPECT_EQ(changes->gateway, "10.0.0.1");
  EXPECT_EQ(changes->dns, "10.0.0.53");
  EXPECT_EQ(changes->server, "relay.example");
  EXPECT_EQ(changes->password, "012345");
  EXPECT_EQ(changes->restore, true);
  EXPECT_EQ(changes->remote, false);
  EXPECT_EQ(changes->keys, "3--1---2");

  const auto keys = ParseAssignments({"keys=12312312"}, TextEncoding::Utf8, error);
  ASSERT_TRUE(keys);
  EXPECT_EQ(keys->keys, "12312312");
  EXPECT_FALSE(keys->ip || keys->restore || keys->remote);
}

TEST(ParseAssignments, Refusals) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"ip"},
      {"=10.0.0.1"},
      {"colour=red"},
      {"keys=1231231"},
      {"keys=12312314"},
      {"key0=jog"},
      {"key9=jog"},
      {"key1=4"},
      {"key1=Jog"},
      {"restore=1"},
      {"remote=ON"},
      {"ip=10.0.0.1", "ip=10.0.0.2"},
      {"keys=12312312", "key1=jog"},
      {"key1=jog", "keys=12312312"},
      {"server=\xe2\x82\xac.example"},  // U+20AC, no board byte
      {"server=\xe9.example"},            // in a UTF-8 locale no text at all
  };
  for (const auto &arguments : cases) {
    std::string error;
    EXPECT_FALSE(ParseAssignments(arguments, TextEncoding::Utf8, error))
        << (arguments.empty() ? "(none)" : arguments.front());
    EXPECT_FALSE(error.empty());
  }
}

TEST(AssignmentLines, LinesOfAFromFile) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
    std::string error;
  };
  const Case cases[] = {
      // CR LF, empty lines and a line without '=' are the SetFrom row of CommandTable.
      {"", {}, ""},
      {"server=a b=c\n", {"server=a b=c"}, ""},
      {"\n=012345", {}, "line 2: expected NAME=VALUE"},
  };
  for (const Case &c : cases) {
    std::string error;
    const auto lines = AssignmentLines(c.text, error);
    EXPECT_EQ(error, c.error) << c.text;
    if (c.error.empty()) {
      EXPECT_EQ(lines, c.lines) << c.text;
    }
  }
}

// A board's texts as bytes: the JSON form and back, typed values, and what a
// terminal gets. Each row is one text through every function that applies.
TEST(BoardText, BytesSurviveAndControlsAreShownEscaped) {
  struct Case {
    const char *name;
    std::string bytes;
    std::string json;      // JsonFromBytes, read back by BytesFromJson
    std::string utf8Shown;  // Shown on a UTF-8 terminal
    std::string byteShown;  // Shown on a single-byte terminal
  };
  const Case cases[] = {
      {"plain", "relay.example", "relay.example", "relay.example", "relay.example"},
      {"Latin-1 letter", "serv\xe9ur", "serv\xc3\xa9ur", "serv\xc3\xa9ur", "serv\xe9ur"},
      {"the last byte", "\xff", "\xc3\xbf", "\xc3\xbf", "\xff"},
      {"clear screen", "\x1b[2J\x1b[H", "\x1b[2J\x1b[H", "\\x1b[2J\\x1b[H", "\\x1b[2J\\x1b[H"},
      {"OSC 52", "\x1b]52;c;cHduZWQ=\x07", "\x1b]52;c;cHduZWQ=\x07", "\\x1b]52;c;cHduZWQ=\\x07",
       "\\x1b]52;c;cHduZWQ=\\x07"},
      {"C1 CSI and DEL", "a\x9b" "2Jb\x7f", "a\xc2\x9b" "2Jb\x7f", "a\\x9b2Jb\\x7f", "a\\x9b2Jb\\x7f"},
      {"line end", "a\r\nb", "a\r\nb", "a\\x0d\\x0ab", "a\\x0d\\x0ab"},
  };
  for (const Case &c : cases) {
    std::string why;
    EXPECT_EQ(JsonFromBytes(c.bytes), c.json) << c.name;
    EXPECT_EQ(BytesFromJson(c.json, why), c.bytes) << c.name;
    EXPECT_EQ(Shown(c.bytes, TextEncoding::Utf8), c.utf8Shown) << c.name;
    EXPECT_EQ(Shown(c.bytes, TextEncoding::SingleByte), c.byteShown) << c.name;
    EXPECT_EQ(Printable(c.utf8Shown, TextEncoding::Utf8), c.utf8Shown) << c.name;  // safe text stays as it is
    EXPECT_EQ(Printable(c.byteShown, TextEncoding::SingleByte), c.byteShown) << c.name;
  }
  // Messages with raw bytes: a path holding 0xE9, an escape from a file's key.
  EXPECT_EQ(Printable("dir\xe9/\x1b[1A", TextEncoding::Utf8), "dir\\xe9/\\x1b[1A");
  EXPECT_EQ(Printable("dir\xe9/\xc2\x9b", TextEncoding::SingleByte), "dir\xe9/\xc2\\x9b");
  EXPECT_EQ(JsonMessage("dir\xe9", TextEncoding::SingleByte), "dir\xc3\xa9");

  const struct {
    std::string json;
    const char *why;
  } refused[] = {
      {std::string("good.example\0.evil", 18), "holds a NUL character"},
      {"\xe2\x82\xac", "has the character U+20AC, above U+00FF"},
      {"\xe9", "is no UTF-8 text"},
      {"\xc0\xa9", "is no UTF-8 text"},  // overlong
  };
  for (const auto &r : refused) {
    std::string why;
    EXPECT_FALSE(BytesFromJson(r.json, why)) << r.why;
    EXPECT_EQ(why, r.why);
  }
}

}  // namespace
}  // namespace relayctl
