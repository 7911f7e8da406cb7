// The calls a fake_os puts in force: each logs, checks the guard, fails when told, and
// otherwise forwards to the binding the fake replaced.
#include "support/fake_os.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/os_errors.h"

namespace vq::testing {
namespace {

fake_os* active() { return current_fake(); }

// After a file call that succeeded: the last-error value it was told to leave, if any.
void leave_error_if_told(const char* name) {
  if (active()->should_leave_error(name)) active()->real.set_last_error(active()->failure_code);
}

void* global_alloc(uint32_t flags, std::size_t bytes) {
  if (active()->should_fail("GlobalAlloc")) return nullptr;
  void* block = active()->real.global_alloc(flags, bytes);
  if (block) ++active()->live_blocks;
  return block;
}
void* global_free(void* block) {
  active()->should_fail("GlobalFree");
  active()->freed_blocks.push_back(block);
  if (block) --active()->live_blocks;
  return active()->real.global_free(block);
}
void* heap_alloc(std::size_t bytes) {
  if (active()->should_fail("HeapAlloc")) return nullptr;
  void* block = active()->real.heap_alloc(bytes);
  if (block) ++active()->live_heap_blocks;
  return block;
}
void heap_free(void* block) {
  active()->should_fail("HeapFree");
  if (block) --active()->live_heap_blocks;
  active()->real.heap_free(block);
}
char* sys_alloc_string_byte_len(const char* bytes, uint32_t length) {
  if (active()->should_fail("SysAllocStringByteLen")) return nullptr;
  char* text = active()->fences.make(active()->real, bytes, length);
  if (text) ++active()->live_strings;
  return text;
}
void sys_free_string(char* text) {
  active()->should_fail("SysFreeString");
  if (text) --active()->live_strings;
  const std::string overrun = active()->fences.release(active()->real, text);
  if (!overrun.empty()) ADD_FAILURE() << "fake_os: " << overrun;
}
os_handle create_file_a(const char* name, uint32_t access, uint32_t share,
                        os_security_attributes* security, uint32_t disposition, uint32_t flags,
                        os_handle template_file) {
  active()->check_guarded("CreateFileA");
  active()->create_file_calls.push_back(
      {name ? name : "", access, share, security != nullptr, security ? security->length : 0,
       security ? security->descriptor : nullptr, security ? security->inherit_handle : 0,
       disposition, flags, template_file});
  if (active()->should_fail("CreateFileA")) {
    active()->real.set_last_error(active()->failure_code);
    return invalid_handle();
  }
  os_handle file = active()->real.create_file_a(name, access, share, security, disposition, flags,
                                              template_file);
  if (file != invalid_handle()) {
    ++active()->live_handles;
    active()->positions[file] = 0;
    leave_error_if_told("CreateFileA");
  }
  return file;
}
uint32_t get_file_type(os_handle file) {
  active()->check_guarded("GetFileType");
  if (active()->should_fail("GetFileType")) return os_const::file_type_unknown;
  return active()->real.get_file_type(file);
}
int32_t get_file_size_ex(os_handle file, int64_t* size) {
  active()->check_guarded("GetFileSizeEx");
  if (active()->should_fail("GetFileSizeEx")) {
    active()->real.set_last_error(active()->failure_code);
    return 0;
  }
  return active()->real.get_file_size_ex(file, size);
}
uint32_t set_file_pointer(os_handle file, int32_t low, int32_t* high, uint32_t method) {
  active()->check_guarded("SetFilePointer");
  active()->set_file_pointer_calls.push_back({low, high != nullptr, high ? *high : 0, method});
  constexpr uint32_t invalid_set_file_pointer = 0xFFFFFFFFu;
  if (active()->should_fail("SetFilePointer") || active()->seek_fails_now()) {
    active()->real.set_last_error(active()->failure_code);
    return invalid_set_file_pointer;
  }
  const uint32_t moved = active()->real.set_file_pointer(file, low, high, method);
  // Only a last-error value tells a move to 0xFFFFFFFF from a failure; the guard made it 0.
  if (high && (moved != invalid_set_file_pointer || active()->real.get_last_error() == 0)) {
    active()->positions[file] =
        static_cast<int64_t>(uint64_t{static_cast<uint32_t>(*high)} << 32 | moved);
  }
  leave_error_if_told("SetFilePointer");
  return moved;
}
int32_t read_file(os_handle file, void* buffer, uint32_t count, uint32_t* done, void* overlapped) {
  active()->check_guarded("ReadFile");
  active()->read_file_counts.push_back(count);
  int64_t& position = active()->positions[file];
  fake_os::read_file_call& call = active()->read_file_calls.emplace_back();
  call = {count, position, 0, 0};
  const bool refused = count > active()->refuse_reads_above;
  const bool faulty = active()->read_fails_at(position);
  if (active()->should_fail("ReadFile") || refused || faulty) {
    call.error = refused ? active()->refusal_code
                 : faulty ? active()->read_fault_code
                          : active()->failure_code;
    if ((refused || faulty) && buffer) {
      // Windows documents neither the file pointer nor the buffer after a failed read: this
      // one moves the pointer a third of the count on and scribbles over the buffer.
      uint32_t moved = 0;
      active()->real.read_file(file, buffer, count / 3, &moved, nullptr);
      position += moved;
      std::memset(buffer, 0xA5, count);
    }
    if (done) *done = 0;
    ++active()->failed_reads;
    active()->real.set_last_error(call.error);
    return 0;
  }
  uint32_t got = 0;
  const int32_t ok = active()->real.read_file(file, buffer, count, &got, overlapped);
  if (done) *done = got;
  if (ok) {
    position += got;
    call.delivered = got;
    leave_error_if_told("ReadFile");
  }
  return ok;
}
int32_t close_handle(os_handle file) {
  active()->check_guarded("CloseHandle");
  // A failing close still releases the handle, as the system does for most failures.
  int32_t ok = active()->real.close_handle(file);
  if (ok) {
    --active()->live_handles;
    active()->positions.erase(file);
  }
  if (active()->should_fail("CloseHandle")) {
    active()->real.set_last_error(active()->failure_code);
    return 0;
  }
  if (ok) leave_error_if_told("CloseHandle");
  return ok;
}
uint32_t set_error_mode(uint32_t mode) {
  active()->log.push_back("SetErrorMode(" + std::to_string(mode) + ")");
  active()->on_error_mode(mode);
  const uint32_t previous = active()->real.set_error_mode(mode);
  // A last-error value of its own, as any system call may leave one: a guard that reads the
  // file call's value after restoring the mode reads this instead.
  active()->real.set_last_error(os_error::invalid_function);
  return previous;
}
void set_last_error(uint32_t code) {
  active()->should_fail("SetLastError");
  active()->real.set_last_error(code);
}
uint32_t get_last_error() {
  active()->should_fail("GetLastError");
  return active()->real.get_last_error();
}
guard_held guard_lock() {
  active()->should_fail("lock");
  const guard_held held = active()->real.guard_lock();
  active()->on_lock();
  return held;
}
void guard_unlock() {
  active()->should_fail("unlock");
  active()->on_unlock();
  active()->real.guard_unlock();
}

}  // namespace

os_calls fake_os_table() {
  return {
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
}

}  // namespace vq::testing
