// The scanners every processor runs: integer arithmetic on machine words.
#include "blocks/block_portable.h"

#define VQ_BLOCK_TARGET
#include "blocks/scanners_of.h"

namespace vq {

extern const scanners portable_scanners = scanners_of<portable_block>;

}  // namespace vq
