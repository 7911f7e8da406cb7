// The actions' routines: each takes its fields, calls the portable computation and publishes
// once. The exported action routines split their text and run their row of the table, as the
// dispatcher does.
#include <string_view>
#include <utility>

#include "actions/cut.h"
#include "actions/file_read.h"
#include "actions/search.h"
#include "catalogue/actions.h"
#include "host/publish.h"
#include "plugin/export_names.h"
#include "plugin/plugin.h"
#include "text/number.h"

namespace vq {

void run_search(const param_fields& f) noexcept {
  const int32_t from_pos = parse_number(f.field(3));
  const int32_t position =
      position_search(f.field(1), f.field(2), effective_start(from_pos, f.field(4)));
  char number[number_text_capacity];
  publish_result({number, format_number(position, number)});
}

void run_left(const param_fields& f) noexcept {
  publish_result(left_part(f.field(1), parse_number(f.field(2))));
}

void run_right(const param_fields& f) noexcept {
  publish_result(right_part(f.field(1), parse_number(f.field(2))));
}

void run_file_read(const param_fields& f) noexcept {
  // All five fields were taken before any file work begins.
  callback_text data =
      read_file_bytes(f.field(1), parse_number(f.field(2)), parse_number(f.field(3)));
  if (selects_stripping(f.field(4))) strip_file_data(data);
  publish(f.field(5), std::move(data));
}

namespace {

// The table and the export list (plugin/velquist.def) agree: the rows are numbered in order,
// each row's routine is exported under its name in upper case, and the export list holds no
// other action routine (the host-protocol routines are the decorated ones, with an "@").
constexpr bool exported_as(std::string_view name, std::string_view exported) {
  if (name.size() != exported.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i] >= 'a' && name[i] <= 'z' ? static_cast<char>(name[i] - 32) : name[i];
    if (c != exported[i]) return false;
  }
  return true;
}

constexpr bool table_matches_exports() {
  std::size_t action_exports = 0;
  for (std::string_view exported : dll_export_names) {
    if (exported.find('@') == std::string_view::npos) ++action_exports;
  }
  if (action_exports != std::size(action_table)) return false;
  for (std::size_t i = 0; i < std::size(action_table); ++i) {
    if (action_table[i].number != static_cast<int32_t>(i + 1)) return false;
    bool found = false;
    for (std::string_view exported : dll_export_names) {
      found = found || exported_as(action_table[i].name, exported);
    }
    if (!found) return false;
  }
  return true;
}

static_assert(table_matches_exports(), "the action table and plugin/velquist.def disagree");

// Not constexpr: reaching it in the constant evaluation below is a compile error.
std::size_t no_action_is_exported_under_this_name() noexcept { return 0; }

consteval std::size_t row_exported_as(std::string_view exported) {
  for (std::size_t i = 0; i < std::size(action_table); ++i) {
    if (exported_as(action_table[i].name, exported)) return i;
  }
  return no_action_is_exported_under_this_name();
}

int32_t run_row(std::size_t row, const char* parameters) noexcept {
  const action_row& action = action_table[row];
  action.run(split_fields(parameters, action.field_count));
  return 0;
}

}  // namespace
}  // namespace vq

extern "C" {

int32_t VQ_STDCALL ZK_ST_AT(const char* parameters) noexcept {
  return vq::run_row(vq::row_exported_as("ZK_ST_AT"), parameters);
}

int32_t VQ_STDCALL ZK_ST_LEFT(const char* parameters) noexcept {
  return vq::run_row(vq::row_exported_as("ZK_ST_LEFT"), parameters);
}

int32_t VQ_STDCALL ZK_ST_RIGHT(const char* parameters) noexcept {
  return vq::run_row(vq::row_exported_as("ZK_ST_RIGHT"), parameters);
}

int32_t VQ_STDCALL ZK_ST_FILEREAD(const char* parameters) noexcept {
  return vq::run_row(vq::row_exported_as("ZK_ST_FILEREAD"), parameters);
}

}  // extern "C"
