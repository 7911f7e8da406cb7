// The scanners every processor runs: integer arithmetic on machine words.
#include "search/scanners.h"

#include "search/block_portable.h"

#define VQ_BLOCK_TARGET 
#include "search/block_scans.h"
#include "search/block_filter.h"

namespace vq {

extern const scanners portable_scanners = {
    block_find_byte<portable_block>,           block_find_either<portable_block>,
    block_find_byte_last<portable_block>,      block_common_prefix<portable_block>,
    block_common_suffix<portable_block>,       block_filter_first<portable_block>,
    block_filter_last<portable_block>,         block_strip_control_bytes<portable_block>,
};

}  // namespace vq
