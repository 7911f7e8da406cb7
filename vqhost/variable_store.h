// The script variables the plug-in sets, and "%name%" references to them in parameter texts.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace vq::vqhost {

// Variables by name: names and values are byte strings (zero bytes included), names compared
// byte for byte, letter case included. The empty name is a name like any other.
class variable_store {
 public:
  void set(std::string_view name, std::string_view value);
  // The value last set under name; the empty text for a name never set.
  std::string_view get(std::string_view name) const;

 private:
  std::map<std::string, std::string, std::less<>> values_;
};

struct expansion {
  bool ok = false;
  std::string text;   // the expanded text when ok
  std::string error;  // why not, when !ok
};

// Replaces every "%name%" in text by the current value of the variable name (any bytes but
// "%"); "%%" stands for one "%". Values are inserted as they are and never scanned again, so a
// "%" inside a value is plain text. Fails, naming the position, on a "%" with no closing "%"
// on the line, and when the expanded text would pass max_length bytes.
expansion expand_variables(std::string_view text, const variable_store& variables,
                           std::size_t max_length);

}  // namespace vq::vqhost
