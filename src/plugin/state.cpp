#include "plugin/state.h"

namespace vq {

plugin_state state{};

}  // namespace vq
