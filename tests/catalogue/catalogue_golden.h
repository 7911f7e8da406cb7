// What the plug-in announces at registration, exactly as `vqhost list` prints it after the
// three identity lines: per action its number, name, parameter type and counts, then each hint
// line quoted (the plug-in joins them with CR LF; escapes as in vqhost/escape.h). The catalogue
// test compares what the add-action callback received with it, and vqhost's list test what
// vqhost prints. It is kept in the test programs, not beside them: the test kit runs them
// with no source tree. Regenerate: vqhost list | tail -n +4, between the delimiters.
#pragma once

#include <string_view>

namespace vq::testing {

inline constexpr std::string_view catalogue_listing = R"golden(
1 ZK_ST_at (ACTIONPARAM_ALPHA, 1 parameter)
    "Search some text within a variable: returns position if found"
    "ZK_ST_at \"[Source_text]|[search_text]|[from_pos]|[direction]\""
    "Where: [Text_var] is the Source text;                     [search_text] is the string to search"
    "[from_pos] is the offset on [source_text] to start search;"
    "[direction]: LR = Left to Right / RL = Right to Left "

2 ZK_ST_Left (ACTIONPARAM_ALPHA, 1 parameter)
    "Return the [n] Left characters of [Source_string]"
    "ZK_ST_Left \"[Source_String]|[n]\""
    "Where: [Source_String] is the Source String to extract chars"
    "[n] is the number of characters"

3 ZK_ST_Right (ACTIONPARAM_ALPHA, 1 parameter)
    "Return the [n] Right characters of [Source_string]"
    "ZK_ST_Right \"[Source_String]|[n]\""
    "Where: [Source_String] is the Source String to extract chars"
    "[n] is the number of characters"

4 ZK_ST_FileRead (ACTIONPARAM_ALPHA, 1 parameter)
    "Reads n characters from a binary file"
    "ZK_ST_FileRead \"[Filename]|[Start_position]|[number_of Chars]|All/None|return_variable\""
)golden";

}  // namespace vq::testing
