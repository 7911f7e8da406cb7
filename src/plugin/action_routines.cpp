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

// Whether exported is name in upper case: the routine of an action is exported so.
constexpr bool exported_as(std::string_view name, std::string_view exported) {
  if (name.size() != exported.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i] >= 'a' && name[i] <= 'z' ? static_cast<char>(name[i] - 32) : name[i];
    if (c != exported[i]) return false;
  }
  return true;
}

constexpr bool is_protocol_routine(std::string_view routine) { return routine.starts_with("px"); }

// The table and the export list (plugin/velquist.def) match one to one: every export is either
// a host-protocol routine (px..., exported under its decorated name "_" routine "@N") or the
// routine of exactly one row, exported under the row's name in upper case; and every row has
// exactly one export.
constexpr bool table_matches_exports() {
  for (const export_name& e : export_names) {
    const std::string_view exported = e.exported, routine = e.routine;
    if (is_protocol_routine(routine)) {
      if (!exported.starts_with("_") || exported.substr(1, routine.size()) != routine ||
          exported.substr(1 + routine.size(), 1) != "@") {
        return false;
      }
      continue;
    }
    if (exported != routine) return false;
    std::size_t rows = 0;
    for (const action_row& row : action_table) rows += exported_as(row.name, routine);
    if (rows != 1) return false;
  }
  for (const action_row& row : action_table) {
    std::size_t exports = 0;
    for (const export_name& e : export_names) exports += exported_as(row.name, e.routine);
    if (exports != 1) return false;
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

// Each exported action routine runs the row exported under its own name, which the macro
// spells once: a routine cannot reach another action's row.
#define VQ_DEFINE_ACTION_ROUTINE(name)                               \
  int32_t VQ_STDCALL name(const char* parameters) noexcept {         \
    return vq::run_row(vq::row_exported_as(#name), parameters);      \
  }

extern "C" {
VQ_ACTION_EXPORTS(VQ_DEFINE_ACTION_ROUTINE)
}  // extern "C"
