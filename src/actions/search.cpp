#include "actions/search.h"

#include "text/find.h"

// Interim position search.
namespace vq {

int32_t effective_start(int32_t from_pos, std::string_view direction) noexcept {
  if (direction != "RL") return from_pos;
  return static_cast<int32_t>(0u - static_cast<uint32_t>(from_pos));
}

int32_t position_search(std::string_view source, std::string_view needle, int32_t start) noexcept {
  const int64_t length = static_cast<int64_t>(source.size());
  if (length == 0 || start == 0) return 0;
  if (start > 0) {
    if (start > length) return 0;
    std::size_t at = find_first({source.data() + (start - 1), source.size() - static_cast<std::size_t>(start - 1)}, needle);
    return at == not_found ? 0 : static_cast<int32_t>(at + static_cast<std::size_t>(start));
  }
  const int64_t last = length + int64_t{start} + 1;
  if (last <= 0) return 0;
  std::size_t at = find_last({source.data(), static_cast<std::size_t>(last)}, needle);
  if (needle.empty()) return static_cast<int32_t>(last);
  return at == not_found ? 0 : static_cast<int32_t>(at + 1);
}

}  // namespace vq
