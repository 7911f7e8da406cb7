#include "platform/native/files_native.h"

namespace vq::native_files {
namespace {
thread_local uint32_t last_error = 0;
constexpr uint32_t error_file_not_found = 2;
constexpr uint32_t error_invalid_handle = 6;
}  // namespace

// Placeholder until the file stand-in lands: every open fails.
os_handle create_file_a(const char*, uint32_t, uint32_t, os_security_attributes*, uint32_t,
                        uint32_t, os_handle) {
  last_error = error_file_not_found;
  return invalid_handle();
}
uint32_t get_file_type(os_handle) { return 0; }
int32_t get_file_size_ex(os_handle, int64_t*) {
  last_error = error_invalid_handle;
  return 0;
}
uint32_t set_file_pointer(os_handle, int32_t, int32_t*, uint32_t) {
  last_error = error_invalid_handle;
  return ~0u;
}
int32_t read_file(os_handle, void*, uint32_t, uint32_t* done, void*) {
  if (done) *done = 0;
  last_error = error_invalid_handle;
  return 0;
}
int32_t close_handle(os_handle) {
  last_error = error_invalid_handle;
  return 0;
}
void set_last_error(uint32_t code) { last_error = code; }
uint32_t get_last_error() { return last_error; }

}  // namespace vq::native_files
