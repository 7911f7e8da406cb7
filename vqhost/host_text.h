// Texts crossing the host boundary in BSTR layout: a 32-bit byte count, the bytes, then a zero.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vq::vqhost {

// A text the host owns and hands to the plug-in, laid out as the host's text variables are:
// the byte count in the four bytes before the characters, two zero bytes after them.
class host_text {
 public:
  explicit host_text(std::string_view text);

  // What the host text variable holds: the address of the first character, or zero for the
  // empty text (a host keeps the empty text as a zero variable).
  const char* variable() const { return empty_ ? nullptr : storage_.data() + 4; }

 private:
  std::vector<char> storage_;
  bool empty_;
};

// A callback text the plug-in passed: the zero address is the empty text; otherwise the
// length is the 32-bit byte count before the characters, so zero bytes inside are kept.
std::string read_callback_text(const char* text);

}  // namespace vq::vqhost
