// The search engine's answer for "no match", apart from every other declaration so that its
// parts can use it without including find.h.
#pragma once

#include <cstddef>

namespace vq {

inline constexpr std::size_t not_found = static_cast<std::size_t>(-1);

}  // namespace vq
