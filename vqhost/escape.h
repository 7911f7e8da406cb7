// How vqhost shows bytes: every text it prints is escaped so that a leading blank, a zero byte
// or a line break inside a value stays visible and cannot be confused with the line's end.
#pragma once

#include <string>
#include <string_view>

namespace vq::vqhost {

// The bytes of text with these escapes, everything else from 0x20 to 0x7e as it is:
//   \\  backslash      \"  double quote
//   \t  tab (09)       \r  carriage return (0d)    \n  line feed (0a)
//   \xHH  any other byte below 0x20, 0x7f and every byte from 0x80 up (two lower-case hex
//         digits, always two, so "\x00" followed by "1" stays unambiguous).
// The empty text gives the empty string.
std::string escape_bytes(std::string_view text);

// escape_bytes(text) between double quotes: the empty text gives "".
std::string quoted(std::string_view text);

}  // namespace vq::vqhost
