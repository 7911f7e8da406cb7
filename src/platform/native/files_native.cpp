// The Windows file calls as the plug-in makes them, and no others: OPEN_ALWAYS with read and
// write or read-only access and share mode 0, FILE_BEGIN with the high/low pair. Any other call
// fails with ERROR_INVALID_PARAMETER rather than being emulated.
#include "platform/native/files_native.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <mutex>

#include "platform/os_errors.h"

namespace vq::native_files {
namespace {

constexpr uint32_t invalid_set_file_pointer = 0xFFFFFFFFu;

thread_local uint32_t last_error = 0;

// One open handle: the descriptor, and the file it holds, for share mode 0.
struct slot {
  int fd = -1;
  dev_t device = 0;
  ino_t inode = 0;
  bool regular = false;
};

constexpr std::size_t slot_count = 64;
slot slots[slot_count];
std::mutex slots_lock;

// Handle values are small multiples of 4, as the system's are; never 0 nor
// INVALID_HANDLE_VALUE.
os_handle handle_of(std::size_t index) {
  return reinterpret_cast<os_handle>(static_cast<std::uintptr_t>(index + 1) * 4);
}
slot* slot_of(os_handle handle) {
  const auto value = reinterpret_cast<std::uintptr_t>(handle);
  if (value == 0 || value % 4 != 0 || value / 4 > slot_count) return nullptr;
  slot* found = &slots[value / 4 - 1];
  return found->fd >= 0 ? found : nullptr;
}

template <class T>
T fail(uint32_t code, T result) {
  last_error = code;
  return result;
}

// Share mode 0: no other handle of this process may hold the same file.
bool held_here(const struct stat& info) {
  for (const slot& open : slots) {
    if (open.fd >= 0 && open.regular && open.device == info.st_dev && open.inode == info.st_ino)
      return true;
  }
  return false;
}

}  // namespace

// The inherit flag of the security attributes has nothing to map to here.
os_handle create_file_a(const char* name, uint32_t access, uint32_t share,
                        os_security_attributes*, uint32_t disposition, uint32_t, os_handle) {
  constexpr uint32_t read_write = os_const::generic_read | os_const::generic_write;
  if (!name || disposition != os_const::open_always || share != 0 ||
      (access != read_write && access != os_const::generic_read)) {
    return fail(os_error::invalid_parameter, invalid_handle());
  }
  const bool wants_write = access == read_write;

  const std::lock_guard<std::mutex> hold(slots_lock);
  std::size_t free_index = 0;
  while (free_index < slot_count && slots[free_index].fd >= 0) ++free_index;
  if (free_index == slot_count) return fail(os_error::too_many_open_files, invalid_handle());

  struct stat info {};
  const bool existed = ::stat(name, &info) == 0;
  if (existed) {
    // A folder is never a file to open; a file without any write permission bit carries the
    // read-only attribute, which refuses write access even to an administrator (root).
    if (S_ISDIR(info.st_mode)) return fail(os_error::access_denied, invalid_handle());
    if (wants_write && S_ISREG(info.st_mode) && !(info.st_mode & 0222))
      return fail(os_error::access_denied, invalid_handle());
    if (S_ISREG(info.st_mode) && held_here(info))
      return fail(os_error::sharing_violation, invalid_handle());
  }

  // Non-blocking for the open only: a fifo must not wait for its other end.
  const int fd = ::open(name, (wants_write ? O_RDWR : O_RDONLY) | O_CREAT | O_CLOEXEC | O_NONBLOCK,
                        0666);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return fail(os_error::path_not_found, invalid_handle());
    return fail(errno == EACCES || errno == EPERM || errno == EROFS || errno == EISDIR
                    ? os_error::access_denied
                    : os_error::invalid_parameter,
                invalid_handle());
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  ::fstat(fd, &info);
  const bool regular = S_ISREG(info.st_mode);
  // Another process holding the file: a whole-file lock stands in for its share mode 0.
  if (regular && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return fail(os_error::sharing_violation, invalid_handle());
  }
  slots[free_index] = {fd, info.st_dev, info.st_ino, regular};
  // A successful OPEN_ALWAYS of an existing file still leaves ERROR_ALREADY_EXISTS.
  last_error = existed ? os_error::already_exists : 0;
  return handle_of(free_index);
}

uint32_t get_file_type(os_handle handle) {
  const slot* open = slot_of(handle);
  struct stat info {};
  if (!open || ::fstat(open->fd, &info) != 0) return fail(os_error::invalid_handle, os_const::file_type_unknown);
  last_error = 0;
  if (S_ISREG(info.st_mode)) return os_const::file_type_disk;
  if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) return os_const::file_type_char;
  if (S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode)) return os_const::file_type_pipe;
  return os_const::file_type_unknown;
}

int32_t get_file_size_ex(os_handle handle, int64_t* size) {
  const slot* open = slot_of(handle);
  struct stat info {};
  if (!open || ::fstat(open->fd, &info) != 0) return fail(os_error::invalid_handle, 0);
  *size = info.st_size;
  return 1;
}

// FILE_BEGIN to the 64-bit offset high:low; high receives the new position's upper half. A
// negative offset is refused with the pointer left where it was.
uint32_t set_file_pointer(os_handle handle, int32_t low, int32_t* high, uint32_t method) {
  const slot* open = slot_of(handle);
  if (!open) return fail(os_error::invalid_handle, invalid_set_file_pointer);
  if (!high || method != os_const::file_begin)
    return fail(os_error::invalid_parameter, invalid_set_file_pointer);
  const auto target = static_cast<int64_t>(
      (static_cast<uint64_t>(static_cast<uint32_t>(*high)) << 32) | static_cast<uint32_t>(low));
  if (target < 0) return fail(os_error::negative_seek, invalid_set_file_pointer);
  if (::lseek(open->fd, target, SEEK_SET) < 0)
    return fail(os_error::invalid_function, invalid_set_file_pointer);
  *high = static_cast<int32_t>(target >> 32);
  // A position whose low half is 0xFFFFFFFF is told from a failure by a last error of 0; other
  // successes leave the last error alone.
  if (static_cast<uint32_t>(target) == invalid_set_file_pointer) last_error = 0;
  return static_cast<uint32_t>(target);
}

// A disk file delivers the whole count unless its end comes first; a device or a pipe
// delivers what one read gives, and may wait for it.
int32_t read_file(os_handle handle, void* buffer, uint32_t count, uint32_t* done, void*) {
  if (done) *done = 0;
  const slot* open = slot_of(handle);
  if (!open) return fail(os_error::invalid_handle, 0);
  auto* into = static_cast<char*>(buffer);
  uint32_t total = 0;
  while (total < count) {
    const ssize_t got = ::read(open->fd, into + total, count - total);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return fail(os_error::read_fault, 0);
    total += static_cast<uint32_t>(got);
    if (got == 0 || !open->regular) break;
  }
  if (done) *done = total;
  return 1;
}

int32_t close_handle(os_handle handle) {
  const std::lock_guard<std::mutex> hold(slots_lock);
  slot* open = slot_of(handle);
  if (!open) return fail(os_error::invalid_handle, 0);
  ::close(open->fd);  // releases the flock too
  *open = slot{};
  return 1;
}

void set_last_error(uint32_t code) { last_error = code; }
uint32_t get_last_error() { return last_error; }

}  // namespace vq::native_files
