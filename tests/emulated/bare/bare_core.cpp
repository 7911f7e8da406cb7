// The core's search, fields, numbers, cuts and stripping as a program without the C library,
// so that it starts under an emulated Pentium (qemu-i386 -cpu pentium): the processor query
// must choose the portable scanners there, and no instruction the Pentium lacks may run. Each
// case is checked against a plain reference written here, or against known values; one line
// per failure, then "N cases, M failed". Argument 1 names the expected scanners (portable).

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "actions/cut.h"
#include "actions/search.h"
#include "bare_runtime.h"
#include "blocks/scan_switch.h"
#include "text/number.h"
#include "text/number_cases.h"
#include "text/param_text.h"
#include "blocks/scan.h"

namespace {

using std::string_view;
using i64 = std::int64_t;

int cases = 0, failed_cases = 0;
bool case_ok = true;

void out(string_view s) { bare::write_out(s.data(), s.size()); }

struct number_text {
  char digits[24];
  string_view view;
  explicit number_text(i64 v) {
    char* p = digits + sizeof digits;
    auto m = v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    do *--p = static_cast<char>('0' + m % 10); while (m /= 10);
    if (v < 0) *--p = '-';
    view = {p, static_cast<std::size_t>(digits + sizeof digits - p)};
  }
};

void out_quoted(string_view s) {
  out("\"");
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    const char hex[] = {'\\', 'x', "0123456789abcdef"[u >> 4], "0123456789abcdef"[u & 15]};
    out(u >= 32 && u < 127 && c != '"' ? string_view(&c, 1) : string_view(hex, 4));
  }
  out("\"");
}

// One failed check of the case under way: what "text" detail: got "x", expected "y".
void fail(string_view what, string_view text, i64 detail, string_view got, string_view expected) {
  case_ok = false;
  out(what), out(" "), out_quoted(text), out(" "), out(number_text(detail).view);
  out(": got "), out_quoted(got), out(", expected "), out_quoted(expected), out("\n");
}
void fail(string_view what, string_view text, i64 detail, i64 got, i64 expected) {
  fail(what, text, detail, number_text(got).view, number_text(expected).view);
}
void end_case() {
  ++cases;
  if (!case_ok) ++failed_cases;
  case_ok = true;
}

// The search's reference: every candidate position in turn, the start negated in 32 bits for
// "RL" (INT32_MIN stays itself).
i64 naive_search(string_view s, string_view needle, int32_t from, string_view direction) {
  const auto negated = static_cast<int32_t>(0u - static_cast<uint32_t>(from));
  const i64 start = direction == "RL" ? negated : from;
  const i64 l = static_cast<i64>(s.size()), n = static_cast<i64>(needle.size());
  const auto at = [&](i64 c) { return string_view(s.data() + c - 1, needle.size()) == needle; };
  if (l == 0 || start == 0 || start > l) return 0;
  if (start > 0) {
    for (i64 c = start; c + n - 1 <= l; ++c) if (at(c)) return c;
    return 0;
  }
  const i64 last = l + start + 1;  // the last byte a match may cover
  if (last < 1 || n == 0) return last < 1 ? 0 : last;
  for (i64 c = last - n + 1; c >= 1; --c) if (at(c)) return c;
  return 0;
}

void check_search(string_view s, string_view needle, int32_t from, string_view direction = "") {
  const i64 got = vq::position_search(s, needle, vq::effective_start(from, direction));
  const i64 expected = naive_search(s, needle, from, direction);
  if (got != expected) fail(direction == "RL" ? "search RL" : "search", s, from, got, expected);
  if (got != expected) out("  needle "), out_quoted(needle), out("\n");
  end_case();
}

// The splitter's reference: walk the zero-terminated text separator by separator.
string_view naive_field(const char* text, int count, int n) {
  if (!text || n < 1 || n > count || n > vq::max_fields) return {};
  for (int i = 1; i < n; ++i) {
    while (*text && *text != '|') ++text;
    if (!*text++) return {};
  }
  const char* end = text;
  while (*end && *end != '|') ++end;
  return {text, static_cast<std::size_t>(end - text)};
}

void check_split(const char* text) {
  for (int count = 0; count <= vq::max_fields + 1; ++count) {
    const vq::param_fields f = vq::split_fields(text, count);
    for (int n = 0; n <= vq::max_fields + 1; ++n) {
      if (f.field(n) != naive_field(text, count, n))  // detail: count and field, "31" is 3, 1
        fail("split", text ? text : "(zero address)", count * 10 + n, f.field(n),
             naive_field(text, count, n));
    }
  }
  end_case();
}

// The cuts' reference: the count rule spelled out case by case.
void check_cut(string_view text, int32_t n) {
  const i64 l = static_cast<i64>(text.size());
  const auto k = static_cast<std::size_t>(n > l || n < -l ? l : n >= 0 ? n : l + n);
  const string_view left(text.data(), k), right(text.data() + text.size() - k, k);
  if (vq::left_part(text, n) != left) fail("left", text, n, vq::left_part(text, n), left);
  if (vq::right_part(text, n) != right) fail("right", text, n, vq::right_part(text, n), right);
  end_case();
}

void check_number(string_view field, int32_t expected) {
  const int32_t got = vq::parse_number(field);
  if (got != expected) fail("parse_number", field, 0, got, expected);
  end_case();
}

void check_format(int32_t value, string_view expected) {
  char text[vq::number_text_capacity];
  const string_view got(text, vq::format_number(value, text));
  if (got != expected) fail("format_number", "", value, got, expected);
  if (vq::parse_number(got) != value) fail("parse_number", got, 0, vq::parse_number(got), value);
  end_case();
}

void check_strip(string_view text) {
  char bytes[64], kept[64];
  std::size_t k = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (static_cast<unsigned char>(bytes[i] = text[i]) >= 32) kept[k++] = text[i];
  const string_view got(bytes, vq::strip_control_bytes(bytes, text.size()));
  if (got != string_view(kept, k)) fail("strip", text, 0, got, string_view(kept, k));
  end_case();
}

}  // namespace

int bare_main(int argc, char** argv) noexcept {
  constexpr string_view path_names[] = {"portable", "sse2", "avx2"};
  const string_view expected_path = argc > 1 ? argv[1] : "portable";
  const string_view chosen = path_names[static_cast<int>(vq::scan_path_in_use())];
  out("scan path chosen by the processor query: "), out(chosen), out("\n");
  if (chosen != expected_path || path_names[static_cast<int>(vq::best_scan_path())] != chosen)
    fail("scan path", "", 0, chosen, expected_path);
  end_case();

  // Empty texts and needles, the ends, overlaps, needles longer than the source, starts past
  // either end and the extreme 32-bit starts, both directions ("RL" exactly).
  for (const string_view d : {"", "RL"}) {
    check_search("", "a", 1, d), check_search("", "", 1, d), check_search("abc", "", 1, d);
    check_search("abc", "", 3, d), check_search("abc", "", 4, d), check_search("abc", "a", 0, d);
    check_search("abcabc", "a", 1, d), check_search("abcabc", "c", 1, d);
    check_search("abcabc", "abc", 2, d), check_search("abcabc", "abc", 4, d);
    check_search("aaaa", "aa", 2, d), check_search("aaaa", "aaa", 1, d);
    check_search("ab", "abc", 1, d), check_search("abc", "abc", 3, d);
    check_search("abc", "a", -3, d), check_search("abc", "c", -1, d);
    check_search("abc", "a", -4, d), check_search("abc", "b", INT32_MIN, d);
    check_search("abc", "b", INT32_MAX, d);
  }
  check_search("abcabc", "bc", 1, "rl"), check_search("abcabc", "bc", 1, "RL ");
  // Texts around the scanners' block widths (4 bytes here, 16 and 32 with SSE2 and AVX2): the
  // last byte, a suffix, the whole text and a near miss, from either end.
  const string_view base = "xyxyzxyxyzxyxyzxyxyzxyxyzxyxyzxyxyzq";
  for (const std::size_t l : {3u, 4u, 5u, 7u, 8u, 9u, 15u, 16u, 17u, 31u, 32u, 33u}) {
    const string_view s(base.data() + base.size() - l, l);  // no substr: it could throw
    const string_view last(s.data() + l - 1, 1), suffix(s.data() + l - 3, 3);
    for (const string_view needle : {last, suffix, s, string_view("xyq")}) {
      for (const int32_t from : {1, static_cast<int32_t>(l)}) check_search(s, needle, from, "RL");
      check_search(s, needle, 1), check_search(s, needle, static_cast<int32_t>(l - 2));
    }
  }

  // The zero address, empty fields, fields beyond the last, a zero byte inside, fields of 3 to
  // 9 bytes (around the 4-byte block), bytes with the high bit set.
  for (const char* text : {static_cast<const char*>(nullptr), "", "a|b", "|x", "a||b", "a|",
                           "||||", "x|y|z|w|v|u", "ab|c\0d|ef", "\xff|\x80\x7f",
                           "abc|abcd|abcde|abcdefg|abcdefgh", "abcdefghi|abcdefgh|abcdefg|abcd|abc",
                           "abcdefghijklmnopq|"})
    check_split(text);

  for (const string_view text : {"abcde", "a", ""})
    for (const int32_t n : {0, 1, 2, 5, 6, -1, -4, -5, -6, INT32_MAX, INT32_MIN})
      check_cut(text, n);
  check_cut("\x80\xff" "a", 2), check_cut("abcdefghi", 8), check_cut("abcdefghi", -9);

  for (const auto& r : vq::number_cases::documented) check_number(r.field, r.expected);
  for (const auto& r : vq::number_cases::decimal_boundaries) check_number(r.field, r.expected);
  for (const auto& r : vq::number_cases::radix_boundaries) check_number(r.field, r.expected);
  check_format(INT32_MIN, "-2147483648"), check_format(INT32_MAX, " 2147483647");
  check_format(0, " 0"), check_format(-1, "-1"), check_format(9, " 9"), check_format(10, " 10");
  check_format(-1000000000, "-1000000000"), check_format(4096, " 4096");

  constexpr char mixed[] = "a\0b\tc\rd\x1e" "efghijklmnopqrstuvwxyz0123456789\x19";
  check_strip(""), check_strip("\x01"), check_strip("abc\n"), check_strip("\x1f \x7f\x80\xff!");
  check_strip({mixed, sizeof mixed - 1});

  out(number_text(cases).view), out(" cases, "), out(number_text(failed_cases).view);
  out(" failed\n");
  return failed_cases == 0 ? 0 : 1;
}
