// The native stand-in for the Windows file calls and the thread's last-error value.
#pragma once

#include "platform/platform.h"

namespace vq::native_files {

os_handle create_file_a(const char* name, uint32_t access, uint32_t share,
                        os_security_attributes* security, uint32_t disposition, uint32_t flags,
                        os_handle template_file);
uint32_t get_file_type(os_handle file);
int32_t get_file_size_ex(os_handle file, int64_t* size);
uint32_t set_file_pointer(os_handle file, int32_t low, int32_t* high, uint32_t method);
int32_t read_file(os_handle file, void* buffer, uint32_t count, uint32_t* done, void* overlapped);
int32_t close_handle(os_handle file);
void set_last_error(uint32_t code);
uint32_t get_last_error();

}  // namespace vq::native_files
