// The scanners for processors with SSE2: sixteen bytes a step.
#include "search/scanners.h"

#include "search/block_sse2.h"

#define VQ_BLOCK_TARGET __attribute__((target("sse2")))
#include "search/block_scans.h"
#include "search/block_filter.h"

namespace vq {

extern const scanners sse2_scanners = {
    block_find_byte<sse2_block>,           block_find_either<sse2_block>,
    block_find_byte_last<sse2_block>,      block_common_prefix<sse2_block>,
    block_common_suffix<sse2_block>,       block_filter_first<sse2_block>,
    block_filter_last<sse2_block>,         block_strip_control_bytes<sse2_block>,
};

}  // namespace vq
