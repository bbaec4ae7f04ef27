#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace korvex::simulation {

// A simulation line number that is not a valid floating-point text.
class EConvertError : public std::runtime_error {
  public:
    explicit EConvertError(std::string_view text)
        : std::runtime_error("'" + std::string(text) + "' ist kein g\xFCltiger Gleitkommawert") {}
};

} // namespace korvex::simulation
