#include "vqhost/variable_store.h"

namespace vq::vqhost {

void variable_store::set(std::string_view name, std::string_view value) {
  const auto found = values_.find(name);
  if (found != values_.end()) {
    found->second.assign(value);
  } else {
    values_.emplace(name, value);
  }
}

std::string_view variable_store::get(std::string_view name) const {
  const auto found = values_.find(name);
  return found == values_.end() ? std::string_view() : std::string_view(found->second);
}

expansion expand_variables(std::string_view text, const variable_store& variables,
                           std::size_t max_length) {
  expansion result;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t open = text.find('%', at);
    const std::string_view plain = text.substr(at, open - at);
    std::string_view insert;
    if (open != std::string_view::npos) {
      const std::size_t close = text.find('%', open + 1);
      if (close == std::string_view::npos) {
        result.error = "unclosed \"%\" at byte " + std::to_string(open + 1) +
                       " of the parameter text (write \"%%\" for a percent sign)";
        return result;
      }
      const std::string_view name = text.substr(open + 1, close - open - 1);
      insert = name.empty() ? std::string_view("%") : variables.get(name);
      at = close + 1;
    } else {
      at = text.size();
    }
    // Checked before appending: a variable holding a large file inserted many times must not
    // take the memory with it.
    if (plain.size() + insert.size() > max_length - result.text.size()) {
      result.error = "the parameter text passes " + std::to_string(max_length) +
                     " bytes once its variables are inserted";
      result.text.clear();
      return result;
    }
    result.text.append(plain).append(insert);
  }
  result.ok = true;
  return result;
}

}  // namespace vq::vqhost
