// The file read when the system refuses one large read for want of resources: the same bytes in
// smaller reads, judged by what the fake saw (the size and start of every read) and by the value
// published, not by which call came when.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "actions/file_read_fixture.h"
#include "platform/os_errors.h"
#include "support/fake_os.h"

namespace vq::testing {
namespace {

using bytes = std::optional<std::string>;
constexpr uint32_t mib = 1 << 20;

bool is_resource_code(uint32_t code) {
  return code == os_error::not_enough_memory || code == os_error::no_system_resources ||
         code == os_error::working_set_quota || code == os_error::not_enough_quota;
}

// The reads of one run, from the file offset from, of wanted bytes (what was reserved): the
// whole at once first; every read starts where the bytes that came stop (the pointer put back
// after each refusal, which moved it) and asks for no more than is still wanted; a refused read
// is followed by one of half its size (or more, to stay at the smallest piece), a failure of any
// other kind by none, a read that came whole by another only while bytes are still wanted; no
// piece but the last is below the smallest. Returns the bytes delivered.
uint32_t check_reads(const fake_os& fake, int64_t from, uint32_t wanted, uint32_t smallest) {
  const auto& reads = fake.read_file_calls;
  if (reads.empty()) {
    ADD_FAILURE() << "no ReadFile";
    return 0;
  }
  EXPECT_EQ(reads[0].count, wanted) << "the first read asks for the whole";
  uint32_t done = 0;
  for (std::size_t i = 0; i < reads.size(); ++i) {
    SCOPED_TRACE("read #" + std::to_string(i + 1) + " of " + std::to_string(reads[i].count));
    const bool last = i + 1 == reads.size();
    EXPECT_EQ(reads[i].offset, from + done) << "not where the bytes that came stop";
    EXPECT_LE(reads[i].count, wanted - done) << "asks past the reservation";
    if (i > 0 && !last) {
      EXPECT_GE(reads[i].count, smallest) << "a piece below the smallest";
    }
    if (reads[i].error != 0) {
      if (!is_resource_code(reads[i].error)) {
        EXPECT_TRUE(last) << "a failure retried";
      }
      if (is_resource_code(reads[i].error) && !last) {
        EXPECT_GE(reads[i + 1].count, reads[i].count / 2) << "more than halved";
        EXPECT_LT(reads[i + 1].count, reads[i].count) << "not halved";
      }
      continue;
    }
    done += reads[i].delivered;
    if (!last) {
      EXPECT_TRUE(reads[i].delivered == reads[i].count && done < wanted) << "read on";
    }
  }
  return done;
}

// 3 MiB that repeats nowhere near a piece's length, control bytes included.
std::string big_content() {
  std::string content(3 << 20, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7 + i / 251);
  return content;
}

TEST_F(FileReadCalls, AReadRefusedForResourcesComesInPieces) {
  const std::string content = big_content();
  const std::string file = folder.write("big.bin", content);
  auto stripped = [](std::string s) {
    std::erase_if(s, [](char c) { return static_cast<unsigned char>(c) < 32; });
    return s;
  };
  // Refused at every size: nothing, nothing left behind, and the last size tried is the
  // smallest piece, which the rows below hold every piece but a last one to.
  uint32_t smallest = 0;
  {
    fake_os fake;
    fake.refuse_reads_above = 0;
    EXPECT_EQ(exec(file + "|1|2147483647|None|v"), std::nullopt);
    smallest = fake.read_file_counts.back();
    EXPECT_EQ(check_reads(fake, 0, 3 << 20, smallest), 0u);
    EXPECT_GE(smallest, 4096u) << "pieces of a page or less would crawl";
  }
  enum class besides { nothing, no_size, read_fault, no_move_back };
  const struct {
    const char* fields;  // start|count|mode
    uint32_t refuse_above;
    uint32_t code;
    bytes value;
    besides then = besides::nothing;
    int64_t at = 0;  // the read fault's file offset, or the failed read the move back follows
    uint32_t fault_code = os_error::access_denied;
  } rows[] = {
      // Refused whole and at half: then quarters, each read whole.
      {"1|2147483647|None", mib, os_error::no_system_resources, content},
      {"1000001|2147483647|None", mib, os_error::not_enough_quota, content.substr(1000000)},
      // Refused again in the middle, after pieces came: halved again, from where they stop.
      {"1000001|2147483647|None", mib, os_error::no_system_resources, content.substr(1000000),
       besides::read_fault, 2 * mib, os_error::no_system_resources},
      {"1|3145728|ALL", mib, os_error::working_set_quota, stripped(content)},
      {"7|3000000|all", mib, os_error::not_enough_memory, stripped(content.substr(6, 3000000))},
      // The file longer than the count: the last piece (1 byte; 100 bytes before the file's
      // end) is what is still wanted, not a whole piece nor the rest of the file.
      {"1|2500001|None", mib, os_error::no_system_resources, content.substr(0, 2500001)},
      {"645628|2500001|ALL", mib, os_error::not_enough_quota,
       stripped(content.substr(645627, 2500001))},
      // Without the file's size the whole count is reserved: the short piece at the end of the
      // file ends the read.
      {"1000001|4194304|None", mib, os_error::no_system_resources, content.substr(1000000),
       besides::no_size},
      // Without the size, one byte short of the count: the text is cut to the bytes that came.
      {"3145726|4|None", mib, os_error::no_system_resources, content.substr(3145725),
       besides::no_size},
      // A piece failing otherwise in the middle, or the pointer refusing to go back after the
      // first or the second refusal: nothing.
      {"1|2147483647|None", mib, os_error::no_system_resources, std::nullopt, besides::read_fault,
       2 * mib},
      {"1|2147483647|None", mib, os_error::no_system_resources, std::nullopt,
       besides::no_move_back, 1},
      {"1|2147483647|None", mib, os_error::no_system_resources, std::nullopt,
       besides::no_move_back, 2},
      // Any other failure is not retried.
      {"1|2147483647|None", 0, os_error::access_denied, std::nullopt},
      // A read the system takes whole stays one read.
      {"1|1000|None", mib, os_error::no_system_resources, content.substr(0, 1000)},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.fields) + " code " + std::to_string(r.code) + " besides " +
                 std::to_string(static_cast<int>(r.then)) + " at " + std::to_string(r.at));
    fake_os fake;
    fake.refuse_reads_above = r.refuse_above;
    fake.refusal_code = r.code;
    fake.failure_code = r.fault_code;
    if (r.then == besides::no_size) fake.fail("GetFileSizeEx");
    if (r.then == besides::read_fault) fake.fail_read_from(r.at, r.fault_code);
    if (r.then == besides::no_move_back) fake.fail_move_after_failed_read(static_cast<int>(r.at));
    EXPECT_EQ(exec(file + "|" + r.fields + "|v"), r.value);
    const std::string fields = r.fields;
    const int64_t from = std::stoll(fields) - 1;
    const int64_t count = std::stoll(fields.substr(fields.find('|') + 1));
    const auto wanted = static_cast<uint32_t>(
        r.then == besides::no_size ? count : std::min<int64_t>(count, (3 << 20) - from));
    const uint32_t done = check_reads(fake, from, wanted, smallest);
    if (r.value && r.then != besides::no_size) {
      EXPECT_EQ(done, wanted);
    }
  }
}

// Which last-error codes of a refused read lead into pieces: the four that mean "too large for
// the resources now", and none of its neighbours.
TEST_F(FileReadCalls, EachResourceCodeAndNoOtherLeadsIntoPieces) {
  const std::string content = big_content();
  const std::string file = folder.write("big.bin", content);
  const struct {
    uint32_t code;
    bool in_pieces;
  } rows[] = {
      {os_error::not_enough_memory, true},  {os_error::no_system_resources, true},
      {os_error::working_set_quota, true},  {os_error::not_enough_quota, true},
      {os_error::access_denied, false},     {os_error::read_fault, false},
      {os_error::handle_eof, false},        {os_error::invalid_parameter, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE("code " + std::to_string(r.code));
    fake_os fake;
    fake.refuse_reads_above = mib;
    fake.refusal_code = r.code;
    EXPECT_EQ(exec(file + "|1|2147483647|None|v"), r.in_pieces ? bytes(content) : std::nullopt);
    EXPECT_EQ(fake.read_file_calls.size() > 1, r.in_pieces);
  }
}

}  // namespace
}  // namespace vq::testing
