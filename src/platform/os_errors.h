// The Windows error codes the plug-in, its native stand-in and the tests name: one table, each
// under its Win32 name in lower case without ERROR_, so no code appears as a bare number. The
// Windows build checks each against winerror.h (platform/win32/os_win32.cpp).
#pragma once

#include <cstdint>

namespace vq::os_error {

inline constexpr uint32_t invalid_function = 1;
inline constexpr uint32_t path_not_found = 3;
inline constexpr uint32_t too_many_open_files = 4;
inline constexpr uint32_t access_denied = 5;
inline constexpr uint32_t invalid_handle = 6;
inline constexpr uint32_t not_enough_memory = 8;
inline constexpr uint32_t read_fault = 30;
inline constexpr uint32_t sharing_violation = 32;
inline constexpr uint32_t handle_eof = 38;
inline constexpr uint32_t invalid_parameter = 87;
inline constexpr uint32_t negative_seek = 131;
inline constexpr uint32_t already_exists = 183;
inline constexpr uint32_t no_system_resources = 1450;
inline constexpr uint32_t working_set_quota = 1453;
inline constexpr uint32_t not_enough_quota = 1816;

}  // namespace vq::os_error
