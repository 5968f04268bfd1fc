// How relayctl carries a board's texts (firmware, device ID, server name, DNS
// and the other settings). A board's texts are bytes: the device's texts are
// single-byte, and whatever a board sends is taken as it comes.
//
// - In JSON (show --json, backups, scan --json, the messages between worker
//   processes) each byte is the character of the same number (ISO-8859-1),
//   so the JSON is valid UTF-8 and reads back to the same bytes. On the way
//   back a text with a character above U+00FF or a NUL is refused, never cut.
// - A value typed on the command line is taken in the terminal's encoding by
//   the same rule: in a UTF-8 locale a character up to U+00FF is its byte;
//   in a single-byte locale the bytes are taken as typed. A NUL is refused in
//   every locale.
// - On a terminal and in every message, control characters (C0, DEL and C1,
//   so ESC too) appear as \xNN, so that a board's text can never move the
//   cursor, clear the screen or reach the clipboard. In a single-byte locale
//   bytes from 0xA0 go out as they are; in a UTF-8 locale as their character.
//
// Pure: the terminal's encoding is a parameter (platform/Terminal.h tells it).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace relayctl {

enum class TextEncoding { Utf8, SingleByte };

// The bytes as JSON text: each byte the character of the same number.
std::string JsonFromBytes(std::string_view bytes);

// Whether a text is a secret (the password): then `why` never names one of
// its characters.
enum class Secret { No, Yes };

// The bytes of a JSON text (UTF-8). Nullopt with `why` ("has the character
// U+20AC, above U+00FF", for a secret "has a character above U+00FF", or
// "holds a NUL character") when the text names none.
std::optional<std::string> BytesFromJson(std::string_view text, std::string &why, Secret secret = Secret::No);

// The bytes of a value typed on the command line, by the terminal's encoding.
// Nullopt with `why` as for BytesFromJson: a NUL in every locale; in a UTF-8
// locale also text that is no UTF-8 or a character above U+00FF.
std::optional<std::string> BytesFromTyped(std::string_view typed, TextEncoding encoding, std::string &why,
                                          Secret secret = Secret::No);

// The text without the UTF-8 byte-order mark that some editors put first.
std::string_view WithoutByteOrderMark(std::string_view text);

// A board's text for a terminal or a message: control characters as \xNN.
std::string Shown(std::string_view bytes, TextEncoding encoding);

// Any message (already in the terminal's encoding, board texts in it Shown)
// made safe for a terminal: control characters, and in a UTF-8 locale bytes
// that are no UTF-8, as \xNN. Text that is already safe comes back unchanged.
std::string Printable(std::string_view message, TextEncoding encoding);

// A message as JSON text: Printable, then in a single-byte locale its bytes
// read by the JSON rule above, so that it is always valid UTF-8.
std::string JsonMessage(std::string_view message, TextEncoding encoding);

}  // namespace relayctl
