#include "actions/search_reference.h"

namespace vq::reference {

int32_t position_search(std::string_view source, std::string_view needle, int32_t start) noexcept {
  // 64-bit signed arithmetic: every quantity, including -INT32_MIN, is exact.
  const int64_t l = static_cast<int64_t>(source.size());
  const int64_t n = static_cast<int64_t>(needle.size());
  const auto at = [&](int64_t pos) { return source[static_cast<std::size_t>(pos - 1)]; };
  const auto same = [&](int64_t pos, int64_t from, int64_t count) {
    for (int64_t i = 0; i < count; ++i) {
      if (at(pos + i) != needle[static_cast<std::size_t>(from + i)]) return false;
    }
    return true;
  };
  if (l == 0 || start == 0) return 0;
  if (start > 0) {
    if (start > l) return 0;
    if (n == 0) return start;
    for (int64_t c = start; c <= l; ++c) {
      if (at(c) != needle[0]) continue;
      if (l - c < n - 1) return 0;
      if (same(c + 1, 1, n - 1)) return static_cast<int32_t>(c);
    }
    return 0;
  }
  const int64_t k = -static_cast<int64_t>(start);
  const int64_t p = l - k + 1;
  if (p <= 0) return 0;
  if (n == 0) return static_cast<int32_t>(p);
  for (int64_t c = p; c >= 1; --c) {
    if (at(c) != needle[static_cast<std::size_t>(n - 1)]) continue;
    if (c - 1 < n - 1) return 0;
    if (same(c - n + 1, 0, n - 1)) return static_cast<int32_t>(c - n + 1);
  }
  return 0;
}

}  // namespace vq::reference
