// The identity texts the plug-in hands to the host.
#pragma once

#include <string_view>

namespace vq {

inline constexpr std::string_view title_text = "Velquist 1.0";
inline constexpr std::string_view publisher_text = "Ilse Varnholt";
inline constexpr std::string_view description_text = "Advanced String Search";

}  // namespace vq
