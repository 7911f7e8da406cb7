#include "actions/search.h"

#include <cstddef>
#include <limits>

#include "search/find.h"
#include "text/param_text.h"

// Views are cut from pointer and length: substr could throw, and would drag the C++ runtime's
// exception support into the DLL.

namespace vq {

int32_t effective_start(int32_t from_pos, std::string_view direction) noexcept {
  if (direction != "RL") return from_pos;
  // Negation modulo 2^32 done unsigned: INT32_MIN stays INT32_MIN instead of overflowing.
  return static_cast<int32_t>(0u - static_cast<uint32_t>(from_pos));
}

// Every position fits the int32_t result: the source is a field of a parameter text.
static_assert(max_text_length <= std::numeric_limits<int32_t>::max());

int32_t position_search(std::string_view source, std::string_view needle, int32_t start) noexcept {
  const std::size_t length = source.size();
  if (length == 0 || start == 0) return 0;

  if (start > 0) {
    const std::size_t s = static_cast<std::size_t>(start);
    if (s > length) return 0;
    if (needle.empty()) return start;
    const std::size_t i = find_first({source.data() + (s - 1), length - (s - 1)}, needle);
    return i == not_found ? 0 : static_cast<int32_t>(s + i);
  }

  // k = -start taken unsigned, so INT32_MIN gives 2^31 rather than overflowing.
  const std::size_t k = 0u - static_cast<uint32_t>(start);
  if (k > length) return 0;
  const std::size_t p = length - k + 1;  // last position a match may cover
  if (needle.empty()) return static_cast<int32_t>(p);
  const std::size_t i = find_last({source.data(), p}, needle);
  return i == not_found ? 0 : static_cast<int32_t>(i + 1);
}

}  // namespace vq
