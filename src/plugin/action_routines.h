// The four actions as the dispatcher and the exported action routines run them: on fields
// already split off the parameter text, so that each run scans its text once.
#pragma once

#include <cstdint>

#include "text/param_text.h"

namespace vq {

struct action_routine {
  int field_count;  // how many fields the action takes
  // Computes and publishes once. The fields are views into the caller's bytes.
  void (*run)(const param_fields& fields) noexcept;
};

// The action with number 1 to 4; null for every other number.
const action_routine* action_for(int32_t number) noexcept;

}  // namespace vq
