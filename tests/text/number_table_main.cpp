// Runs the numeric field tables, the random cross-check against the reference and the number
// text check without a test framework, so the 32-bit Windows build can run them under Wine
// (64-bit arithmetic there goes through compiler helper calls, a different code path).
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "text/number.h"
#include "text/number_cases.h"
#include "text/number_generator.h"
#include "text/number_reference.h"

namespace {

int failures = 0;

void check(std::string_view field, int32_t got, int32_t expected) {
  if (got == expected) return;
  if (++failures <= 20) {
    std::printf("FAIL \"%.*s\": got %ld, expected %ld\n",
                static_cast<int>(field.size() > 80 ? 80 : field.size()), field.data(),
                static_cast<long>(got), static_cast<long>(expected));
  }
}

template <class Rows>
void run_rows(const Rows& rows) {
  for (const auto& row : rows) check(row.field, vq::parse_number(row.field), row.expected);
}

}  // namespace

int main() {
  run_rows(vq::number_cases::documented);
  run_rows(vq::number_cases::decimal_boundaries);
  run_rows(vq::number_cases::radix_boundaries);

  std::mt19937_64 rng(20240611);
  for (int k = 0; k < 100000; ++k) {
    const std::string field = vq::testing::random_number_field(rng);
    check(field, vq::parse_number(field), vq::reference::parse_number(field));
  }

  // Number texts: printf's "% d" form, and read back unchanged.
  std::mt19937 values(7);
  for (int k = 0; k < 100000; ++k) {
    const int32_t v = k == 0 ? INT32_MIN : k == 1 ? INT32_MAX : static_cast<int32_t>(values());
    char text[vq::number_text_capacity];
    char expected[16];
    const std::string_view got(text, vq::format_number(v, text));
    const int expected_length =
        std::snprintf(expected, sizeof expected, "% ld", static_cast<long>(v));
    if (got != std::string_view(expected, static_cast<std::size_t>(expected_length))) {
      if (++failures <= 20)
        std::printf("FAIL text of %ld: \"%.*s\"\n", static_cast<long>(v),
                    static_cast<int>(got.size()), got.data());
    }
    check(got, vq::parse_number(got), v);
  }

  std::printf("%s: %d failure(s)\n", failures ? "FAILED" : "passed", failures);
  return failures ? 1 : 0;
}
