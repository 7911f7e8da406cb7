// The search action's computation: where one text occurs inside another.
#pragma once

#include <cstdint>
#include <string_view>

namespace vq {

// Effective start of a search: from_pos, negated (wrapping in 32 bits) when direction is
// exactly "RL". Its sign picks the direction: positive forward, negative backward.
int32_t effective_start(int32_t from_pos, std::string_view direction) noexcept;

// Position search, 1-based from the left, 0 for no match.
// start > 0: leftmost match beginning at or after position start.
// start < 0: rightmost match ending at or before position P = L + start + 1 (start -1 is the
//            last byte); the match's first position is returned.
// start = 0, an empty source, or a start beyond either end give 0. An empty needle is found
// at start (forward) or at P (backward). The source is a field of a parameter text, at most
// max_text_length (2^24) bytes, so every position fits the result.
int32_t position_search(std::string_view source, std::string_view needle,
                        int32_t start) noexcept;

}  // namespace vq
