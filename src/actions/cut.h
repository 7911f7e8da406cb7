// The left and right actions' computation: a piece off one end of a text.
#pragma once

#include <cstdint>
#include <string_view>

namespace vq {

// The count rule: how many bytes of a text of length length to keep for n. n >= 0 keeps n,
// n < 0 keeps all but -n; a count past either end (n > length, or n < -length) keeps the
// whole text, not the empty one.
std::size_t kept_count(int32_t n, std::size_t length) noexcept;

// The first, or the last, kept_count(n, text.size()) bytes of text.
std::string_view left_part(std::string_view text, int32_t n) noexcept;
std::string_view right_part(std::string_view text, int32_t n) noexcept;

}  // namespace vq
