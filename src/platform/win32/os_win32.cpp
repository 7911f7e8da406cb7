// Binds the system-call table to Windows.
#include "platform/platform.h"

#include <windows.h>
#include <oleauto.h>

#include "platform/os_errors.h"

namespace vq {
namespace {

// The names the portable code and the tests use for the system's error codes are its numbers.
static_assert(os_error::invalid_function == ERROR_INVALID_FUNCTION);
static_assert(os_error::path_not_found == ERROR_PATH_NOT_FOUND);
static_assert(os_error::too_many_open_files == ERROR_TOO_MANY_OPEN_FILES);
static_assert(os_error::access_denied == ERROR_ACCESS_DENIED);
static_assert(os_error::invalid_handle == ERROR_INVALID_HANDLE);
static_assert(os_error::not_enough_memory == ERROR_NOT_ENOUGH_MEMORY);
static_assert(os_error::read_fault == ERROR_READ_FAULT);
static_assert(os_error::sharing_violation == ERROR_SHARING_VIOLATION);
static_assert(os_error::handle_eof == ERROR_HANDLE_EOF);
static_assert(os_error::invalid_parameter == ERROR_INVALID_PARAMETER);
static_assert(os_error::negative_seek == ERROR_NEGATIVE_SEEK);
static_assert(os_error::already_exists == ERROR_ALREADY_EXISTS);
static_assert(os_error::no_system_resources == ERROR_NO_SYSTEM_RESOURCES);
static_assert(os_error::working_set_quota == ERROR_WORKING_SET_QUOTA);
static_assert(os_error::not_enough_quota == ERROR_NOT_ENOUGH_QUOTA);

// The table holds plain functions; these adapt the WINAPI (stdcall) signatures to it.
void* global_alloc(uint32_t flags, std::size_t bytes) { return GlobalAlloc(flags, bytes); }
void* global_free(void* block) { return GlobalFree(static_cast<HGLOBAL>(block)); }

void* heap_alloc(std::size_t bytes) { return HeapAlloc(GetProcessHeap(), 0, bytes); }
void heap_free(void* block) {
  if (block) HeapFree(GetProcessHeap(), 0, block);
}

char* sys_alloc_string_byte_len(const char* bytes, uint32_t length) {
  return reinterpret_cast<char*>(SysAllocStringByteLen(bytes, length));
}
void sys_free_string(char* text) { SysFreeString(reinterpret_cast<BSTR>(text)); }

os_handle create_file_a(const char* name, uint32_t access, uint32_t share,
                        os_security_attributes* security, uint32_t disposition, uint32_t flags,
                        os_handle template_file) {
  static_assert(sizeof(os_security_attributes) == sizeof(SECURITY_ATTRIBUTES));
  return CreateFileA(name, access, share, reinterpret_cast<SECURITY_ATTRIBUTES*>(security),
                     disposition, flags, template_file);
}
uint32_t get_file_type(os_handle file) { return GetFileType(file); }
int32_t get_file_size_ex(os_handle file, int64_t* size) {
  LARGE_INTEGER value{};
  BOOL ok = GetFileSizeEx(file, &value);
  *size = value.QuadPart;
  return ok;
}
uint32_t set_file_pointer(os_handle file, int32_t low, int32_t* high, uint32_t method) {
  return SetFilePointer(file, low, reinterpret_cast<LONG*>(high), method);
}
int32_t read_file(os_handle file, void* buffer, uint32_t count, uint32_t* done, void* overlapped) {
  return ReadFile(file, buffer, count, reinterpret_cast<DWORD*>(done),
                  static_cast<OVERLAPPED*>(overlapped));
}
int32_t close_handle(os_handle file) { return CloseHandle(file); }
uint32_t set_error_mode(uint32_t mode) { return SetErrorMode(mode); }
void set_last_error(uint32_t code) { SetLastError(code); }
uint32_t get_last_error() { return GetLastError(); }

// The guard lock is one word taken with InterlockedCompareExchange: it needs no set-up and no
// release, so it works from the first call whatever the load order, and every Windows from XP
// on has what it uses (a slim reader/writer lock would need Vista). A waiter sleeps between
// tries rather than spin, since the holder may sit in an open on a network path for seconds.
// Waiting is rare (the host runs one action at a time), so a millisecond's delay costs nothing.
volatile LONG guard = 0;
guard_held guard_lock() {
  for (unsigned tries = 0; InterlockedCompareExchange(&guard, 1, 0) != 0; ++tries) {
    Sleep(tries < 8 ? 0 : 1);
  }
  return {};
}
void guard_unlock() { InterlockedExchange(&guard, 0); }

}  // namespace

os_calls os = {
    .global_alloc = global_alloc,
    .global_free = global_free,
    .heap_alloc = heap_alloc,
    .heap_free = heap_free,
    .sys_alloc_string_byte_len = sys_alloc_string_byte_len,
    .sys_free_string = sys_free_string,
    .create_file_a = create_file_a,
    .get_file_type = get_file_type,
    .get_file_size_ex = get_file_size_ex,
    .set_file_pointer = set_file_pointer,
    .read_file = read_file,
    .close_handle = close_handle,
    .set_error_mode = set_error_mode,
    .set_last_error = set_last_error,
    .get_last_error = get_last_error,
    .guard_lock = guard_lock,
    .guard_unlock = guard_unlock,
};

}  // namespace vq
