#include "host/result_text.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "support/fake_os.h"

namespace vq {
namespace {

using testing::fake_os;

// A result keeps the block of the results before it when it fits and leaves at most half of
// it idle (a result under 2 KiB: any block up to 4 KiB). Each row: after results of these
// lengths, does a result of `length` bytes take a fresh block? Each result is made of its own
// byte, so a kept block that holds stale bytes shows. The 64-byte smallest block and the half
// rule's edge at 5000 bytes: Plugin.ResultTextKeepsItsBlockForResultsOfSimilarSize.
TEST(ResultText, FreshBlockOnlyWhenTheKeptOneIsTooSmallOrMostlyIdle) {
  const struct {
    std::vector<std::size_t> before;
    std::size_t length;
    bool fresh;
    bool allocation_fails = false;
  } rows[] = {
      {{}, 0, false},           // an empty result takes no block
      {{300}, 300, false},      // the same length
      {{300}, 301, true},       // one byte more than the block
      {{300}, 0, false},        // an empty result keeps the block...
      {{300, 0}, 300, false},   // ...for the next one
      {{300, 10}, 300, false},  // a smaller result leaves the block its size
      {{4200}, 2100, false},    // from 2 KiB on, the half rule alone
      {{4096}, 1, false},       // under 2 KiB, any block up to 4 KiB
      {{4096}, 2047, false},
      {{4097}, 2047, true},
      {{4096}, 2048, false},    // at 2 KiB both bounds are 4 KiB
      // No memory for the copy: the old text is released and nothing is stored.
      {{300}, 301, true, true},
      {{}, 1, true, true},
  };
  for (const auto& r : rows) {
    std::string trace = "after";
    for (std::size_t length : r.before) trace += " " + std::to_string(length);
    SCOPED_TRACE(trace + ", a result of " + std::to_string(r.length) +
                 (r.allocation_fails ? " with no memory" : ""));
    release_result_text();
    fake_os fake;
    char byte = 'a';
    bool holds_block = false;
    for (std::size_t length : r.before) {
      store_result_text(std::string(length, byte++));
      holds_block = holds_block || length > 0;
    }
    const int allocations = fake.allocations;
    if (r.allocation_fails) fake.fail_allocation(allocations + 1);
    const std::string value(r.length, byte);
    store_result_text(value);
    EXPECT_EQ(fake.allocations - allocations, r.fresh ? 1 : 0);
    if (r.allocation_fails || r.length == 0) {
      EXPECT_EQ(result_text().data(), nullptr);
      EXPECT_EQ(result_text().size(), 0u);
    } else {
      EXPECT_EQ(result_text(), value);
    }
    holds_block = !r.allocation_fails && (holds_block || r.length > 0);
    EXPECT_EQ(fake.live_heap_blocks, holds_block ? 1 : 0);
    release_result_text();
    EXPECT_EQ(fake.live_heap_blocks, 0);
  }
}

}  // namespace
}  // namespace vq
