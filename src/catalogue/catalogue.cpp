#include "catalogue/catalogue.h"

#include "host/callbacks.h"

namespace vq {

#define VQ_CRLF "\r\n"

const catalogue_entry catalogue[4] = {
    {1, "ZK_ST_at",
     "Search some text within a variable: returns position if found" VQ_CRLF
     "ZK_ST_at \"[Source_text]|[search_text]|[from_pos]|[direction]\"" VQ_CRLF
     "Where: [Text_var] is the Source text;                     "
     "[search_text] is the string to search" VQ_CRLF
     "[from_pos] is the offset on [source_text] to start search;" VQ_CRLF
     "[direction]: LR = Left to Right / RL = Right to Left "},
    {2, "ZK_ST_Left",
     "Return the [n] Left characters of [Source_string]" VQ_CRLF
     "ZK_ST_Left \"[Source_String]|[n]\"" VQ_CRLF
     "Where: [Source_String] is the Source String to extract chars" VQ_CRLF
     "[n] is the number of characters"},
    {3, "ZK_ST_Right",
     "Return the [n] Right characters of [Source_string]" VQ_CRLF
     "ZK_ST_Right \"[Source_String]|[n]\"" VQ_CRLF
     "Where: [Source_String] is the Source String to extract chars" VQ_CRLF
     "[n] is the number of characters"},
    {4, "ZK_ST_FileRead",
     "Reads n characters from a binary file" VQ_CRLF
     "ZK_ST_FileRead \"[Filename]|[Start_position]|[number_of Chars]|All/None|return_variable\""},
};

#undef VQ_CRLF

void register_actions() noexcept {
  for (const catalogue_entry& entry : catalogue) {
    host_add_action(entry.number, entry.name, entry.hint, parameter_type, parameter_count);
  }
}

}  // namespace vq
