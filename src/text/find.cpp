#include "text/find.h"

// Interim search: scan and compare.
namespace vq {

std::size_t find_first(std::string_view hay, std::string_view needle) noexcept {
  std::size_t at = hay.find(needle);
  return at == std::string_view::npos ? not_found : at;
}

std::size_t find_last(std::string_view hay, std::string_view needle) noexcept {
  std::size_t at = hay.rfind(needle);
  return at == std::string_view::npos ? not_found : at;
}

}  // namespace vq
