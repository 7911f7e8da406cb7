// The plug-in's only seam to the operating system. Every Windows call the plug-in makes goes
// through the table `os`, bound to the real system in the DLL build, to a small stand-in in the
// native build, and swapped entry by entry by tests that need a call to fail.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vq {

using os_handle = void*;

// The Windows constants the plug-in passes, spelled here so portable code needs no system header.
namespace os_const {
inline constexpr uint32_t gmem_zeroinit = 0x0040;
inline constexpr uint32_t generic_read = 0x80000000u;
inline constexpr uint32_t generic_write = 0x40000000u;
inline constexpr uint32_t open_always = 4;
inline constexpr uint32_t file_attribute_normal = 0x80;
inline constexpr uint32_t file_type_unknown = 0;
inline constexpr uint32_t file_type_disk = 1;
inline constexpr uint32_t file_type_char = 2;
inline constexpr uint32_t file_type_pipe = 3;
inline constexpr uint32_t file_begin = 0;
inline constexpr uint32_t sem_failcriticalerrors = 0x0001;
inline constexpr uint32_t sem_noopenfileerrorbox = 0x8000;
}  // namespace os_const

// INVALID_HANDLE_VALUE.
inline os_handle invalid_handle() noexcept { return reinterpret_cast<os_handle>(~std::uintptr_t{0}); }

// Same layout as SECURITY_ATTRIBUTES (12 bytes on 32-bit Windows).
struct os_security_attributes {
  uint32_t length;
  void* descriptor;
  int32_t inherit_handle;
};

// What guard_lock returns (guard_unlock returns nothing): the two slots differ in type, so a
// table that binds them the wrong way round does not compile.
struct guard_held {};

// Bound by name (designated initializers) in every table, so no entry can land in another's slot.
struct os_calls {
  // GlobalAlloc / GlobalFree: identity texts handed to the host.
  void* (*global_alloc)(uint32_t flags, std::size_t bytes);
  void* (*global_free)(void* block);
  // HeapAlloc / HeapFree on the process heap: the result text and every other buffer.
  void* (*heap_alloc)(std::size_t bytes);
  void (*heap_free)(void* block);
  // SysAllocStringByteLen / SysFreeString: callback texts in BSTR layout; a null source
  // reserves length bytes, not yet written.
  char* (*sys_alloc_string_byte_len)(const char* bytes, uint32_t length);
  void (*sys_free_string)(char* text);
  // The file calls, with the Win32 argument lists.
  os_handle (*create_file_a)(const char* name, uint32_t access, uint32_t share,
                             os_security_attributes* security, uint32_t disposition,
                             uint32_t flags, os_handle template_file);
  uint32_t (*get_file_type)(os_handle file);
  // The read asks for the size first and reserves no more than the file holds after the
  // position: a huge count on a short file is then still read, where reserving the count
  // itself (up to 2 GiB) would fail in a crowded 32-bit process and give nothing.
  int32_t (*get_file_size_ex)(os_handle file, int64_t* size);
  uint32_t (*set_file_pointer)(os_handle file, int32_t low, int32_t* high, uint32_t method);
  int32_t (*read_file)(os_handle file, void* buffer, uint32_t count, uint32_t* done,
                       void* overlapped);
  int32_t (*close_handle)(os_handle file);
  uint32_t (*set_error_mode)(uint32_t mode);
  void (*set_last_error)(uint32_t code);
  uint32_t (*get_last_error)();
  // The one module-wide lock around guarded file calls (why: platform/guarded_call.h).
  guard_held (*guard_lock)();
  void (*guard_unlock)();
};

// Bound at load to the system; tests replace entries and restore them.
extern os_calls os;

}  // namespace vq
