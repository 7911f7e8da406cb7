// The file read action's computation: a run of raw bytes from a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/callback_text.h"

namespace vq {

// The longest file name handed to the system; the rest of a longer name is ignored.
inline constexpr std::size_t max_file_name_length = 255;

// Opens the file named by the first 255 bytes of name (no system call at all for an empty name
// or one holding "*" or "?" in those bytes; created empty if missing; opened for reading and
// writing, else for reading, never shared), positions a disk file at the 1-based start (a
// start of 0 or less reads from the first byte), reads at most count bytes with one ReadFile
// (in pieces only when the system refuses that one for want of resources), and closes it
// before returning. Nothing is read from a device or a pipe. Every system call
// goes through the guard. Every failure gives the empty data; never more than count bytes.
// The bytes are read straight into the callback text that carries them to the host; one that
// is not filled is replaced by a text of the right length.
callback_text read_file_bytes(std::string_view name, int32_t start, int32_t count) noexcept;

// Strips the data in place (see blocks/scan.h); when that shortens it, the data becomes a
// callback text of the new length, empty if that cannot be made.
void strip_file_data(callback_text& data) noexcept;

// Whether the mode field selects stripping: "ALL" in any letter case, length included.
bool selects_stripping(std::string_view mode) noexcept;

}  // namespace vq
