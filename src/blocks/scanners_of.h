// The table of one block type's scanners (scanners.h), made from the templates of
// block_scans.h and block_filter.h. Included once by each scanners_<type>.cpp, after it defines
// VQ_BLOCK_TARGET.
#pragma once

#include "blocks/block_filter.h"
#include "blocks/block_scans.h"
#include "blocks/scanners.h"

namespace vq {
namespace {

template <class B>
constexpr scanners scanners_of = {
    block_find_byte<B>,     block_find_either<B>,  block_find_byte_last<B>,
    block_common_prefix<B>, block_common_suffix<B>, block_filter_first<B>,
    block_filter_last<B>,   block_strip_control_bytes<B>,
};

}  // namespace
}  // namespace vq
