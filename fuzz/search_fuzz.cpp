// Position search against the plain reference. Input layout: 4 bytes of start (little
// endian), 1 byte of needle length, the needle, then the source. Also checks that both
// substring searches agree with the reference's answer for the whole source. Every input runs
// through each byte scanner pair the processor can run.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "actions/search.h"
#include "actions/search_reference.h"
#include "search/find.h"
#include "blocks/scan_switch.h"

namespace {

void check(const uint8_t* data, size_t size) {
  const uint32_t raw = static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
                       static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
  const int32_t start = static_cast<int32_t>(raw);
  const char* rest = reinterpret_cast<const char*>(data + 5);
  const size_t rest_size = size - 5;
  const size_t n = data[4] < rest_size ? data[4] : rest_size;
  const std::string_view needle(rest, n);
  const std::string_view source(rest + n, rest_size - n);

  const int32_t got = vq::position_search(source, needle, start);
  const int32_t expected = vq::reference::position_search(source, needle, start);
  FUZZ_CHECK(got == expected, "from %d, needle of %zu in %zu bytes: %d, the reference %d",
             static_cast<int>(start), needle.size(), source.size(), static_cast<int>(got),
             static_cast<int>(expected));
  // Whole-source searches in both directions, as 0-based indices.
  if (!source.empty() && !needle.empty()) {
    const auto index = [](int32_t pos) {
      return pos == 0 ? vq::not_found : static_cast<size_t>(pos) - 1;
    };
    FUZZ_CHECK(vq::find_first(source, needle) ==
                   index(vq::reference::position_search(source, needle, 1)),
               "find_first disagrees: needle of %zu in %zu bytes", needle.size(), source.size());
    FUZZ_CHECK(vq::find_last(source, needle) ==
                   index(vq::reference::position_search(source, needle, -1)),
               "find_last disagrees: needle of %zu in %zu bytes", needle.size(), source.size());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  for (const vq::scan_path path :
       {vq::scan_path::portable, vq::scan_path::sse2, vq::scan_path::avx2}) {
    if (vq::use_scan_path(path)) check(data, size);
  }
  vq::use_scan_path(vq::best_scan_path());
  return 0;
}
