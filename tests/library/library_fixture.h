// Tests of the built library, loaded from its file the way a host loads it.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "vqhost/plugin_library.h"

namespace vq::testing {

// The library file named on the command line.
const std::string& library_path();

struct variable_set {
  std::optional<std::string> name;
  std::optional<std::string> value;
};

// Reads a callback text (nullopt for the zero address), checking its BSTR layout.
std::optional<std::string> read_bstr(const char* text);

class library_test : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs pxExecAction through the library and returns what the one publish set.
  variable_set exec(int32_t action, const std::string& parameters);

  loader::plugin_library library;
  const loader::entry_points* px = nullptr;
  static std::vector<variable_set> sets;
  static void VQ_STDCALL record_set(const char* name, const char* value);
  static void VQ_STDCALL record_add(int32_t, const char*, const char*, const char*, int32_t,
                                    int32_t);
};

}  // namespace vq::testing
