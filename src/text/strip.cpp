#include "text/strip.h"

#include "search/scanners.h"

namespace vq {

std::size_t strip_control_bytes(char* bytes, std::size_t length) noexcept {
  return scanners_in_use().strip_control_bytes(bytes, length);
}

}  // namespace vq
