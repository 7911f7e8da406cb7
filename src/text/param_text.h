// Parameter texts and their "|"-separated fields.
#pragma once

#include <cstddef>
#include <string_view>

namespace vq {

// No text read through a caller's pointer is longer than this (2^24 bytes).
inline constexpr std::size_t max_text_length = 16777216;

// The bytes at address up to its first zero byte, and at most max_text_length of them; a zero
// address is the empty text. Never reads past the zero byte's aligned 16-byte block.
std::string_view take_text(const char* address) noexcept;

// Field n (1-based) of a parameter text: the bytes between the (n-1)-th and the n-th "|", the
// start and end of the text standing in for the outer separators. Never trimmed or unquoted;
// "|" has no escape. A field beyond the last, or n < 1, is empty.
std::string_view field(std::string_view text, int n) noexcept;

}  // namespace vq
