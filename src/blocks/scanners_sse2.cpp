// The scanners for processors with SSE2: sixteen bytes a step.
#include "blocks/block_sse2.h"

#define VQ_BLOCK_TARGET __attribute__((target("sse2")))
#include "blocks/scanners_of.h"

namespace vq {

extern const scanners sse2_scanners = scanners_of<sse2_block>;

}  // namespace vq
