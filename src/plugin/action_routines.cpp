// The actions: each takes its fields, calls the portable computation and publishes once. The
// exported action routines split their text and run the same code as the dispatcher.
#include "plugin/action_routines.h"

#include <utility>

#include "actions/cut.h"
#include "actions/file_read.h"
#include "actions/search.h"
#include "plugin/plugin.h"
#include "text/number.h"
#include "host/publish.h"

namespace vq {
namespace {

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

constexpr action_routine actions[4] = {
    {4, run_search}, {2, run_left}, {2, run_right}, {5, run_file_read}};

int32_t run_direct(int32_t number, const char* parameters) noexcept {
  const action_routine& action = actions[number - 1];
  action.run(split_fields(parameters, action.field_count));
  return 0;
}

}  // namespace

const action_routine* action_for(int32_t number) noexcept {
  return number >= 1 && number <= 4 ? &actions[number - 1] : nullptr;
}

}  // namespace vq

extern "C" {

int32_t VQ_STDCALL ZK_ST_AT(const char* parameters) noexcept {
  return vq::run_direct(1, parameters);
}

int32_t VQ_STDCALL ZK_ST_LEFT(const char* parameters) noexcept {
  return vq::run_direct(2, parameters);
}

int32_t VQ_STDCALL ZK_ST_RIGHT(const char* parameters) noexcept {
  return vq::run_direct(3, parameters);
}

int32_t VQ_STDCALL ZK_ST_FILEREAD(const char* parameters) noexcept {
  return vq::run_direct(4, parameters);
}

}  // extern "C"
