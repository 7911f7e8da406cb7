// parse_number against the C library's strtoll and strtod on the same bytes: short fields as
// scripts write them, and a 16 MiB field of digits (the longest a parameter text can be).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "text/number.h"

namespace {

const std::string& sixteen_mebibytes_of_digits() {
  static const std::string digits = [] {
    std::string s(std::size_t{1} << 24, '0');
    for (std::size_t k = 0; k < s.size(); ++k) s[k] = static_cast<char>('1' + k % 9);
    return s;
  }();
  return digits;
}

const std::string& text_of(int which) {
  static const std::string short_fields[] = {" 12", "-2.5", "&HFFFF", "1e3",
                                             "12345678901234567890"};
  return which < 5 ? short_fields[which] : sixteen_mebibytes_of_digits();
}

const char* name_of(int which) {
  static const char* const names[] = {"blank_12", "minus_2.5", "hex_FFFF",
                                      "1e3",      "20_digits", "16MiB_digits"};
  return names[which];
}

// The three conversions under one signature; each reads the same bytes.
int32_t ours(const char* p, std::size_t n) { return vq::parse_number(std::string_view(p, n)); }
long long c_strtoll(const char* p, std::size_t) {
  char* end;
  return std::strtoll(p, &end, 10);
}
double c_strtod(const char* p, std::size_t) {
  char* end;
  return std::strtod(p, &end);
}

// The pointer is laundered each round so the call cannot be hoisted out of the loop.
template <auto convert>
void convert_bench(benchmark::State& state) {
  const auto which = static_cast<int>(state.range(0));
  const std::string& text = text_of(which);
  state.SetLabel(name_of(which));
  for (auto _ : state) {
    const char* p = text.c_str();
    benchmark::DoNotOptimize(p);
    benchmark::DoNotOptimize(convert(p, text.size()));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}

BENCHMARK(convert_bench<ours>)->Name("parse_number")->DenseRange(0, 5);
BENCHMARK(convert_bench<c_strtoll>)->Name("strtoll")->DenseRange(0, 5);
BENCHMARK(convert_bench<c_strtod>)->Name("strtod")->DenseRange(0, 5);

}  // namespace

BENCHMARK_MAIN();
