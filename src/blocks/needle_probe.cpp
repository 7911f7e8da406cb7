#include "blocks/needle_probe.h"

#include <array>

namespace vq {

namespace {

// Bytes of ordinary text, roughly from most to least frequent. Any byte not listed counts as
// rarer than all of these. A guess that only steers speed, never results.
constexpr char common_bytes[] =
    " etaoinsrhldcumfpgwyb,.vk\nTISAHWCBM-'\"xPjqzNDROELFG0Y1J2K3U5V4Q6789Z;X:()!?\t\r";

constexpr std::array<unsigned char, 256> make_rarity() noexcept {
  std::array<unsigned char, 256> r{};
  for (auto& v : r) v = 255;
  for (std::size_t i = 0; i + 1 < sizeof common_bytes; ++i) {
    r[static_cast<unsigned char>(common_bytes[i])] = static_cast<unsigned char>(i);
  }
  return r;
}

constexpr std::array<unsigned char, 256> rarity = make_rarity();

unsigned char rarity_at(const char* needle, std::size_t i) noexcept {
  return rarity[static_cast<unsigned char>(needle[i])];
}

}  // namespace

needle_probe choose_probe(const char* needle, std::size_t n) noexcept {
  if (n == 2) {
    const std::size_t rarest = rarity_at(needle, 1) > rarity_at(needle, 0) ? 1 : 0;
    return {rarest, 1 - rarest, 1 - rarest, true};
  }
  // Both ends, as periodic texts tend to break a needle's pattern there, and the rarest byte
  // between them, preferring a value the ends do not have.
  const char first = needle[0];
  const char last = needle[n - 1];
  std::size_t rarest = 1;
  for (std::size_t i = 2; i + 1 < n; ++i) {
    const bool fresh = needle[i] != first && needle[i] != last;
    const bool rarest_fresh = needle[rarest] != first && needle[rarest] != last;
    if (fresh > rarest_fresh ||
        (fresh == rarest_fresh && rarity_at(needle, i) > rarity_at(needle, rarest))) {
      rarest = i;
    }
  }
  return {rarest, 0, n - 1, n == 3};
}

}  // namespace vq
