// The library's one set of loops over blocks of bytes, in three builds: portable (machine
// words, any processor), SSE2 and AVX2. Each build is a table of the same scanners, made from
// the same templates (scanners_of.h) over its block type; scan.cpp picks the
// table the processor runs. Nothing outside the three scanners_<type>.cpp files holds an SSE
// or AVX instruction. Internal to the library.
#pragma once

#include <cstddef>

#include "blocks/scan.h"

namespace vq {

// One slot for each function of scan.h, which forwards to the table in use.
struct scanners {
  const char* (*find_byte)(const char* begin, const char* end, char b) noexcept;
  const char* (*find_either)(const char* begin, const char* end, char a, char b) noexcept;
  const char* (*find_byte_last)(const char* begin, const char* end, char b) noexcept;
  std::size_t (*common_prefix)(const char* a, const char* b, std::size_t len) noexcept;
  std::size_t (*common_suffix)(const char* a, const char* b, std::size_t len) noexcept;
  filter_outcome (*filter_first)(const char* hay, std::size_t h, const char* needle,
                                 std::size_t n) noexcept;
  filter_outcome (*filter_last)(const char* hay, std::size_t h, const char* needle,
                                std::size_t n) noexcept;
  std::size_t (*strip_control_bytes)(char* bytes, std::size_t length) noexcept;
};

extern const scanners portable_scanners;
extern const scanners sse2_scanners;  // only where the processor has SSE2
extern const scanners avx2_scanners;  // only where the processor and the OS run AVX2

// The table in use (see scan_path.h).
const scanners& scanners_in_use() noexcept;

}  // namespace vq
