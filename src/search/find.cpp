#include "search/find.h"

#include "blocks/scan.h"
#include "search/two_way.h"

namespace vq {

// Both searches run the prefilter first; when it gives up, two-way finishes the part of the
// hay it has not ruled out. Each part is linear, so the whole is.

std::size_t find_first(std::string_view hay, std::string_view needle) noexcept {
  const std::size_t h = hay.size();
  const std::size_t n = needle.size();
  if (n == 0) return 0;
  if (n > h) return not_found;
  const char* const begin = hay.data();
  if (n == 1) {
    const char* p = find_byte(begin, begin + h, needle[0]);
    return p == begin + h ? not_found : static_cast<std::size_t>(p - begin);
  }
  const filter_outcome f = filter_first(begin, h, needle.data(), n);
  if (!f.gave_up) return f.index;
  const std::size_t rest = h - f.index;
  if (rest < n) return not_found;
  const std::size_t r = two_way_first(begin + f.index, rest, needle.data(), n);
  return r == not_found ? not_found : f.index + r;
}

std::size_t find_last(std::string_view hay, std::string_view needle) noexcept {
  const std::size_t h = hay.size();
  const std::size_t n = needle.size();
  if (n == 0) return h;
  if (n > h) return not_found;
  const char* const begin = hay.data();
  if (n == 1) {
    const char* p = find_byte_last(begin, begin + h, needle[0]);
    return p == begin + h ? not_found : static_cast<std::size_t>(p - begin);
  }
  const filter_outcome f = filter_last(begin, h, needle.data(), n);
  if (!f.gave_up) return f.index;
  // Starts below f.index are open: the matches among them lie in hay[0, f.index - 1 + n).
  if (f.index == 0) return not_found;
  return two_way_last(begin, f.index - 1 + n, needle.data(), n);
}

}  // namespace vq
