// The search checks as a plain program for the 32-bit Windows build, run under Wine: the
// differential against the reference, and the byte scanners' bounds at every alignment.
// Prints "N passed, N failed" and exits non-zero on any failure.
#include <cstdio>

#include "actions/search_differential.h"
#include "text/scan.h"

namespace {

// The scanners never report a byte outside [begin, end), whatever lies around the range.
long scanner_bound_failures() {
  long failures = 0;
  char buf[32 + 32 + 100 + 32];
  for (std::size_t offset = 0; offset < 32; ++offset) {
    for (std::size_t len = 0; len < 100; ++len) {
      for (char& c : buf) c = '\xff';
      char* const begin = buf + 32 + offset;
      for (std::size_t i = 0; i < len; ++i) begin[i] = '\x01';
      failures += vq::find_byte(begin, begin + len, '\xff') != begin + len;
      failures += vq::find_byte_last(begin, begin + len, '\xff') != begin + len;
    }
  }
  return failures;
}

}  // namespace

int main() {
  const vq::reference::differential_result r = vq::reference::run_search_differential();
  if (r.failed != 0) {
    std::printf(
        "first failure: needle of %u bytes in a source of %u, start %ld: %ld, expected %ld\n",
        static_cast<unsigned>(r.first.needle.size()), static_cast<unsigned>(r.first.source.size()),
        static_cast<long>(r.first.start), static_cast<long>(r.first.got),
        static_cast<long>(r.first.expected));
  }
  const long scan_failed = scanner_bound_failures();
  const long scan_checks = 2 * 32 * 100;
  std::printf("%ld passed, %ld failed\n", r.compared - r.failed + scan_checks - scan_failed,
              r.failed + scan_failed);
  return r.failed + scan_failed == 0 ? 0 : 1;
}
