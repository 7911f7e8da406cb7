#include "catalogue/catalogue.h"

#include "catalogue/actions.h"
#include "host/callbacks.h"

namespace vq {

void register_actions() noexcept {
  int32_t number = 0;
  for (const action_row& action : action_table) {
    host_add_action(++number, action.name, action.hint, parameter_type, parameter_count);
  }
}

}  // namespace vq
