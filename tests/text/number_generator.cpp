#include "text/number_generator.h"

#include <string_view>

namespace vq::testing {
namespace {

using engine = std::mt19937_64;

std::size_t below(engine& rng, std::size_t n) {
  return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
}
bool chance(engine& rng, std::size_t percent) { return below(rng, 100) < percent; }

template <class T, std::size_t n>
T pick(engine& rng, const T (&options)[n]) {
  return options[below(rng, n)];
}

std::string random_digits(engine& rng, std::size_t count, std::string_view alphabet) {
  std::string s;
  for (std::size_t k = 0; k < count; ++k) s += alphabet[below(rng, alphabet.size())];
  return s;
}

// Mostly the counts where the 18-digit cut and the word sizes bite.
std::size_t digit_count(engine& rng) {
  static constexpr std::size_t interesting[] = {0, 1, 2, 9, 10, 11, 17, 18, 19, 20, 21, 40};
  return chance(rng, 70) ? pick(rng, interesting) : below(rng, 30);
}

// Integer digits within 10 of a value where the result changes shape.
std::string near_boundary(engine& rng) {
  static constexpr std::uint64_t bases[] = {
      0, 1ULL << 15, 1ULL << 16, 1ULL << 31, 1ULL << 32, 1ULL << 63, 1000000000000000000ULL};
  const auto offset = static_cast<std::int64_t>(below(rng, 21)) - 10;
  return std::to_string(pick(rng, bases) + static_cast<std::uint64_t>(offset));
}

// Decimal digits with at most one point, sometimes already carrying a compensating exponent.
std::string decimal_mantissa(engine& rng) {
  static constexpr std::string_view alphabets[] = {"0123456789", "0123456789", "09", "05", "0"};
  static constexpr std::string_view fractions[] = {"",
                                                   ".",
                                                   ".5",
                                                   ".49",
                                                   ".51",
                                                   ".5000000000000000000001",
                                                   ".500000000000000000",
                                                   ".4999999999999999999"};
  std::string digits;
  std::size_t point = 0;
  if (chance(rng, 40)) {
    digits = near_boundary(rng);
    point = digits.size();
    const std::string_view fraction = pick(rng, fractions);
    if (!fraction.empty()) digits += fraction.substr(1);
    if (fraction.empty() && chance(rng, 50)) return digits;
  } else {
    digits = std::string(chance(rng, 20) ? below(rng, 25) : 0, '0') +
             random_digits(rng, digit_count(rng), pick(rng, alphabets));
    if (chance(rng, 30)) {
      // A tie, or just above one, after a run of zeros.
      digits += '5';
      digits.append(below(rng, 25), '0');
      if (chance(rng, 30)) digits += '1';
    }
    point = below(rng, digits.size() + 1);
    if (chance(rng, 20)) return digits;
  }
  // Move the point and compensate in the exponent, so equal values arrive in many shapes.
  if (chance(rng, 30)) {
    static constexpr std::string_view letters[] = {"e", "E", "d", "D"};
    const auto shift = static_cast<long long>(below(rng, 41)) - 20;
    const auto moved = static_cast<long long>(point) - shift;
    if (moved < 0) {
      digits.insert(0, static_cast<std::size_t>(-moved), '0');
      point = 0;
    } else {
      point = static_cast<std::size_t>(moved);
      if (point > digits.size()) digits.append(point - digits.size(), '0');
    }
    digits.insert(point, 1, '.');
    digits += pick(rng, letters);
    digits += std::to_string(shift);
    return digits;
  }
  digits.insert(point, 1, '.');
  return digits;
}

std::string exponent(engine& rng) {
  static constexpr std::string_view letters[] = {"e", "E", "d", "D"};
  static constexpr std::string_view signs[] = {"", "", "+", "-", "-"};
  static constexpr std::string_view wide[] = {"4294967296",
                                              "4294967299",
                                              "18446744073709551616",
                                              "18446744073709551619",
                                              "9223372036854775808",
                                              "2147483648",
                                              "1000000000"};
  std::string e = std::string(pick(rng, letters)) + std::string(pick(rng, signs));
  switch (below(rng, 6)) {
    case 0:
      return e;
    case 1:
      return e + std::to_string(below(rng, 26));
    case 2:
      return e + std::string(below(rng, 30), '0') + std::to_string(below(rng, 26));
    case 3:
      return e + std::string(pick(rng, wide));
    case 4:
      return e + random_digits(rng, 10 + below(rng, 20), "0123456789");
    default:
      return e + std::to_string(15 + below(rng, 8));
  }
}

std::string radix_field(engine& rng) {
  static constexpr std::string_view letters[] = {"H", "h", "O", "o", "Q", "q",
                                                 "B", "b", "",  "x", " "};
  static constexpr std::string_view suffixes[] = {"",   "",    "%",  "%%", "&",  "&&", "&&&", "?",
                                                  "??", "???", "?%", "&?", "%?", "x",  " "};
  static constexpr unsigned widths[] = {1, 8, 15, 16, 17, 31, 32, 33, 63, 64, 65, 70};
  const std::string_view letter = pick(rng, letters);
  const unsigned bits_per_digit = (letter == "H" || letter == "h")   ? 4
                                  : (letter == "B" || letter == "b") ? 1
                                                                     : 3;
  const std::string_view alphabet = std::string_view("0123456789ABCDEFabcdef")
                                        .substr(0, bits_per_digit == 4 ? 22 : 1u << bits_per_digit);
  const unsigned width =
      chance(rng, 70) ? pick(rng, widths) : static_cast<unsigned>(below(rng, 70));
  const std::size_t count = (width + bits_per_digit - 1) / bits_per_digit;
  std::string digits = random_digits(rng, count, alphabet);
  // A top digit with its high bit set makes full-width values (0x8000-0xFFFF, 2^63-2^64) common.
  const std::string_view high = bits_per_digit == 4   ? "89ABCDEFabcdef"
                                : bits_per_digit == 3 ? "4567"
                                                      : "1";
  if (!digits.empty() && chance(rng, 60)) digits[0] = high[below(rng, high.size())];
  std::string zeros(chance(rng, 20) ? below(rng, 25) : 0, '0');
  static constexpr char strays[] = {'G', 'g', '8', '2', '-', '.'};
  if (chance(rng, 5)) digits.insert(below(rng, digits.size() + 1), 1, pick(rng, strays));
  std::string field = "&";
  field += letter;
  field += zeros;
  field += digits;
  field += pick(rng, suffixes);
  return field;
}

std::string noise(engine& rng, std::size_t length) {
  return random_digits(rng, length,
                       " \t\n\r+-.eEdD&HhOoQqBb%?|0123456789ABCDEFabcdefx\xA0\x89\xB5");
}

}  // namespace

std::string random_number_field(engine& rng) {
  static constexpr std::string_view leads[] = {
      "", "", "", "", " ", "\t", "\n", " \t\n", "  ", "\t \n \t \n \t", "         \n\n"};
  static constexpr std::string_view signs[] = {"", "", "+", "-", "-"};
  static constexpr std::string_view strays[] = {"\r", "\v", "+-", "- ", "--", "-&"};
  const std::string lead =
      std::string(pick(rng, leads)) + (chance(rng, 5) ? std::string(pick(rng, strays)) : "");
  switch (below(rng, 10)) {
    case 0:
      return noise(rng, below(rng, 24));
    case 1:
    case 2:
    case 3:
      return lead + radix_field(rng) + noise(rng, below(rng, 3));
    default:
      break;
  }
  std::string field = lead + std::string(pick(rng, signs)) + decimal_mantissa(rng);
  if (field.find_first_of("eEdD") == std::string::npos && chance(rng, 50)) field += exponent(rng);
  return field + noise(rng, chance(rng, 70) ? 0 : below(rng, 4));
}

}  // namespace vq::testing
