// Runs of the file read action through pxExecAction on files in a fresh temporary folder, with
// the checks every run must pass whatever its outcome.
#pragma once

#include <cstdint>
#include <string>

#include "support/temp_folder.h"
#include "support/callback_recorder.h"

namespace vq::testing {

// Sets the process error mode for a test, through the fake when one is alive; returns the
// previous mode.
uint32_t set_process_error_mode(uint32_t mode);

class file_read_run : public plugin_test {
 protected:
  // Runs action 4 on "name|fields|v" with a stale last-error value and a chosen error mode in
  // force, and returns the value of the one publish, which must be under "v". Fails the test
  // unless the error mode is back as it was.
  received_text run(const std::string& name, const std::string& fields);

  // Whether the file can be opened with share mode 0 now, i.e. no handle holds it.
  static bool openable_exclusively(const std::string& name);

  temp_folder folder;
};

// Runs with a fake system: pxExecAction on the parameters as given, nothing of the test's own
// in the fake's log.
class FileReadCalls : public file_read_run {
 protected:
  // The value of the one publish.
  received_text exec(const std::string& parameters);
};

}  // namespace vq::testing
