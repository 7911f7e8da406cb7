#include "text/scan.h"

#include <cstring>

namespace vq {

const char* find_byte(const char* begin, const char* end, char b) noexcept {
  if (begin == end) return end;
  const void* hit = std::memchr(begin, static_cast<unsigned char>(b), static_cast<std::size_t>(end - begin));
  return hit ? static_cast<const char*>(hit) : end;
}

const char* find_byte_last(const char* begin, const char* end, char b) noexcept {
  for (const char* p = end; p != begin;) {
    if (*--p == b) return p;
  }
  return end;
}

}  // namespace vq
