#include "text/needle_probe.h"

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
  std::size_t a = 0;
  for (std::size_t i = 1; i < n; ++i) {
    if (rarity_at(needle, i) > rarity_at(needle, a)) a = i;
  }
  if (n == 2) return {a, 1 - a, 1 - a, true};
  if (n == 3) {
    const std::size_t b = a == 0 ? 1 : 0;
    return {a, b, 3 - a - b, true};
  }
  // A second byte of a different value filters far better than a repeat of the first.
  std::size_t b = n;
  for (std::size_t i = 0; i < n; ++i) {
    if (needle[i] == needle[a]) continue;
    if (b == n || rarity_at(needle, i) > rarity_at(needle, b)) b = i;
  }
  if (b == n) b = a == 0 ? n - 1 : 0;  // all bytes alike: test both ends
  return {a, b, b, false};
}

}  // namespace vq
