// The search engine's one public header: substring search in both directions over byte
// strings, and the byte scans under it (blocks/scan.h).
#pragma once

#include <cstddef>
#include <string_view>

#include "blocks/not_found.h"
#include "blocks/scan.h"

namespace vq {

// 0-based index of the leftmost occurrence of needle lying wholly inside hay, or not_found.
// An empty needle is found at 0. Bytes compare exactly. No allocation, no copy.
std::size_t find_first(std::string_view hay, std::string_view needle) noexcept;

// 0-based index of the start of the rightmost occurrence of needle lying wholly inside hay,
// or not_found. An empty needle is found at hay.size(). No allocation, no copy.
std::size_t find_last(std::string_view hay, std::string_view needle) noexcept;

}  // namespace vq
