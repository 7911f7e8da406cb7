// The parameter-text splitter as a round trip: for every count of 1..5, the fields joined with
// "|" give the text up to the last separator the split takes (the whole text, up to its zero
// byte, when it holds fewer), no field holds "|" or a zero byte, and fields past the last are
// empty.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "text/param_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The splitter reads up to a zero byte, so the input gets one after it.
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string_view text(input.c_str());  // up to the first zero byte
  for (int count = 1; count <= vq::max_fields; ++count) {
    const vq::param_fields fields = vq::split_fields(input.c_str(), count);
    // Where the text ends for this count: at its count-th separator, or at its end.
    std::size_t taken = 0;
    int split = 1;
    for (std::size_t at = 0; at < text.size(); ++at) {
      if (text[at] != '|') continue;
      if (split == count) break;
      ++split;
      taken = at + 1;
    }
    std::size_t end = text.find('|', taken);
    if (end == std::string_view::npos) end = text.size();
    std::string joined;
    for (int n = 1; n <= split; ++n) {
      const std::string_view field = fields.field(n);
      FUZZ_CHECK(field.find('|') == std::string_view::npos, "count %d: field %d holds \"|\"",
                 count, n);
      FUZZ_CHECK(field.find('\0') == std::string_view::npos,
                 "count %d: field %d holds a zero byte", count, n);
      if (n > 1) joined += '|';
      joined += field;
    }
    FUZZ_CHECK(joined == text.substr(0, end),
               "count %d: the %d fields joined (%zu bytes) are not the text's first %zu bytes",
               count, split, joined.size(), end);
    for (int n = split + 1; n <= vq::max_fields + 1; ++n) {
      FUZZ_CHECK(fields.field(n).empty(), "count %d: field %d past the last is not empty",
                 count, n);
    }
  }
  return 0;
}
