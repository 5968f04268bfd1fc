#include "board/BoardText.h"

#include <cstdio>

namespace relayctl {
namespace {

bool IsControl(unsigned code) { return code < 0x20 || (code >= 0x7F && code <= 0x9F); }

std::string Escaped(unsigned byte) {
  char text[8];
  std::snprintf(text, sizeof text, "\\x%02x", byte & 0xFFu);
  return text;
}

void AppendUtf8(std::string &out, unsigned code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// The code point of the UTF-8 sequence at `at` and its length, or nullopt
// for bytes that are no well-formed sequence (overlong forms and surrogates
// included).
struct Decoded {
  unsigned code;
  std::size_t length;
};
std::optional<Decoded> DecodeAt(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned lead = byte(at);
  if (lead < 0x80) return Decoded{lead, 1};
  std::size_t length = 0;
  unsigned code = 0, least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07, least = 0x10000;
  } else {
    return std::nullopt;
  }
  if (at + length > text.size()) return std::nullopt;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return std::nullopt;
    code = (code << 6) | (byte(at + i) & 0x3F);
  }
  if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
  return Decoded{code, length};
}

std::string CharacterName(unsigned code) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", code);
  return text;
}

}  // namespace

std::string JsonFromBytes(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (const char c : bytes) AppendUtf8(text, static_cast<unsigned char>(c));
  return text;
}

std::optional<std::string> BytesFromJson(std::string_view text, std::string &why, Secret secret) {
  std::string bytes;
  for (std::size_t at = 0; at < text.size();) {
    const std::optional<Decoded> decoded = DecodeAt(text, at);
    if (!decoded) {
      why = "is no UTF-8 text";
      return std::nullopt;
    }
    if (decoded->code == 0) {
      why = "holds a NUL character";
      return std::nullopt;
    }
    if (decoded->code > 0xFF) {
      why = secret == Secret::Yes ? "has a character above U+00FF"
                                  : "has the character " + CharacterName(decoded->code) + ", above U+00FF";
      return std::nullopt;
    }
    bytes += static_cast<char>(decoded->code);
    at += decoded->length;
  }
  return bytes;
}

std::optional<std::string> BytesFromTyped(std::string_view typed, TextEncoding encoding, std::string &why,
                                          Secret secret) {
  if (encoding == TextEncoding::Utf8) return BytesFromJson(typed, why, secret);
  // A NUL would cut the value on its way to the board, whatever the locale.
  if (typed.find('\0') != std::string_view::npos) {
    why = "holds a NUL character";
    return std::nullopt;
  }
  return std::string(typed);
}

std::string_view WithoutByteOrderMark(std::string_view text) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  return text;
}

std::string Shown(std::string_view bytes, TextEncoding encoding) {
  std::string text;
  for (const char c : bytes) {
    const unsigned byte = static_cast<unsigned char>(c);
    if (IsControl(byte)) {
      text += Escaped(byte);
    } else if (encoding == TextEncoding::Utf8) {
      AppendUtf8(text, byte);
    } else {
      text += c;
    }
  }
  return text;
}

std::string Printable(std::string_view message, TextEncoding encoding) {
  if (encoding == TextEncoding::SingleByte) {
    std::string text;
    for (const char c : message) {
      const unsigned byte = static_cast<unsigned char>(c);
      text += IsControl(byte) ? Escaped(byte) : std::string(1, c);
    }
    return text;
  }
  std::string text;
  for (std::size_t at = 0; at < message.size();) {
    const std::optional<Decoded> decoded = DecodeAt(message, at);
    if (!decoded) {
      text += Escaped(static_cast<unsigned char>(message[at++]));
    } else if (IsControl(decoded->code)) {
      text += Escaped(decoded->code);
      at += decoded->length;
    } else {
      text.append(message.substr(at, decoded->length));
      at += decoded->length;
    }
  }
  return text;
}

std::string JsonMessage(std::string_view message, TextEncoding encoding) {
  const std::string printable = Printable(message, encoding);
  return encoding == TextEncoding::Utf8 ? printable : JsonFromBytes(printable);
}

}  // namespace relayctl
