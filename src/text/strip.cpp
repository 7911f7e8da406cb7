#include "text/strip.h"

#ifndef __SSE2__
#error "Velquist needs SSE2: build for x86 with -msse2"
#endif

#include <emmintrin.h>

namespace vq {

std::size_t strip_control_bytes(char* bytes, std::size_t length) noexcept {
  std::size_t kept = 0;
  std::size_t i = 0;
  // Sixteen bytes at a time: a block with no control byte moves down whole, a block of control
  // bytes only is dropped whole, a mixed one goes byte by byte. Writes never pass the block
  // being read, since kept <= i.
  const __m128i limit = _mm_set1_epi8(31);
  for (; i + 16 <= length; i += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
    // Unsigned: a byte is below 32 exactly when min(byte, 31) is the byte itself.
    const unsigned control =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(block, limit), block)));
    if (control == 0) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes + kept), block);
      kept += 16;
    } else if (control != 0xFFFF) {
      alignas(16) char lane[16];
      _mm_store_si128(reinterpret_cast<__m128i*>(lane), block);
      for (unsigned k = 0; k < 16; ++k) {
        bytes[kept] = lane[k];
        kept += (control >> k & 1) ^ 1;
      }
    }
  }
  for (; i < length; ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    bytes[kept] = static_cast<char>(c);
    kept += c >= 32;
  }
  return kept;
}

}  // namespace vq
