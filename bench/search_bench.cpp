// Substring and byte search against the C library on 16 MiB texts. Every case runs ours and
// its baseline on the same bytes in the same process: glibc memmem for forward searches, a
// memrchr pass (a lower bound on any backward search) for backward ones, memchr/memrchr for
// the byte scanners, which also run once more through the SSE2 ones and on a 256 KiB text.
#include <benchmark/benchmark.h>
#include <string.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "english_text.h"
#include "search/find.h"
#include "blocks/scan.h"
#include "blocks/scan_switch.h"

namespace {

constexpr std::size_t text_size = std::size_t{1} << 24;

std::string repeat(std::string_view unit, std::size_t size) {
  std::string s;
  s.reserve(size + unit.size());
  while (s.size() < size) s += unit;
  s.resize(size);
  return s;
}

const std::string plant = "@ #q %zx the quick brown fox jumps over";
const std::string long_phrase =
    "and then the people of the world said that they would not have been there for the fox";

// The English text with the planted phrases 300 bytes from its end, for forward searches, or
// from its start, for backward ones: either way the search covers nearly everything.
std::string planted(bool near_end) {
  std::string s = english_text(text_size);
  const std::string both = plant + " " + long_phrase;
  s.replace(near_end ? text_size - 300 - both.size() : 300, both.size(), both);
  return s;
}

const std::string& text_for_forward() {
  static const std::string t = planted(true);
  return t;
}

const std::string& text_for_backward() {
  static const std::string t = planted(false);
  return t;
}

// 256 KiB of the English text: the byte scans again on a text that stays in the second-level
// cache, where the width of the loads shows; on 16 MiB every scanner waits on memory alike.
const std::string& cached_text() {
  static const std::string t = english_text(std::size_t{1} << 18);
  return t;
}

const std::string& all_a() {
  static const std::string t(text_size, 'a');
  return t;
}

const std::string& ab() {
  static const std::string t = repeat("ab", text_size);
  return t;
}

const std::string& near_copies() {
  static const std::string t = repeat("bbaaabb", text_size);
  return t;
}

const std::string& abc() {
  static const std::string t = repeat("abc", text_size);
  return t;
}

void set_bytes(benchmark::State& state, std::size_t bytes) {
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

void ours_first(benchmark::State& state, const std::string* hay, std::string needle) {
  for (auto _ : state) benchmark::DoNotOptimize(vq::find_first(*hay, needle));
  set_bytes(state, hay->size());
}

void ours_last(benchmark::State& state, const std::string* hay, std::string needle) {
  for (auto _ : state) benchmark::DoNotOptimize(vq::find_last(*hay, needle));
  set_bytes(state, hay->size());
}

void libc_memmem(benchmark::State& state, const std::string* hay, std::string needle) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(memmem(hay->data(), hay->size(), needle.data(), needle.size()));
  }
  set_bytes(state, hay->size());
}

// A byte never present in the hay: a full pass.
void libc_memchr(benchmark::State& state, const std::string* hay, std::string) {
  for (auto _ : state) benchmark::DoNotOptimize(memchr(hay->data(), '~', hay->size()));
  set_bytes(state, hay->size());
}

void libc_memrchr(benchmark::State& state, const std::string* hay, std::string) {
  for (auto _ : state) benchmark::DoNotOptimize(memrchr(hay->data(), '~', hay->size()));
  set_bytes(state, hay->size());
}

void ours_byte(benchmark::State& state, const std::string* hay, std::string) {
  const char* b = hay->data();
  for (auto _ : state) benchmark::DoNotOptimize(vq::find_byte(b, b + hay->size(), '~'));
  set_bytes(state, hay->size());
}

void ours_byte_last(benchmark::State& state, const std::string* hay, std::string) {
  const char* b = hay->data();
  for (auto _ : state) benchmark::DoNotOptimize(vq::find_byte_last(b, b + hay->size(), '~'));
  set_bytes(state, hay->size());
}

// The byte scans again through the SSE2 scanners, which processors without AVX2 run, and the
// portable ones, which processors without SSE2 run.
template <auto Scan, vq::scan_path Path>
void ours_scan_on(benchmark::State& state, const std::string* hay, std::string) {
  vq::use_scan_path(Path);
  Scan(state, hay, "");
  vq::use_scan_path(vq::best_scan_path());
}

struct search_case {
  const char* name;
  const std::string* forward_hay;
  const std::string* backward_hay;
  std::string needle;
};

int register_all() {
  const std::string* const fe = &text_for_forward();
  const std::string* const be = &text_for_backward();
  const search_case cases[] = {
      {"english/absent", fe, be, "quixotic zephyr"},
      {"english/present", fe, be, "brown fox jumps"},
      {"english/short1", fe, be, "@"},
      {"english/short2", fe, be, "#q"},
      {"english/short3", fe, be, "%zx"},
      {"english/short3_common", fe, be, "the"},
      {"english/long_absent", fe, be, long_phrase.substr(0, 70) + " sea"},
      {"english/long_present", fe, be, long_phrase},
      {"a/a1000b", &all_a(), &all_a(), std::string(1000, 'a') + "b"},
      {"a/ba1000", &all_a(), &all_a(), "b" + std::string(1000, 'a')},
      {"a/a500ba499", &all_a(), &all_a(), std::string(500, 'a') + "b" + std::string(499, 'a')},
      {"ab/ab500b", &ab(), &ab(), repeat("ab", 1000) + "b"},
      {"ab/defect", &ab(), &ab(), repeat("ab", 250) + "b" + repeat("ab", 250)},
      // The probes fit at every other start and verification fails halfway: the filter gives
      // up and two-way does the work.
      {"ab/swapped_middle", &ab(), &ab(), repeat("ab", 124) + "ba" + repeat("ab", 124)},
      {"near/bbbaabb", &near_copies(), &near_copies(), "bbbaabb"},
      {"ab/bba500", &ab(), &ab(), "b" + repeat("ba", 1000)},
      {"abc/abc100abd", &abc(), &abc(), repeat("abc", 300) + "abd"},
      {"abc/dabc100", &abc(), &abc(), "d" + repeat("abc", 300)},
  };
  for (const search_case& c : cases) {
    const std::string name = c.name;
    benchmark::RegisterBenchmark(("fwd/" + name + "/ours").c_str(), ours_first, c.forward_hay,
                                 c.needle);
    benchmark::RegisterBenchmark(("fwd/" + name + "/memmem").c_str(), libc_memmem, c.forward_hay,
                                 c.needle);
    benchmark::RegisterBenchmark(("bwd/" + name + "/ours").c_str(), ours_last, c.backward_hay,
                                 c.needle);
  }
  const std::string* const cached = &cached_text();
  const struct {
    const char* name;
    void (*run)(benchmark::State&, const std::string*, std::string);
    const std::string* hay;  // 16 MiB; each runs on the 256 KiB cached text too
  } passes[] = {
      {"/memchr", libc_memchr, fe},
      {"/memrchr", libc_memrchr, be},
      {"/first/ours", ours_byte, fe},
      {"/last/ours", ours_byte_last, be},
      {"/first/sse2", ours_scan_on<ours_byte, vq::scan_path::sse2>, fe},
      {"/last/sse2", ours_scan_on<ours_byte_last, vq::scan_path::sse2>, be},
      {"/first/portable", ours_scan_on<ours_byte, vq::scan_path::portable>, fe},
      {"/last/portable", ours_scan_on<ours_byte_last, vq::scan_path::portable>, be},
  };
  for (const auto& p : passes) {
    const bool libc = p.run == libc_memchr || p.run == libc_memrchr;
    benchmark::RegisterBenchmark(((libc ? "pass" : "scan") + std::string(p.name)).c_str(), p.run,
                                 p.hay, "");
    benchmark::RegisterBenchmark(((libc ? "pass256k" : "scan256k") + std::string(p.name)).c_str(),
                                 p.run, cached, "");
  }
  return 0;
}

const int registered = register_all();

}  // namespace

BENCHMARK_MAIN();
