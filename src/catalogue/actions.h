// The four actions, one row each: what the catalogue announces, what the dispatcher needs and
// what the exported action routines run. Changing an action touches its row and its routine
// (plugin/action_routines.cpp), nothing else; plugin/action_routines.cpp checks the rows
// against the export list at compile time.
#pragma once

#include <cstdint>
#include <iterator>
#include <string_view>

#include "text/param_text.h"

namespace vq {

// A row's action number is its place in the table, from 1.
struct action_row {
  std::string_view name;  // as announced; the routine is exported under it in upper case
  std::string_view hint;  // lines joined by CR LF, none after the last; line 2 the usage line
  int field_count;        // the fields the routine takes; the bytes after them are never read
  // Computes and publishes once. The fields are views into the caller's bytes.
  void (*run)(const param_fields& fields) noexcept;
};

// The routines (plugin/action_routines.cpp).
void run_search(const param_fields& f) noexcept;
void run_left(const param_fields& f) noexcept;
void run_right(const param_fields& f) noexcept;
void run_file_read(const param_fields& f) noexcept;

#define VQ_CRLF "\r\n"

inline constexpr action_row action_table[] = {
    {"ZK_ST_at",
     "Search some text within a variable: returns position if found" VQ_CRLF
     "ZK_ST_at \"[Source_text]|[search_text]|[from_pos]|[direction]\"" VQ_CRLF
     "Where: [Text_var] is the Source text;                     "
     "[search_text] is the string to search" VQ_CRLF
     "[from_pos] is the offset on [source_text] to start search;" VQ_CRLF
     "[direction]: LR = Left to Right / RL = Right to Left ",
     4, run_search},
    {"ZK_ST_Left",
     "Return the [n] Left characters of [Source_string]" VQ_CRLF
     "ZK_ST_Left \"[Source_String]|[n]\"" VQ_CRLF
     "Where: [Source_String] is the Source String to extract chars" VQ_CRLF
     "[n] is the number of characters",
     2, run_left},
    {"ZK_ST_Right",
     "Return the [n] Right characters of [Source_string]" VQ_CRLF
     "ZK_ST_Right \"[Source_String]|[n]\"" VQ_CRLF
     "Where: [Source_String] is the Source String to extract chars" VQ_CRLF
     "[n] is the number of characters",
     2, run_right},
    {"ZK_ST_FileRead",
     "Reads n characters from a binary file" VQ_CRLF
     "ZK_ST_FileRead \"[Filename]|[Start_position]|[number_of Chars]|All/None|return_variable\"",
     5, run_file_read},
};

#undef VQ_CRLF

// The row of action number n; null for every number outside the table.
constexpr const action_row* action_for(int32_t n) noexcept {
  return n >= 1 && n <= static_cast<int32_t>(std::size(action_table)) ? &action_table[n - 1]
                                                                        : nullptr;
}

}  // namespace vq
