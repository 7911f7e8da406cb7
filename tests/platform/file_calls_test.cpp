// The file calls through the system-call table, as the file read action makes them: the real
// system under Wine, the native stand-in natively. One table for both, so the stand-in is held
// to what the system does.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#else
#include <time.h>
#endif

#include "support/temp_folder.h"
#include "platform/os_errors.h"

namespace vq::testing {
namespace {

#if defined(_WIN32)
const char* const char_device = "NUL";
#else
const char* const char_device = "/dev/null";
#endif

constexpr uint32_t read_write = os_const::generic_read | os_const::generic_write;
constexpr uint32_t invalid_set_file_pointer = 0xFFFFFFFFu;

// CreateFileA as the action makes it, with the last-error value it leaves.
struct opened {
  os_handle handle;
  uint32_t error;
};
opened open_always(const std::string& name, uint32_t access) {
  os_security_attributes security{sizeof(os_security_attributes), nullptr, 1};
  os.set_last_error(0xDEADBEEF);
  const os_handle file = os.create_file_a(name.c_str(), access, 0, &security,
                                          os_const::open_always,
                                          os_const::file_attribute_normal, nullptr);
  return {file, os.get_last_error()};
}

class FileCalls : public ::testing::Test {
 protected:
  temp_folder folder;
};

TEST_F(FileCalls, OpenAlways) {
  folder.write("ten.bin", "0123456789");
  folder.write("readonly.bin", "r");
  std::filesystem::permissions(folder.path("readonly.bin"), std::filesystem::perms::owner_read);
  std::filesystem::create_directory(folder.root() / "sub");
  const struct {
    std::string name;
    uint32_t access;
    bool opens;
    uint32_t error;
  } rows[] = {
      {"ten.bin", read_write, true, os_error::already_exists},  // yet a success
      {"new.bin", read_write, true, 0},
      {"new-read.bin", os_const::generic_read, true, 0},
      {"readonly.bin", os_const::generic_read, true, os_error::already_exists},
      {"sub", read_write, false, os_error::access_denied},
      {"sub", os_const::generic_read, false, os_error::access_denied},
      {"missing/x.bin", read_write, false, 3},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name + " access " + std::to_string(r.access));
    const opened file = open_always(folder.path(r.name), r.access);
    EXPECT_EQ(file.handle != invalid_handle(), r.opens);
    EXPECT_EQ(file.error, r.error);
    if (file.handle != invalid_handle()) {
      EXPECT_TRUE(os.close_handle(file.handle));
    }
  }
  EXPECT_EQ(folder.read("new.bin"), "");
  EXPECT_EQ(folder.read("new-read.bin"), "");
  EXPECT_FALSE(std::filesystem::exists(folder.root() / "missing"));
}

TEST_F(FileCalls, ShareModeZeroExcludesEveryOtherHandle) {
  const std::string name = folder.write("ten.bin", "0123456789");
  const opened holder = open_always(name, os_const::generic_read);
  ASSERT_NE(holder.handle, invalid_handle());
  for (const uint32_t access : {read_write, os_const::generic_read}) {
    SCOPED_TRACE(access);
    const opened second = open_always(name, access);
    EXPECT_EQ(second.handle, invalid_handle());
    EXPECT_EQ(second.error, os_error::sharing_violation);
  }
  EXPECT_TRUE(os.close_handle(holder.handle));
  const opened again = open_always(name, read_write);
  EXPECT_NE(again.handle, invalid_handle());
  os.close_handle(again.handle);
}

TEST_F(FileCalls, FileTypeSizeAndClose) {
  const opened file = open_always(folder.write("ten.bin", "0123456789"), read_write);
  const opened device = open_always(char_device, read_write);
  ASSERT_NE(file.handle, invalid_handle());
  ASSERT_NE(device.handle, invalid_handle());
  EXPECT_EQ(os.get_file_type(file.handle), os_const::file_type_disk);
  EXPECT_EQ(os.get_file_type(device.handle), 2u);  // FILE_TYPE_CHAR
  int64_t size = -1;
  EXPECT_TRUE(os.get_file_size_ex(file.handle, &size));
  EXPECT_EQ(size, 10);
  EXPECT_TRUE(os.close_handle(device.handle));
  EXPECT_TRUE(os.close_handle(file.handle));
  os.set_last_error(0);
  EXPECT_FALSE(os.close_handle(file.handle));
  EXPECT_EQ(os.get_last_error(), os_error::invalid_handle);
}

// FILE_BEGIN with the high/low pair, as the action moves the pointer.
TEST_F(FileCalls, SetFilePointerThenRead) {
  const opened file = open_always(folder.write("ten.bin", "0123456789"), read_write);
  ASSERT_NE(file.handle, invalid_handle());
  const struct {
    int32_t low;
    int32_t high;
    uint32_t result;
    int32_t high_after;
    uint32_t error;           // the last-error value, 0xDEADBEEF when left alone
    std::string next_bytes;   // what a read of 4 bytes gives afterwards
  } rows[] = {
      {3, 0, 3, 0, 0xDEADBEEF, "3456"},
      // ERROR_NEGATIVE_SEEK, the pointer left at 7.
      {-1, -1, invalid_set_file_pointer, -1, os_error::negative_seek, "789"},
      {7, 0, 7, 0, 0xDEADBEEF, "789"},
      {10, 0, 10, 0, 0xDEADBEEF, ""},
      {20, 0, 20, 0, 0xDEADBEEF, ""},
      {0, 1, 0, 1, 0xDEADBEEF, ""},  // 2^32, past the end
      {-1, 0, invalid_set_file_pointer, 0, 0, ""},  // 2^32 - 1: a success told by error 0
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::to_string(r.high) + ":" + std::to_string(r.low));
    int32_t high = r.high;
    os.set_last_error(0xDEADBEEF);
    EXPECT_EQ(os.set_file_pointer(file.handle, r.low, &high, os_const::file_begin), r.result);
    EXPECT_EQ(os.get_last_error(), r.error);
    EXPECT_EQ(high, r.high_after);
    char buffer[4] = {};
    uint32_t done = 99;
    EXPECT_TRUE(os.read_file(file.handle, buffer, 4, &done, nullptr));
    EXPECT_EQ(std::string(buffer, done), r.next_bytes);
  }
  uint32_t done = 99;
  char none = 0;
  EXPECT_TRUE(os.read_file(file.handle, &none, 0, &done, nullptr));
  EXPECT_EQ(done, 0u);
  os.close_handle(file.handle);
}

TEST_F(FileCalls, LastErrorBelongsToTheThread) {
  // Joining a thread may itself touch this thread's value, so only the other side is checked.
  os.set_last_error(7);
  uint32_t seen_first = 7;
  uint32_t seen_after = 0;
  std::thread other([&] {
    seen_first = os.get_last_error();
    os.set_last_error(9);
    seen_after = os.get_last_error();
  });
  other.join();
  EXPECT_NE(seen_first, 7u);
  EXPECT_EQ(seen_after, 9u);
}

// CPU time the calling thread has used, in milliseconds.
double thread_cpu_ms() {
#if defined(_WIN32)
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  auto ms = [](FILETIME t) { return (double(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4; };
  return ms(kernel) + ms(user);
#else
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
#endif
}

TEST_F(FileCalls, TheGuardLockExcludesAndItsWaiterSleeps) {
  // The holder may sit in an open on a network path for seconds: a waiter must not spin.
  std::atomic<bool> held{false}, released{false}, entered_while_held{false};
  std::thread holder([&] {
    os.guard_lock();
    held = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    released = true;
    os.guard_unlock();
  });
  while (!held) std::this_thread::yield();
  const double cpu_before = thread_cpu_ms();
  os.guard_lock();
  const double cpu_spent = thread_cpu_ms() - cpu_before;
  entered_while_held = !released;
  os.guard_unlock();
  holder.join();
  EXPECT_FALSE(entered_while_held);
  EXPECT_LT(cpu_spent, 200.0) << "the waiter burned the processor for 400 ms of waiting";
}

}  // namespace
}  // namespace vq::testing
