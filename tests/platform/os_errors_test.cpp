// The named error codes against the numbers Windows documents for them (winerror.h): the
// native build, which never sees that header, would take a wrong number for the truth, in the
// stand-in and in the fake alike. The Windows build checks the same at compile time
// (platform/win32/os_win32.cpp).
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/os_errors.h"

namespace vq {
namespace {

TEST(OsErrors, EachNameHasWindowsNumber) {
#define VQ_CODE(name, number) {"ERROR_" #name, os_error::name, number}
  const struct {
    const char* name;
    uint32_t ours;
    uint32_t windows;
  } rows[] = {
      VQ_CODE(invalid_function, 1),        VQ_CODE(path_not_found, 3),
      VQ_CODE(too_many_open_files, 4),     VQ_CODE(access_denied, 5),
      VQ_CODE(invalid_handle, 6),          VQ_CODE(not_enough_memory, 8),
      VQ_CODE(read_fault, 30),             VQ_CODE(sharing_violation, 32),
      VQ_CODE(handle_eof, 38),             VQ_CODE(invalid_parameter, 87),
      VQ_CODE(negative_seek, 131),         VQ_CODE(already_exists, 183),
      VQ_CODE(no_system_resources, 1450),  VQ_CODE(working_set_quota, 1453),
      VQ_CODE(not_enough_quota, 1816),
  };
#undef VQ_CODE
  for (const auto& r : rows) EXPECT_EQ(r.ours, r.windows) << r.name;
}

}  // namespace
}  // namespace vq
