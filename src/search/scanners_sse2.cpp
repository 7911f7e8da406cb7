// The scanners for processors with SSE2: sixteen bytes a step.
#include "search/block_sse2.h"

#define VQ_BLOCK_TARGET __attribute__((target("sse2")))
#include "search/scanners_of.h"

namespace vq {

extern const scanners sse2_scanners = scanners_of<sse2_block>;

}  // namespace vq
