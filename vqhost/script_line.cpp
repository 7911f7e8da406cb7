#include "vqhost/script_line.h"

namespace vq::vqhost {

read_status read_line(std::FILE* file, std::string& line, std::size_t max_length) {
  line.clear();
  bool too_long = false;
  int c;
  while ((c = std::getc(file)) != EOF && c != '\n') {
    if (line.size() < max_length) {
      line += static_cast<char>(c);
    } else {
      too_long = true;
    }
  }
  // A folder opens fine on POSIX systems; its first read is where it fails.
  if (c == EOF && std::ferror(file)) return read_status::error;
  if (too_long) return read_status::too_long;
  if (c == EOF && line.empty()) return read_status::end;
  return read_status::line;
}

script_line parse_script_line(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  script_line parsed;
  if (line.empty() || line.front() == '#') return parsed;
  if (line.find_first_not_of(" \t") == std::string_view::npos) return parsed;
  parsed.is_action = true;
  const std::size_t blank = line.find(' ');
  parsed.name = line.substr(0, blank);
  if (blank != std::string_view::npos) parsed.parameters = line.substr(blank + 1);
  return parsed;
}

}  // namespace vq::vqhost
