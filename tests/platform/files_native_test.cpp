// What only the native stand-in shows: fifos, another process holding a file, and the file read
// action returning at once on them; calls the plug-in never makes refused.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "actions/file_read_fixture.h"
#include "platform/platform.h"
#include "support/fake_os.h"
#include "platform/os_errors.h"

namespace vq::testing {
namespace {

class FilesNative : public file_read_run {};

TEST_F(FilesNative, DevicesAndFifosAreClosedUnread) {
  // A fifo with no writer: a read would wait for ever.
  const std::string fifo = folder.path("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const struct {
    std::string name;
    uint32_t type;
  } rows[] = {{"/dev/null", 2}, {"/dev/zero", 2}, {fifo, 3}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    const os_handle file = os.create_file_a(r.name.c_str(), os_const::generic_read, 0, nullptr,
                                            os_const::open_always,
                                            os_const::file_attribute_normal, nullptr);
    ASSERT_NE(file, invalid_handle());
    EXPECT_EQ(os.get_file_type(file), r.type);
    os.close_handle(file);
    fake_os fake;
    EXPECT_EQ(run(r.name, "1|100|"), std::nullopt);
    EXPECT_TRUE(fake.read_file_counts.empty());
  }
}

TEST_F(FilesNative, ReadOnlyFilesRefuseWriteAccessEvenToRoot) {
  const std::string file = folder.write("readonly.bin", "r");
  ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  os.set_last_error(0);
  EXPECT_EQ(os.create_file_a(file.c_str(), os_const::generic_read | os_const::generic_write, 0,
                             nullptr, os_const::open_always, os_const::file_attribute_normal,
                             nullptr),
            invalid_handle());
  EXPECT_EQ(os.get_last_error(), os_error::access_denied);
  fake_os fake;
  EXPECT_EQ(run(file, "1|5|"), "r");
  EXPECT_EQ(fake.create_file_calls.size(), 2u);
}

// What the plug-in never asks for is refused, not emulated.
TEST_F(FilesNative, OtherCallsFailWithInvalidParameter) {
  const std::string file = folder.write("ten.bin", "0123456789");
  constexpr uint32_t create_always = 2;
  const struct {
    uint32_t access, share, disposition;
  } opens[] = {
      {os_const::generic_write, 0, os_const::open_always},
      {0, 0, os_const::open_always},
      {os_const::generic_read, 1, os_const::open_always},  // FILE_SHARE_READ
      {os_const::generic_read, 0, create_always},
  };
  for (const auto& r : opens) {
    SCOPED_TRACE(std::to_string(r.access) + " " + std::to_string(r.share) + " " +
                 std::to_string(r.disposition));
    os.set_last_error(0xDEADBEEF);
    EXPECT_EQ(os.create_file_a(file.c_str(), r.access, r.share, nullptr, r.disposition,
                               os_const::file_attribute_normal, nullptr),
              invalid_handle());
    EXPECT_EQ(os.get_last_error(), os_error::invalid_parameter);
  }
  const os_handle held = os.create_file_a(file.c_str(), os_const::generic_read, 0, nullptr,
                                          os_const::open_always,
                                          os_const::file_attribute_normal, nullptr);
  ASSERT_NE(held, invalid_handle());
  int32_t high = 0;
  for (const uint32_t method : {1u, 2u}) {  // FILE_CURRENT, FILE_END
    os.set_last_error(0xDEADBEEF);
    EXPECT_EQ(os.set_file_pointer(held, 2, &high, method), 0xFFFFFFFFu);
    EXPECT_EQ(os.get_last_error(), os_error::invalid_parameter);
  }
  EXPECT_EQ(os.set_file_pointer(held, 2, nullptr, os_const::file_begin), 0xFFFFFFFFu);
  EXPECT_EQ(os.get_last_error(), os_error::invalid_parameter);
  os.close_handle(held);
}

TEST_F(FilesNative, AFileHeldByAnotherProcessYieldsNothing) {
  const std::string file = folder.write("held.bin", "abc");
  int ready[2];
  int release[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(release), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The child holds the file with share mode 0 until the parent lets go of it.
    const os_handle held = os.create_file_a(file.c_str(), os_const::generic_read, 0, nullptr,
                                            os_const::open_always,
                                            os_const::file_attribute_normal, nullptr);
    const char state = held != invalid_handle() ? 'y' : 'n';
    (void)!::write(ready[1], &state, 1);
    char done = 0;
    (void)!::read(release[0], &done, 1);
    ::_exit(0);
  }
  char state = 0;
  ASSERT_EQ(::read(ready[0], &state, 1), 1);
  EXPECT_EQ(state, 'y');
  EXPECT_EQ(run(file, "1|3|"), std::nullopt);
  const char done = 1;
  (void)!::write(release[1], &done, 1);
  int status = 0;
  ::waitpid(child, &status, 0);
  for (int fd : {ready[0], ready[1], release[0], release[1]}) ::close(fd);
  EXPECT_EQ(run(file, "1|3|"), "abc");
}

}  // namespace
}  // namespace vq::testing
