// Numeric fields and number texts: the two conversions between parameter-text fields and
// signed 32-bit integers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vq {

// The field read as a number: decimal form (sign, mantissa with one optional point, exponent
// with E/e/D/d) or radix form (&H, &O/&Q, &B, bare &, with type suffixes), rounded half to
// even, then reduced to its low 32 bits as a signed integer. Values of 2^63 or more in
// magnitude (beyond -2^63) give 0. A field with no readable digit gives 0. Leading blanks,
// tabs and line feeds are skipped; a carriage return is not. Reading stops silently at the
// first byte that does not fit. Linear in the field's length; does not allocate or throw.
// Odd edges: only the first 18 significant decimal digits count, later ones read as 0 but
// still scale ("2.50000000000000000001" is a tie, so 2); radix digits needing more than 64
// bits give 0; 0x8000-0xFFFF written without a leading "0" and without a "&" or "?" suffix is
// a 16-bit signed number ("&HFFFF" is -1, "&H0FFFF" and "&HFFFF&" are 65535).
int32_t parse_number(std::string_view field) noexcept;

// Longest number text: "-2147483648".
inline constexpr std::size_t number_text_capacity = 11;

// Writes the number text of value to out (room for number_text_capacity bytes, no zero is
// written): a blank before zero and positive values, "-" before negative ones, then the
// digits. Returns the length, 2 to 11.
std::size_t format_number(int32_t value, char* out) noexcept;

}  // namespace vq
