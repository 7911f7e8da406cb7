#include "search/prefilter.h"

#include "search/scanners.h"

namespace vq {

filter_outcome filter_first(const char* hay, std::size_t h, const char* needle,
                            std::size_t n) noexcept {
  return scanners_in_use().filter_first(hay, h, needle, n);
}

filter_outcome filter_last(const char* hay, std::size_t h, const char* needle,
                           std::size_t n) noexcept {
  return scanners_in_use().filter_last(hay, h, needle, n);
}

}  // namespace vq
