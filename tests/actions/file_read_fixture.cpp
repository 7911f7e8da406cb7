#include "actions/file_read_fixture.h"

#include "platform/platform.h"
#include "plugin/plugin.h"
#include "support/fake_os.h"

namespace vq::testing {

uint32_t set_process_error_mode(uint32_t mode) {
  fake_os* const fake = current_fake();
  return fake ? fake->set_process_error_mode(mode) : os.set_error_mode(mode);
}

received_text file_read_run::run(const std::string& name, const std::string& fields) {
  // SEM_NOGPFAULTERRORBOX: a mode the guard's own value does not include.
  constexpr uint32_t chosen_mode = 0x0002;
  const uint32_t outer_mode = set_process_error_mode(chosen_mode);
  // A stale value: a guard that forgot SetLastError(0) would judge good calls failed.
  os.set_last_error(0xDEADBEEF);
  set_variable_calls.clear();
  const std::string parameters = name + "|" + fields + "|v";
  const char* text = parameters.c_str();
  EXPECT_EQ(pxExecAction(4, &text), 1);
  EXPECT_EQ(set_process_error_mode(outer_mode), chosen_mode) << "error mode not restored";
  EXPECT_EQ(set_variable_calls.size(), 1u);
  if (set_variable_calls.size() != 1) return std::nullopt;
  EXPECT_EQ(set_variable_calls[0].name, "v");
  return set_variable_calls[0].value;
}

received_text FileReadCalls::exec(const std::string& parameters) {
  set_variable_calls.clear();
  const char* text = parameters.c_str();
  EXPECT_EQ(pxExecAction(4, &text), 1);
  EXPECT_EQ(set_variable_calls.size(), 1u);
  return set_variable_calls.empty() ? std::nullopt : set_variable_calls.back().value;
}

bool file_read_run::openable_exclusively(const std::string& name) {
  os_security_attributes security{sizeof(os_security_attributes), nullptr, 0};
  const os_handle file = os.create_file_a(name.c_str(), os_const::generic_read, 0, &security,
                                          os_const::open_always, os_const::file_attribute_normal,
                                          nullptr);
  if (file == invalid_handle()) return false;
  os.close_handle(file);
  return true;
}

}  // namespace vq::testing
