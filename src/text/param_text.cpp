#include "text/param_text.h"

#include <cstdint>

#include "text/scan.h"

namespace vq {
namespace {
// The smallest page of memory protection on every system the plug-in runs on.
constexpr std::uintptr_t page_size = 4096;
}  // namespace

std::string_view take_text(const char* address) noexcept {
  if (!address) return {};
  // A text near the top of the address space must not make the limit wrap around.
  const auto start = reinterpret_cast<std::uintptr_t>(address);
  const std::size_t room = static_cast<std::size_t>(UINTPTR_MAX - start);
  const char* const limit = address + (room < max_text_length ? room : max_text_length);
  // Only the bytes up to the zero are the caller's, and what follows may be unmapped: scan one
  // page at a time, so every read stays in a page that holds a byte of the text.
  for (const char* p = address; p < limit;) {
    const auto at = reinterpret_cast<std::uintptr_t>(p);
    const auto in_page = static_cast<std::size_t>(((at | (page_size - 1)) + 1) - at);
    const char* stop = in_page < static_cast<std::size_t>(limit - p) ? p + in_page : limit;
    const char* zero = find_byte(p, stop, '\0');
    if (zero != stop) return {address, static_cast<std::size_t>(zero - address)};
    p = stop;
  }
  return {address, static_cast<std::size_t>(limit - address)};
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
