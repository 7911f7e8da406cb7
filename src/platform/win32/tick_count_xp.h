// The XP branch of the programs' GetTickCount64 (tick_count_xp.cpp), as a pure function.
#pragma once

#include <cstdint>

namespace vq {

// The 64-bit count after `last` once the 32-bit count reads `now`: the wraps seen so far (the
// high half of last) above now, plus one more when now is below the low half of last, as the
// 32-bit count then wrapped past 2^32 since it was last read.
constexpr std::uint64_t extended_tick_count(std::uint64_t last, std::uint32_t now) noexcept {
  std::uint64_t next = (last & ~std::uint64_t{0xFFFFFFFF}) | now;
  if (now < static_cast<std::uint32_t>(last)) next += std::uint64_t{1} << 32;
  return next;
}

}  // namespace vq
