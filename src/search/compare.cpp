#include "search/compare.h"

#include "search/scanners.h"

namespace vq {

std::size_t common_prefix(const char* a, const char* b, std::size_t len) noexcept {
  return scanners_in_use().common_prefix(a, b, len);
}

std::size_t common_suffix(const char* a, const char* b, std::size_t len) noexcept {
  return scanners_in_use().common_suffix(a, b, len);
}

}  // namespace vq
