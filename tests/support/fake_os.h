// A stand-in system for failure paths: while a fake_os lives, every call through the table is
// logged under its Win32 name and forwarded to the real binding, except the ones told to fail.
// It checks the guard's contract as it happens, and fails the test on a breach: every file call
// is made with the guard lock held, the error mode SEM_FAILCRITICALERRORS |
// SEM_NOOPENFILEERRORBOX and the last-error value 0; the error mode changes only under the
// lock and is back to what it was when the lock is released; no lock is taken twice. Its
// SetErrorMode leaves a last-error value of its own. When it dies, no file handle, callback
// text or lock may be left. Every callback text it makes is fenced (support/text_fence.h): a
// write past a text's end fails the test when the text is freed.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/os_errors.h"
#include "support/text_fence.h"

namespace vq::testing {

class fake_os {
 public:
  fake_os();
  ~fake_os();
  fake_os(const fake_os&) = delete;
  fake_os& operator=(const fake_os&) = delete;

  // Makes the nth call (1-based, counted from the fake's construction) of the named function
  // fail the way the system reports it: a null block or string, INVALID_HANDLE_VALUE, FALSE, a
  // last-error code. nth 0 fails every call. A name the fake does not know fails the test, and
  // so does a call told to fail that never comes (checked when the fake dies), so a typo cannot
  // pass.
  void fail(const std::string& name, int nth = 0);
  // Makes the nth file call of that name (as for fail) succeed yet leave failure_code as the
  // last-error value, as a system may: CreateFileA, SetFilePointer, ReadFile, CloseHandle.
  void leave_error(const std::string& name, int nth = 0);
  // Makes the nth allocation (1-based, counted from the fake's construction) fail, whichever
  // call makes it: GlobalAlloc, HeapAlloc or SysAllocStringByteLen; 0 fails none.
  void fail_allocation(int nth);
  // Allocations asked for since construction, failed ones included.
  int allocations = 0;
  // Failures named by where they come rather than by ordinal, each once, as fail() does
  // otherwise: the first ReadFile that starts at or past the file offset fails with code, as a
  // refused read does (see refuse_reads_above); the first SetFilePointer after the nth failed
  // ReadFile fails with failure_code. One told to act that never does fails the test.
  void fail_read_from(int64_t offset, uint32_t code);
  void fail_move_after_failed_read(int nth);

  // Names of the calls made since construction, in order.
  std::vector<std::string> log;
  // BSTRs made and not yet freed.
  int live_strings = 0;
  // HeapAlloc blocks made and not yet freed.
  int live_heap_blocks = 0;
  // GlobalAlloc blocks made and not yet freed, and the blocks handed to GlobalFree, in order.
  int live_blocks = 0;
  std::vector<void*> freed_blocks;
  // File handles CreateFileA gave and CloseHandle has not yet taken back.
  int live_handles = 0;
  // The arguments of every CreateFileA, SetFilePointer and ReadFile call, failed ones too.
  struct create_file_args {
    std::string name;
    uint32_t access;
    uint32_t share;
    bool has_security;
    uint32_t security_length;
    void* security_descriptor;
    int32_t inherit_handle;
    uint32_t disposition;
    uint32_t flags;
    os_handle template_file;
  };
  struct set_file_pointer_args {
    int32_t low;
    bool has_high;
    int32_t high;
    uint32_t method;
  };
  std::vector<create_file_args> create_file_calls;
  std::vector<set_file_pointer_args> set_file_pointer_calls;
  std::vector<uint32_t> read_file_counts;
  // Every ReadFile: the count asked, the file offset it started from (as the fake follows the
  // pointer), the bytes it delivered, and the last-error code of a failed one (else 0).
  struct read_file_call {
    uint32_t count;
    int64_t offset;
    uint32_t delivered;
    uint32_t error;
  };
  std::vector<read_file_call> read_file_calls;
  // The last-error code a failing call leaves.
  uint32_t failure_code = os_error::access_denied;
  // ReadFile of more bytes than this fails with refusal_code, as Windows may refuse one large
  // read for want of resources; the refusal moves the file pointer and scribbles over the
  // buffer, which Windows leaves undocumented.
  uint32_t refuse_reads_above = UINT32_MAX;
  uint32_t refusal_code = os_error::no_system_resources;

  // Whether the guard lock is held now.
  bool lock_held() const { return lock_held_; }
  // Sets the process error mode as a test does, not the plug-in: no guard applies.
  uint32_t set_process_error_mode(uint32_t mode);

  // Called through the table; true when this call must fail.
  bool should_fail(const char* name);
  // Called through the table at the start of every file call: checks the guard around it.
  void check_guarded(const char* name);
  // Called through the table for the lock and the error mode.
  void on_lock();
  void on_unlock();
  void on_error_mode(uint32_t mode);
  // Called after a file call that succeeded; true when it must leave failure_code behind.
  bool should_leave_error(const char* name);
  // Called through the table for the failures told by where they come.
  bool read_fails_at(int64_t offset);
  bool seek_fails_now();
  uint32_t read_fault_code = 0;
  int failed_reads = 0;
  // Each open handle's file pointer; the fences of the callback texts.
  std::map<os_handle, int64_t> positions;
  text_fences fences;

  const os_calls real;

 private:
  // Told to fail (or to leave an error), with the call that does; seen_ counts the calls.
  std::map<std::string, int> fail_at_;
  std::map<std::string, int> leave_at_;
  std::map<std::string, int> seen_;
  int fail_allocation_at_ = 0;
  int64_t read_fault_at_ = -1;
  int seek_fault_after_ = 0;
  bool lock_held_ = false;
  uint32_t mode_now_ = 0;      // the process error mode, as the fake saw it set
  uint32_t mode_at_lock_ = 0;  // what it was when the lock was taken
};

// The fake_os alive now, or null.
fake_os* current_fake();
// The table of calls a fake_os puts in force while it lives (support/fake_os_table.cpp).
os_calls fake_os_table();

}  // namespace vq::testing
