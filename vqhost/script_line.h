// Reading a vqhost script line by line and taking each line apart.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace vq::vqhost {

enum class read_status {
  line,      // line holds the next line
  end,       // no more input
  too_long,  // the line was longer than the limit; it was read to its end and dropped
  error,     // the input cannot be read (a folder, an I/O error)
};

// Reads the next line of file (opened in binary mode) into line, without its line feed. A last
// line with no line feed is still a line; any byte, zero included, is line content. A line of
// more than max_length bytes is consumed up to its line feed and reported as too_long, so the
// memory used follows the limit, not the script.
read_status read_line(std::FILE* file, std::string& line, std::size_t max_length);

struct script_line {
  bool is_action = false;       // false: a blank line or a comment, to be skipped
  std::string_view name;        // the bytes before the first blank
  std::string_view parameters;  // the bytes after that blank, as they are; empty if none
};

// Takes one line apart. A carriage return at its very end (CR LF line ends) is not content.
// Skipped: an empty line, a line of blanks and tabs only, a line whose first byte is "#".
// Otherwise the name ends at the first blank and the parameter text is everything after that
// one blank, further blanks included ("ZK_ST_Left  a|1" has the parameter text " a|1").
script_line parse_script_line(std::string_view line);

}  // namespace vq::vqhost
