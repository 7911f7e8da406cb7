#include "actions/cut.h"

namespace vq {

std::size_t kept_count(int32_t n, std::size_t length) noexcept {
  // 64-bit so that length + n cannot overflow for any 32-bit n.
  const int64_t whole = static_cast<int64_t>(length);
  const int64_t kept = n >= 0 ? int64_t{n} : whole + n;
  if (kept < 0 || kept >= whole) return length;
  return static_cast<std::size_t>(kept);
}

// Views are built from pointer and length: substr could throw, and would drag the C++ runtime's
// exception support into the DLL.
std::string_view left_part(std::string_view text, int32_t n) noexcept {
  return {text.data(), kept_count(n, text.size())};
}

std::string_view right_part(std::string_view text, int32_t n) noexcept {
  const std::size_t kept = kept_count(n, text.size());
  return {text.data() + (text.size() - kept), kept};
}

}  // namespace vq
