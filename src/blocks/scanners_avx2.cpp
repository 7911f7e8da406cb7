// The scanners for processors with AVX2: thirty-two bytes a step.
#include "blocks/block_avx2.h"

#define VQ_BLOCK_TARGET __attribute__((target("avx2")))
#include "blocks/scanners_of.h"

namespace vq {

extern const scanners avx2_scanners = scanners_of<avx2_block>;

}  // namespace vq
