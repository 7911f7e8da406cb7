// Fuzz target for the numeric field reader and the number text writer: every input is read by
// parse_number and by the slow exact reference, and must give the same result; its first four
// bytes also make a number whose text must match printf and read back unchanged.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "fuzz_check.h"
#include "text/number.h"
#include "text/number_reference.h"

namespace {
// How much of a field a finding prints.
int shown(std::string_view field) {
  return static_cast<int>(field.size() > 200 ? 200 : field.size());
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The reference is linear in the field and shortcuts huge exponents, so no input is skipped.
  const std::string_view field(reinterpret_cast<const char*>(data), size);
  const int32_t got = vq::parse_number(field);
  const int32_t expected = vq::reference::parse_number(field);
  FUZZ_CHECK(got == expected, "parse_number(\"%.*s\") gave %d, the reference %d", shown(field),
             field.data(), static_cast<int>(got), static_cast<int>(expected));

  if (size >= 4) {
    std::uint32_t bits;
    std::memcpy(&bits, data, sizeof bits);
    const auto value = static_cast<int32_t>(bits);
    char text[vq::number_text_capacity];
    char printed[16];
    const std::size_t length = vq::format_number(value, text);
    const int printed_length = std::snprintf(printed, sizeof printed, "% d", value);
    const std::string_view written(text, length);
    FUZZ_CHECK(written == std::string_view(printed, static_cast<std::size_t>(printed_length)),
               "format_number(%d) wrote \"%.*s\", printf \"%s\"", static_cast<int>(value),
               static_cast<int>(length), text, printed);
    FUZZ_CHECK(vq::parse_number(written) == value, "\"%.*s\" reads back as %d",
               static_cast<int>(length), text, static_cast<int>(vq::parse_number(written)));
  }
  return 0;
}
