// The exported action routines: each takes its fields, calls the portable computation and
// publishes once.
#include "plugin/plugin.h"

#include "actions/cut.h"
#include "actions/file_read.h"
#include "actions/search.h"
#include "text/number.h"
#include "text/param_text.h"
#include "text/publish.h"

using vq::field;
using vq::parse_number;

extern "C" {

int32_t VQ_STDCALL ZK_ST_AT(const char* parameters) noexcept {
  const std::string_view text = vq::take_text(parameters);
  const std::string_view source = field(text, 1);
  const std::string_view needle = field(text, 2);
  const int32_t from_pos = parse_number(field(text, 3));
  const std::string_view direction = field(text, 4);
  const int32_t position =
      vq::position_search(source, needle, vq::effective_start(from_pos, direction));
  char number[vq::number_text_capacity];
  vq::publish_result({number, vq::format_number(position, number)});
  return 0;
}

int32_t VQ_STDCALL ZK_ST_LEFT(const char* parameters) noexcept {
  const std::string_view text = vq::take_text(parameters);
  const std::string_view source = field(text, 1);
  vq::publish_result(vq::left_part(source, parse_number(field(text, 2))));
  return 0;
}

int32_t VQ_STDCALL ZK_ST_RIGHT(const char* parameters) noexcept {
  const std::string_view text = vq::take_text(parameters);
  const std::string_view source = field(text, 1);
  vq::publish_result(vq::right_part(source, parse_number(field(text, 2))));
  return 0;
}

int32_t VQ_STDCALL ZK_ST_FILEREAD(const char* parameters) noexcept {
  // All five fields are taken before any file work begins.
  const std::string_view text = vq::take_text(parameters);
  const std::string_view name = field(text, 1);
  const int32_t start = parse_number(field(text, 2));
  const int32_t count = parse_number(field(text, 3));
  const std::string_view mode = field(text, 4);
  const std::string_view variable = field(text, 5);
  vq::file_data data = vq::read_file_bytes(name, start, count);
  if (vq::selects_stripping(mode)) data.length = vq::strip_control_bytes(data.bytes, data.length);
  vq::publish(variable, {data.bytes, data.length});
  vq::release_file_data(data);
  return 0;
}

}  // extern "C"
