#include "text/number_reference.h"

#include <bit>
#include <cstdint>
#include <string>

namespace vq::reference {
namespace {

constexpr std::size_t none = std::string::npos;

bool is_decimal_digit(char c) { return c >= '0' && c <= '9'; }

// 0-15 for "0"-"9", "A"-"F", "a"-"f"; 99 for anything else.
unsigned radix_digit(char c) {
  const std::string_view upper = "0123456789ABCDEF";
  const std::string_view lower = "0123456789abcdef";
  const std::size_t at = upper.find(c) != none ? upper.find(c) : lower.find(c);
  return at == none ? 99u : static_cast<unsigned>(at);
}

std::string without_leading_zeros(const std::string& digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == none ? std::string("0") : digits.substr(first);
}

// Stage 2 on an exact integer given as sign and decimal digits: 0 outside [-2^63, 2^63),
// else its low 32 bits in two's complement.
int32_t wrap_integer(bool negative, const std::string& digits) {
  const std::string magnitude = without_leading_zeros(digits);
  const std::string two_to_63 = "9223372036854775808";
  const int order = magnitude.size() != two_to_63.size()
                        ? (magnitude.size() < two_to_63.size() ? -1 : 1)
                        : magnitude.compare(two_to_63);
  if (negative ? order > 0 : order >= 0) return 0;
  std::uint64_t low = 0;
  for (char c : magnitude) low = (low * 10 + static_cast<unsigned>(c - '0')) % 4294967296u;
  if (negative) low = (4294967296u - low) % 4294967296u;
  return static_cast<int32_t>(static_cast<std::uint32_t>(low));
}

// Adds one to a decimal digit string.
std::string plus_one(std::string digits) {
  for (std::size_t k = digits.size(); k-- > 0;) {
    if (digits[k] != '9') {
      ++digits[k];
      return digits;
    }
    digits[k] = '0';
  }
  return "1" + digits;
}

int32_t decimal_form(std::string_view s, std::size_t i) {
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';

  std::string mantissa;      // all digits, the point removed
  std::size_t point = none;  // digits before the point
  for (; i < s.size(); ++i) {
    if (is_decimal_digit(s[i]))
      mantissa += s[i];
    else if (s[i] == '.' && point == none)
      point = mantissa.size();
    else
      break;
  }
  if (point == none) point = mantissa.size();
  const std::size_t first = mantissa.find_first_not_of('0');
  if (first == none) return 0;  // no digit, or only zeros
  for (std::size_t k = first + 18; k < mantissa.size(); ++k) mantissa[k] = '0';

  bool exponent_negative = false;
  std::string exponent = "0";
  if (i < s.size() && std::string_view("EeDd").find(s[i]) != none) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) exponent_negative = s[i++] == '-';
    for (; i < s.size() && is_decimal_digit(s[i]); ++i) exponent += s[i];
  }
  exponent = without_leading_zeros(exponent);
  // No field is 10^15 bytes long, so such an exponent puts the leading digit above 10^19 or
  // below 10^-2 whatever the mantissa: out of range or rounded to 0, and 0 either way.
  if (exponent.size() > 15) return 0;
  const long long shift = (exponent_negative ? -1 : 1) * std::stoll(exponent);

  // Power of ten of the leading significant digit once the exponent is applied.
  const long long lead = static_cast<long long>(point) - 1 - static_cast<long long>(first) + shift;
  if (lead >= 19) return 0;  // at least 10^19 > 2^63
  if (lead <= -2) return 0;  // below 0.1, rounds to 0
  const auto new_point = static_cast<std::size_t>(static_cast<long long>(point) + shift);
  if (mantissa.size() < new_point) mantissa.append(new_point - mantissa.size(), '0');

  std::string integer = mantissa.substr(0, new_point);
  const std::string fraction = mantissa.substr(new_point);
  if (!fraction.empty()) {
    const bool beyond_half_digit = fraction.find_first_not_of('0', 1) != none;
    const bool odd = !integer.empty() && (integer.back() - '0') % 2 == 1;
    if (fraction[0] > '5' || (fraction[0] == '5' && (beyond_half_digit || odd)))
      integer = plus_one(integer);
  }
  return wrap_integer(negative, integer);
}

int32_t radix_form(std::string_view s, std::size_t i) {
  // "H" and "h" choose 16, "O" "o" "Q" "q" 8, "B" "b" 2; any other byte is a base-8 digit.
  unsigned base = 8;
  const std::size_t letter = i < s.size() ? std::string_view("HhOoQqBb").find(s[i]) : none;
  if (letter != none) {
    base = letter < 2 ? 16 : letter < 6 ? 8 : 2;
    ++i;
  }
  const std::size_t bits_per_digit = base == 16 ? 4 : base == 8 ? 3 : 1;
  std::string digits;
  for (; i < s.size() && radix_digit(s[i]) < base; ++i) digits += s[i];
  if (digits.empty()) return 0;

  // Bits needed: the leading non-zero digit's own width plus full digits after it.
  std::uint64_t v = 0;
  const std::size_t first = digits.find_first_not_of('0');
  if (first != none) {
    const std::size_t bits = (digits.size() - first - 1) * bits_per_digit +
                             static_cast<std::size_t>(std::bit_width(radix_digit(digits[first])));
    if (bits > 64) return 0;
    for (std::size_t k = first; k < digits.size(); ++k) v = v * base + radix_digit(digits[k]);
  }

  std::string suffix;
  const auto take = [&](char c, std::size_t most) {
    while (suffix.size() < most && i < s.size() && s[i] == c) suffix += s[i++];
  };
  if (i < s.size() && s[i] == '%')
    take('%', 1);
  else if (i < s.size() && s[i] == '&')
    take('&', 2);
  else if (i < s.size() && s[i] == '?')
    take('?', 3);

  if (suffix.empty() || suffix == "%") {
    if (v >= 0x8000 && v <= 0xFFFF && digits[0] != '0')
      return wrap_integer(true, std::to_string(65536 - v));
  } else if (suffix[0] == '?' && v >= (std::uint64_t{1} << 63)) {
    return 0;
  }
  return wrap_integer(false, std::to_string(v));
}

}  // namespace

int32_t parse_number(std::string_view field) {
  std::size_t i = 0;
  while (i < field.size() && (field[i] == ' ' || field[i] == '\t' || field[i] == '\n')) ++i;
  if (i < field.size() && field[i] == '&') return radix_form(field, i + 1);
  return decimal_form(field, i);
}

}  // namespace vq::reference
