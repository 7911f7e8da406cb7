// The scanners for processors with AVX2: thirty-two bytes a step.
#include "search/scanners.h"

#include "search/block_avx2.h"

#define VQ_BLOCK_TARGET __attribute__((target("avx2")))
#include "search/block_scans.h"
#include "search/block_filter.h"

namespace vq {

extern const scanners avx2_scanners = {
    block_find_byte<avx2_block>,           block_find_either<avx2_block>,
    block_find_byte_last<avx2_block>,      block_common_prefix<avx2_block>,
    block_common_suffix<avx2_block>,       block_filter_first<avx2_block>,
    block_filter_last<avx2_block>,         block_strip_control_bytes<avx2_block>,
};

}  // namespace vq
