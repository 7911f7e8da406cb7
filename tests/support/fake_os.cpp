#include "support/fake_os.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace vq::testing {
namespace {

fake_os* active = nullptr;

}  // namespace

fake_os::fake_os() : real(os) {
  active = this;
  // The process's mode as it is: SetErrorMode is the only way to read it on XP.
  mode_now_ = real.set_error_mode(0);
  real.set_error_mode(mode_now_);
  os = fake_os_table();
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
  if (read_fault_at_ >= 0) {
    ADD_FAILURE() << "fake_os: told to fail a read from byte " << read_fault_at_
                  << ", but no read started there";
  }
  if (seek_fault_after_ > 0) {
    ADD_FAILURE() << "fake_os: told to fail the move after failed read #" << seek_fault_after_
                  << ", but only " << failed_reads << " read(s) failed or none moved after";
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

void fake_os::fail_read_from(int64_t offset, uint32_t code) {
  read_fault_at_ = offset;
  read_fault_code = code;
}

void fake_os::fail_move_after_failed_read(int nth) { seek_fault_after_ = nth; }

bool fake_os::read_fails_at(int64_t offset) {
  if (read_fault_at_ < 0 || offset < read_fault_at_) return false;
  read_fault_at_ = -1;
  return true;
}

bool fake_os::seek_fails_now() {
  if (seek_fault_after_ <= 0 || failed_reads < seek_fault_after_) return false;
  seek_fault_after_ = 0;
  return true;
}

bool fake_os::should_leave_error(const char* name) {
  auto it = leave_at_.find(name);
  return it != leave_at_.end() && (it->second == 0 || it->second == seen_[name]);
}

bool fake_os::should_fail(const char* name) {
  // A loop that never ends (a piece that stops shrinking, a retry without a bound) would run
  // the test into its time limit and the machine out of memory, the log growing all the while;
  // no case needs a thousandth of this many calls.
  constexpr std::size_t runaway_calls = 1'000'000;
  if (log.size() == runaway_calls) {
    std::fprintf(stderr, "fake_os: %lu system calls in one test, the last %s: a loop without end\n",
                 static_cast<unsigned long>(runaway_calls), name);
    std::abort();
  }
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
