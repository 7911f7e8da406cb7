// Parameter texts and their "|"-separated fields.
#pragma once

#include <cstddef>
#include <string_view>

namespace vq {

// No text read through a caller's pointer is longer than this (2^24 bytes).
inline constexpr std::size_t max_text_length = 16777216;

// The most fields any action takes.
inline constexpr int max_fields = 5;

// Fields 1 to max_fields of one parameter text, each a view into the caller's bytes.
struct param_fields {
  std::string_view parts[max_fields];

  // Field n (1-based); empty beyond the last field, beyond the fields split off, or for n < 1.
  std::string_view field(int n) const noexcept {
    return n >= 1 && n <= max_fields ? parts[n - 1] : std::string_view{};
  }
};

// Takes the parameter text at address and splits off its fields 1 to count (at most
// max_fields) in one pass. The text is the bytes up to the first zero byte and at most
// max_text_length of them; a zero address is the empty text. Field n is the bytes between the
// (n-1)-th and the n-th "|", the ends of the text standing in for the outer separators; a
// field beyond the last is empty. Nothing is trimmed or unquoted, and "|" has no escape.
// The scan stops at the count-th separator, so the bytes after it are never read, and it never
// reads past the page that holds the text's last byte. The views point into the caller's
// bytes: they must stay unchanged while the fields are in use, which ends where the publish
// step begins (see publish.h).
param_fields split_fields(const char* address, int count) noexcept;

}  // namespace vq
