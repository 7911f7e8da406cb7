#include "text/number.h"

// Interim conversion: plain optional sign and decimal digits.
namespace vq {

int32_t parse_number(std::string_view field) noexcept {
  std::size_t i = 0;
  while (i < field.size() && (field[i] == ' ' || field[i] == '\t' || field[i] == '\n')) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
  uint32_t value = 0;
  for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
    value = value * 10 + static_cast<uint32_t>(field[i] - '0');
  return static_cast<int32_t>(negative ? 0u - value : value);
}

std::size_t format_number(int32_t value, char* out) noexcept {
  uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  char digits[10];
  std::size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  std::size_t length = 0;
  out[length++] = value < 0 ? '-' : ' ';
  while (count) out[length++] = digits[--count];
  return length;
}

}  // namespace vq
