#include "text/param_text.h"

#include <cstdint>

#include "text/scan.h"

namespace vq {

std::string_view take_text(const char* address) noexcept {
  if (!address) return {};
  // A text near the top of the address space must not make the limit wrap around.
  const auto start = reinterpret_cast<std::uintptr_t>(address);
  const std::size_t room = static_cast<std::size_t>(UINTPTR_MAX - start);
  const std::size_t limit = room < max_text_length ? room : max_text_length;
  const char* end = find_byte(address, address + limit, '\0');
  return {address, static_cast<std::size_t>(end - address)};
}

std::string_view field(std::string_view text, int n) noexcept {
  if (n < 1) return {};
  const char* position = text.data();
  const char* const end = position + text.size();
  for (;; --n) {
    const char* separator = find_byte(position, end, '|');
    if (n == 1) return {position, static_cast<std::size_t>(separator - position)};
    if (separator == end) return {};
    position = separator + 1;
  }
}

}  // namespace vq
