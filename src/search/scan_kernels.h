// The byte scanners behind find_byte, find_either and find_byte_last, one set per instruction
// set; the public functions in scan.h pick one set at run time. Every set keeps the contract of
// scan.h: loads are of whole aligned blocks of its width, and only of blocks that hold at least
// one byte of [begin, end), so a read never reaches a page the range does not touch.
#pragma once

#include <cstddef>

#include "search/scan_path.h"

namespace vq {

// 16-byte blocks.
const char* sse2_find_byte(const char* begin, const char* end, char b) noexcept;
const char* sse2_find_either(const char* begin, const char* end, char a, char b) noexcept;
const char* sse2_find_byte_last(const char* begin, const char* end, char b) noexcept;

// 32-byte blocks. Only to be called when the processor and the OS support AVX2.
const char* avx2_find_byte(const char* begin, const char* end, char b) noexcept;
const char* avx2_find_either(const char* begin, const char* end, char a, char b) noexcept;
const char* avx2_find_byte_last(const char* begin, const char* end, char b) noexcept;

}  // namespace vq
