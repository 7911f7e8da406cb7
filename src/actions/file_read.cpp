#include "actions/file_read.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/guarded_call.h"
#include "platform/os_errors.h"
#include "platform/platform.h"
#include "blocks/scan.h"

namespace vq {
namespace {

// The file a run holds from its open to its close.
struct open_file {
  os_handle handle;  // invalid_handle() while no file is open
  bool is_disk;      // GetFileType said FILE_TYPE_DISK
  int64_t position;  // 0-based; where the next read starts
};

bool is_open(const open_file& file) noexcept { return file.handle != invalid_handle(); }

// Opens or creates the file named by the first 255 bytes of name, read and write if the
// system allows, else read only; never shared. Returns a record with no handle when the name
// is empty or a pattern (then nothing is asked of the system) or when both attempts fail.
open_file open_named(std::string_view name) noexcept {
  open_file file{invalid_handle(), false, 0};
  // Cut from pointer and length, as every view here: substr could throw, and would drag the C++
  // runtime's exception support into the DLL. A zero byte would end the name for the system.
  const char* const first = name.data();
  const char* const last = first + std::min(name.size(), max_file_name_length);
  name = {first, static_cast<std::size_t>(std::find(first, last, '\0') - first)};
  // A pattern would let the system pick a file, or create one named by the pattern.
  if (name.empty() || name.find_first_of("*?") != std::string_view::npos) return file;
  char copy[max_file_name_length + 1];
  std::memcpy(copy, name.data(), name.size());
  copy[name.size()] = '\0';

  // 12 bytes on 32-bit Windows: no descriptor, an inheritable handle.
  os_security_attributes security{static_cast<uint32_t>(sizeof(os_security_attributes)), nullptr,
                                  1};
  for (const uint32_t access : {os_const::generic_read | os_const::generic_write,
                                os_const::generic_read}) {
    // Only INVALID_HANDLE_VALUE is a failure: opening an existing file under OPEN_ALWAYS
    // succeeds and still leaves ERROR_ALREADY_EXISTS behind.
    const auto opened = guarded_call([&] {
      return os.create_file_a(copy, access, 0, &security, os_const::open_always,
                              os_const::file_attribute_normal, nullptr);
    });
    if (opened.value != invalid_handle()) {
      file.handle = opened.value;
      break;
    }
  }
  if (!is_open(file)) return file;

  const auto type = guarded_call([&] { return os.get_file_type(file.handle); });
  file.is_disk = type.value == os_const::file_type_disk;
  int32_t high = 0;
  guarded_call([&] { return os.set_file_pointer(file.handle, 0, &high, os_const::file_begin); });
  return file;
}

// Puts the file pointer at a 0-based offset; false when the system refuses.
bool seek_to(const open_file& file, int64_t offset) noexcept {
  const auto low = static_cast<int32_t>(static_cast<uint32_t>(offset));
  auto high = static_cast<int32_t>(offset >> 32);
  const auto moved = guarded_call([&] {
    return os.set_file_pointer(file.handle, low, &high, os_const::file_begin);
  });
  return moved.last_error == 0;
}

// Moves a disk file's pointer to the 1-based start. The offset is worked out in 64 bits:
// start - 1 in 32 bits would wrap INT32_MIN to a huge positive offset. The system refuses a
// negative offset (ERROR_NEGATIVE_SEEK) and leaves the pointer at 0, so the read then starts
// at the first byte; the recorded position stays as the open left it.
void position_at(open_file& file, int32_t start) noexcept {
  if (!is_open(file) || !file.is_disk) return;
  const int64_t offset = int64_t{start} - 1;
  if (seek_to(file, offset)) file.position = offset;
}

// How many bytes to reserve for a read of count (>= 0) bytes: no more than the file holds
// after the position, so a huge count on a short file still reads it. When the size cannot be
// had, the whole count, as a plain read would reserve.
uint32_t reservation(const open_file& file, int32_t count) noexcept {
  if (count == 0) return 0;
  int64_t size = 0;
  const auto sized = guarded_call([&] { return os.get_file_size_ex(file.handle, &size); });
  if (sized.value == 0) return static_cast<uint32_t>(count);
  const int64_t remaining = size > file.position ? size - file.position : 0;
  return static_cast<uint32_t>(std::min<int64_t>(count, remaining));
}

// Whether ReadFile refused a count for want of system resources, which Windows may do for one
// large read (tens of MiB from a network share, a process short of quota or memory) although
// the same bytes come in smaller reads: ERROR_NOT_ENOUGH_MEMORY, ERROR_NO_SYSTEM_RESOURCES,
// ERROR_WORKING_SET_QUOTA, ERROR_NOT_ENOUGH_QUOTA.
bool is_resource_refusal(uint32_t code) noexcept {
  return code == os_error::not_enough_memory || code == os_error::no_system_resources ||
         code == os_error::working_set_quota || code == os_error::not_enough_quota;
}

// The smallest piece asked for after refusals.
constexpr uint32_t smallest_piece = 64 * 1024;

// Reads the wanted bytes from the file's position into the text, in pieces, after the system
// refused them in one read: each refusal halves the piece (the first piece is half the whole),
// down to smallest_piece, and puts the pointer back where the next byte comes from. A short
// piece is the end of the file. Returns the bytes read, or nothing when a piece fails otherwise
// or is refused at the smallest size.
std::optional<uint32_t> read_in_pieces(const open_file& file, char* into,
                                       uint32_t wanted) noexcept {
  if (wanted <= smallest_piece) return std::nullopt;
  uint32_t piece = std::max(wanted / 2, smallest_piece);
  uint32_t done = 0;
  bool refused = true;
  while (done < wanted) {
    if (refused && !seek_to(file, file.position + done)) return std::nullopt;
    const uint32_t asked = std::min(piece, wanted - done);
    uint32_t got = 0;
    const auto read = guarded_call(
        [&] { return os.read_file(file.handle, into + done, asked, &got, nullptr); });
    refused = read.value == 0 && is_resource_refusal(read.last_error);
    if (refused && piece > smallest_piece) {
      piece = std::max(piece / 2, smallest_piece);
      continue;
    }
    if (read.value == 0 || read.last_error != 0) return std::nullopt;
    done += got;
    if (got < asked) break;
  }
  return done;
}

// One ReadFile of at most count bytes, straight into the callback text that will carry them to
// the host; in pieces only when the system refuses the one read for want of resources.
// Nothing is read from a device or a pipe: a console or a pipe with no writer would wait for
// ever inside the host.
callback_text read_bytes(const open_file& file, int32_t count) noexcept {
  if (!is_open(file) || !file.is_disk || count < 0) return {};
  const uint32_t wanted = reservation(file, count);
  callback_text data = callback_text::reserved(wanted);
  if (wanted > 0 && !data.bytes()) return {};
  char none = 0;  // ReadFile wants a buffer address even for 0 bytes
  uint32_t done = 0;
  const auto read = guarded_call([&] {
    return os.read_file(file.handle, data.bytes() ? data.bytes() : &none, wanted, &done, nullptr);
  });
  if (read.value == 0 && is_resource_refusal(read.last_error)) {
    const std::optional<uint32_t> pieces = read_in_pieces(file, data.bytes(), wanted);
    if (!pieces) return {};
    done = *pieces;
  } else if (read.value == 0 || read.last_error != 0) {
    // A FALSE result counts as failed even when the system left no last-error value.
    return {};
  }
  if (done == 0) return {};
  // The file ended first (or shrank since it was sized): a text of the right length.
  if (done < wanted) data = callback_text({data.bytes(), done});
  return data;
}

// Closes the file if one is open; a failed close is ignored and the handle forgotten.
void close_file(open_file& file) noexcept {
  if (!is_open(file)) return;
  guarded_call([&] { return os.close_handle(file.handle); });
  file.handle = invalid_handle();
}

}  // namespace

callback_text read_file_bytes(std::string_view name, int32_t start, int32_t count) noexcept {
  open_file file = open_named(name);
  position_at(file, start);
  callback_text data = read_bytes(file, count);
  close_file(file);
  return data;
}

void strip_file_data(callback_text& data) noexcept {
  const std::size_t kept = strip_control_bytes(data.bytes(), data.size());
  if (kept < data.size()) data = callback_text({data.bytes(), kept});
}

bool selects_stripping(std::string_view mode) noexcept {
  if (mode.size() != 3) return false;
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
  return upper(mode[0]) == 'A' && upper(mode[1]) == 'L' && upper(mode[2]) == 'L';
}

}  // namespace vq
