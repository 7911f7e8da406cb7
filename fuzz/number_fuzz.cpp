// Fuzz target for the numeric field reader and the number text writer: every input is read by
// parse_number and by the slow exact reference, and must give the same result; its first four
// bytes also make a number whose text must match printf and read back unchanged.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "text/number.h"
#include "text/number_reference.h"

namespace {

// Always on, also in release builds: a mismatch is the finding.
[[noreturn]] void fail(const char* what, std::string_view input, long got, long expected) {
  std::fprintf(stderr, "%s: \"%.*s\" gave %ld, expected %ld\n", what,
               static_cast<int>(input.size() > 200 ? 200 : input.size()), input.data(), got,
               expected);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The reference is linear in the field and shortcuts huge exponents, so no input is skipped.
  const std::string_view field(reinterpret_cast<const char*>(data), size);
  const int32_t got = vq::parse_number(field);
  const int32_t expected = vq::reference::parse_number(field);
  if (got != expected) fail("parse_number", field, got, expected);

  if (size >= 4) {
    std::uint32_t bits;
    std::memcpy(&bits, data, sizeof bits);
    const auto value = static_cast<int32_t>(bits);
    char text[vq::number_text_capacity];
    char printed[16];
    const std::size_t length = vq::format_number(value, text);
    const int printed_length = std::snprintf(printed, sizeof printed, "% d", value);
    const std::string_view written(text, length);
    if (written != std::string_view(printed, static_cast<std::size_t>(printed_length)))
      fail("format_number", written, value, value);
    if (vq::parse_number(written) != value)
      fail("round trip", written, vq::parse_number(written), value);
  }
  return 0;
}
