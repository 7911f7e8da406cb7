#include "support/fake_os.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/os_errors.h"

namespace vq::testing {
namespace {

fake_os* active = nullptr;

// After a file call that succeeded: the last-error value it was told to leave, if any.
void leave_error_if_told(const char* name) {
  if (active->should_leave_error(name)) active->real.set_last_error(active->failure_code);
}

void* global_alloc(uint32_t flags, std::size_t bytes) {
  if (active->should_fail("GlobalAlloc")) return nullptr;
  void* block = active->real.global_alloc(flags, bytes);
  if (block) ++active->live_blocks;
  return block;
}
void* global_free(void* block) {
  active->should_fail("GlobalFree");
  active->freed_blocks.push_back(block);
  if (block) --active->live_blocks;
  return active->real.global_free(block);
}
void* heap_alloc(std::size_t bytes) {
  if (active->should_fail("HeapAlloc")) return nullptr;
  void* block = active->real.heap_alloc(bytes);
  if (block) ++active->live_heap_blocks;
  return block;
}
void heap_free(void* block) {
  active->should_fail("HeapFree");
  if (block) --active->live_heap_blocks;
  active->real.heap_free(block);
}
char* sys_alloc_string_byte_len(const char* bytes, uint32_t length) {
  if (active->should_fail("SysAllocStringByteLen")) return nullptr;
  char* text = active->real.sys_alloc_string_byte_len(bytes, length);
  if (text) ++active->live_strings;
  return text;
}
void sys_free_string(char* text) {
  active->should_fail("SysFreeString");
  if (text) --active->live_strings;
  active->real.sys_free_string(text);
}
os_handle create_file_a(const char* name, uint32_t access, uint32_t share,
                        os_security_attributes* security, uint32_t disposition, uint32_t flags,
                        os_handle template_file) {
  active->check_guarded("CreateFileA");
  active->create_file_calls.push_back(
      {name ? name : "", access, share, security != nullptr, security ? security->length : 0,
       security ? security->descriptor : nullptr, security ? security->inherit_handle : 0,
       disposition, flags, template_file});
  if (active->should_fail("CreateFileA")) {
    active->real.set_last_error(active->failure_code);
    return invalid_handle();
  }
  os_handle file = active->real.create_file_a(name, access, share, security, disposition, flags,
                                              template_file);
  if (file != invalid_handle()) {
    ++active->live_handles;
    leave_error_if_told("CreateFileA");
  }
  return file;
}
uint32_t get_file_type(os_handle file) {
  active->check_guarded("GetFileType");
  if (active->should_fail("GetFileType")) return 0;  // FILE_TYPE_UNKNOWN
  return active->real.get_file_type(file);
}
int32_t get_file_size_ex(os_handle file, int64_t* size) {
  active->check_guarded("GetFileSizeEx");
  if (active->should_fail("GetFileSizeEx")) {
    active->real.set_last_error(active->failure_code);
    return 0;
  }
  return active->real.get_file_size_ex(file, size);
}
uint32_t set_file_pointer(os_handle file, int32_t low, int32_t* high, uint32_t method) {
  active->check_guarded("SetFilePointer");
  active->set_file_pointer_calls.push_back({low, high != nullptr, high ? *high : 0, method});
  if (active->should_fail("SetFilePointer")) {
    active->real.set_last_error(active->failure_code);
    return ~0u;
  }
  const uint32_t moved = active->real.set_file_pointer(file, low, high, method);
  leave_error_if_told("SetFilePointer");
  return moved;
}
int32_t read_file(os_handle file, void* buffer, uint32_t count, uint32_t* done, void* overlapped) {
  active->check_guarded("ReadFile");
  active->read_file_counts.push_back(count);
  const bool refused = count > active->refuse_reads_above;
  if (active->should_fail("ReadFile") || refused) {
    if (refused && buffer) {
      // Windows documents neither the file pointer nor the buffer after a failed read: this
      // one moves the pointer a third of the count on and scribbles over the buffer.
      uint32_t moved = 0;
      active->real.read_file(file, buffer, count / 3, &moved, nullptr);
      std::memset(buffer, 0xA5, count);
    }
    if (done) *done = 0;
    active->real.set_last_error(refused ? active->refusal_code : active->failure_code);
    return 0;
  }
  const int32_t ok = active->real.read_file(file, buffer, count, done, overlapped);
  if (ok) leave_error_if_told("ReadFile");
  return ok;
}
int32_t close_handle(os_handle file) {
  active->check_guarded("CloseHandle");
  // A failing close still releases the handle, as the system does for most failures.
  int32_t ok = active->real.close_handle(file);
  if (ok) --active->live_handles;
  if (active->should_fail("CloseHandle")) {
    active->real.set_last_error(active->failure_code);
    return 0;
  }
  if (ok) leave_error_if_told("CloseHandle");
  return ok;
}
uint32_t set_error_mode(uint32_t mode) {
  active->log.push_back("SetErrorMode(" + std::to_string(mode) + ")");
  active->on_error_mode(mode);
  const uint32_t previous = active->real.set_error_mode(mode);
  // A last-error value of its own, as any system call may leave one: a guard that reads the
  // file call's value after restoring the mode reads this instead.
  active->real.set_last_error(os_error::invalid_function);
  return previous;
}
void set_last_error(uint32_t code) {
  active->should_fail("SetLastError");
  active->real.set_last_error(code);
}
uint32_t get_last_error() {
  active->should_fail("GetLastError");
  return active->real.get_last_error();
}
void guard_lock() {
  active->should_fail("lock");
  active->real.guard_lock();
  active->on_lock();
}
void guard_unlock() {
  active->should_fail("unlock");
  active->on_unlock();
  active->real.guard_unlock();
}

}  // namespace

fake_os::fake_os() : real(os) {
  active = this;
  // The process's mode as it is: SetErrorMode is the only way to read it on XP.
  mode_now_ = real.set_error_mode(0);
  real.set_error_mode(mode_now_);
  os = {global_alloc,     global_free,    heap_alloc,
        heap_free,        sys_alloc_string_byte_len,
        sys_free_string,  create_file_a,  get_file_type,
        get_file_size_ex, set_file_pointer, read_file,
        close_handle,     set_error_mode, set_last_error,
        get_last_error,   guard_lock,     guard_unlock};
}

namespace {

// The calls the fake can fail, as the log names them.
constexpr const char* failable[] = {
    "GlobalAlloc",    "GlobalFree",    "HeapAlloc",   "HeapFree",     "SysAllocStringByteLen",
    "SysFreeString",  "CreateFileA",   "GetFileType", "GetFileSizeEx", "SetFilePointer",
    "ReadFile",       "CloseHandle",   "SetLastError", "GetLastError", "lock",
    "unlock"};
constexpr const char* leaving_errors[] = {"CreateFileA", "SetFilePointer", "ReadFile",
                                          "CloseHandle"};

template <std::size_t N>
bool known(const char* const (&names)[N], const std::string& name) {
  return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

}  // namespace

fake_os::~fake_os() {
  os = real;
  active = nullptr;
  for (const auto* told : {&fail_at_, &leave_at_}) {
    for (const auto& [name, nth] : *told) {
      const int wanted = nth == 0 ? 1 : nth;
      if (seen_[name] < wanted) {
        ADD_FAILURE() << "fake_os: told to act on " << name << " #" << nth << ", but only "
                      << seen_[name] << " such calls came";
      }
    }
  }
  if (lock_held_) ADD_FAILURE() << "fake_os: the guard lock is still held";
  if (live_handles > 0) ADD_FAILURE() << "fake_os: " << live_handles << " file handle(s) left open";
  if (live_strings > 0) ADD_FAILURE() << "fake_os: " << live_strings << " callback text(s) left";
  if (fail_allocation_at_ > allocations) {
    ADD_FAILURE() << "fake_os: told to fail allocation #" << fail_allocation_at_ << ", but only "
                  << allocations << " came";
  }
}

void fake_os::fail(const std::string& name, int nth) {
  if (!known(failable, name)) ADD_FAILURE() << "fake_os: no call named " << name << " to fail";
  fail_at_[name] = nth;
}

void fake_os::leave_error(const std::string& name, int nth) {
  if (!known(leaving_errors, name)) {
    ADD_FAILURE() << "fake_os: " << name << " cannot be made to leave an error";
  }
  leave_at_[name] = nth;
}

void fake_os::fail_allocation(int nth) { fail_allocation_at_ = nth; }

bool fake_os::should_leave_error(const char* name) {
  auto it = leave_at_.find(name);
  return it != leave_at_.end() && (it->second == 0 || it->second == seen_[name]);
}

bool fake_os::should_fail(const char* name) {
  log.emplace_back(name);
  const int seen = ++seen_[name];
  const std::string_view call = name;
  if (call == "GlobalAlloc" || call == "HeapAlloc" || call == "SysAllocStringByteLen") {
    if (++allocations == fail_allocation_at_) return true;
  }
  auto it = fail_at_.find(name);
  return it != fail_at_.end() && (it->second == 0 || it->second == seen);
}

void fake_os::check_guarded(const char* name) {
  constexpr uint32_t guard_mode = os_const::sem_failcriticalerrors | os_const::sem_noopenfileerrorbox;
  if (!lock_held_) ADD_FAILURE() << "fake_os: " << name << " without the guard lock";
  if (mode_now_ != guard_mode) {
    ADD_FAILURE() << "fake_os: " << name << " under error mode " << mode_now_;
  }
  if (const uint32_t stale = real.get_last_error(); stale != 0) {
    ADD_FAILURE() << "fake_os: " << name << " with the last-error value " << stale << " left";
  }
}

uint32_t fake_os::set_process_error_mode(uint32_t mode) {
  mode_now_ = mode;
  return real.set_error_mode(mode);
}

void fake_os::on_lock() {
  if (lock_held_) ADD_FAILURE() << "fake_os: the guard lock taken twice";
  lock_held_ = true;
  mode_at_lock_ = mode_now_;
}

void fake_os::on_unlock() {
  if (!lock_held_) ADD_FAILURE() << "fake_os: the guard lock released but not held";
  if (mode_now_ != mode_at_lock_) {
    ADD_FAILURE() << "fake_os: the lock released with error mode " << mode_now_ << ", not "
                  << mode_at_lock_ << " as before";
  }
  lock_held_ = false;
}

void fake_os::on_error_mode(uint32_t mode) {
  if (!lock_held_) ADD_FAILURE() << "fake_os: the error mode set to " << mode << " outside the lock";
  mode_now_ = mode;
}

fake_os* current_fake() { return active; }

}  // namespace vq::testing
