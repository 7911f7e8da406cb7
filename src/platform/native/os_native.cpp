// Binds the system-call table to a stand-in for the few Windows services the plug-in uses, so
// the portable core runs natively under sanitizers and fuzzers.
#include "platform/platform.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/native/files_native.h"

namespace vq {
namespace {

// GlobalAlloc keeps no header of ours in front of the block, so the host may free it with
// GlobalFree only; GMEM_ZEROINIT is the only flag the plug-in passes.
void* global_alloc(uint32_t flags, std::size_t bytes) {
  return (flags & os_const::gmem_zeroinit) ? std::calloc(bytes ? bytes : 1, 1)
                                           : std::malloc(bytes ? bytes : 1);
}
// GlobalFree returns null on success.
void* global_free(void* block) {
  std::free(block);
  return nullptr;
}

void* heap_alloc(std::size_t bytes) { return std::malloc(bytes ? bytes : 1); }
void heap_free(void* block) { std::free(block); }

// BSTR layout: a 32-bit byte count, the bytes, then a two-byte zero terminator; the caller
// sees a pointer to the first byte.
char* sys_alloc_string_byte_len(const char* bytes, uint32_t length) {
  auto* block = static_cast<char*>(std::malloc(sizeof(uint32_t) + std::size_t{length} + 2));
  if (!block) return nullptr;
  std::memcpy(block, &length, sizeof length);
  char* text = block + sizeof(uint32_t);
  if (bytes) std::memcpy(text, bytes, length);
  else std::memset(text, 0, length);
  text[length] = 0;
  text[length + 1] = 0;
  return text;
}
void sys_free_string(char* text) {
  if (text) std::free(text - sizeof(uint32_t));
}

uint32_t error_mode = 0;
uint32_t set_error_mode(uint32_t mode) {
  uint32_t previous = error_mode;
  error_mode = mode;
  return previous;
}

std::mutex guard;
guard_held guard_lock() {
  guard.lock();
  return {};
}
void guard_unlock() { guard.unlock(); }

}  // namespace

os_calls os = {
    .global_alloc = global_alloc,
    .global_free = global_free,
    .heap_alloc = heap_alloc,
    .heap_free = heap_free,
    .sys_alloc_string_byte_len = sys_alloc_string_byte_len,
    .sys_free_string = sys_free_string,
    .create_file_a = native_files::create_file_a,
    .get_file_type = native_files::get_file_type,
    .get_file_size_ex = native_files::get_file_size_ex,
    .set_file_pointer = native_files::set_file_pointer,
    .read_file = native_files::read_file,
    .close_handle = native_files::close_handle,
    .set_error_mode = set_error_mode,
    .set_last_error = native_files::set_last_error,
    .get_last_error = native_files::get_last_error,
    .guard_lock = guard_lock,
    .guard_unlock = guard_unlock,
};

}  // namespace vq
