#include "actions/cut.h"

namespace vq {

std::size_t kept_count(int32_t n, std::size_t length) noexcept {
  // 64-bit so that length + n cannot overflow for any 32-bit n.
  const int64_t whole = static_cast<int64_t>(length);
  const int64_t kept = n >= 0 ? int64_t{n} : whole + n;
  if (kept < 0 || kept >= whole) return length;
  return static_cast<std::size_t>(kept);
}

std::string_view left_part(std::string_view text, int32_t n) noexcept {
  return text.substr(0, kept_count(n, text.size()));
}

std::string_view right_part(std::string_view text, int32_t n) noexcept {
  return text.substr(text.size() - kept_count(n, text.size()));
}

}  // namespace vq
