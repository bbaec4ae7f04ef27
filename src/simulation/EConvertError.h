#pragma once

#include "base/EKorvexError.h"

#include <string>
#include <string_view>

namespace korvex::simulation {

// A simulation line number that is not a valid floating-point text.
class EConvertError : public EKorvexError {
  public:
    explicit EConvertError(std::string_view text)
        : EKorvexError("'" + std::string(text) + "' ist kein g\xFCltiger Gleitkommawert") {}
};

} // namespace korvex::simulation
