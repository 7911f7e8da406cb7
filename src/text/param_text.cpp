#include "text/param_text.h"

#include <cstdint>

#include "blocks/scan.h"

namespace vq {
namespace {
// The smallest page of memory protection on every system the plug-in runs on.
constexpr std::uintptr_t page_size = 4096;
}  // namespace

param_fields split_fields(const char* address, int count) noexcept {
  param_fields fields{};
  if (!address || count < 1) return fields;
  if (count > max_fields) count = max_fields;
  // A text near the top of the address space must not make the limit wrap around.
  const auto start = reinterpret_cast<std::uintptr_t>(address);
  const std::size_t room = static_cast<std::size_t>(UINTPTR_MAX - start);
  const char* const limit = address + (room < max_text_length ? room : max_text_length);
  const char* field_start = address;
  int n = 0;
  // Only the bytes up to the zero are the caller's, and what follows may be unmapped: scan one
  // page at a time, so every read stays in a page that holds a byte of the text.
  for (const char* p = address; p < limit;) {
    const auto at = reinterpret_cast<std::uintptr_t>(p);
    const auto in_page = static_cast<std::size_t>(((at | (page_size - 1)) + 1) - at);
    const char* const stop = in_page < static_cast<std::size_t>(limit - p) ? p + in_page : limit;
    const char* const hit = find_either(p, stop, '|', '\0');
    if (hit == stop) {
      p = stop;
      continue;
    }
    fields.parts[n++] = {field_start, static_cast<std::size_t>(hit - field_start)};
    if (*hit == '\0' || n == count) return fields;
    field_start = p = hit + 1;
  }
  fields.parts[n] = {field_start, static_cast<std::size_t>(limit - field_start)};
  return fields;
}

}  // namespace vq
