#pragma once

#include "base/EKorvexError.h"

namespace korvex::simulation {

// A world point that cannot be mapped to a pixel.
class EMathImageError : public EKorvexError {
  public:
    EMathImageError() : EKorvexError("D3-World to pixel transform fails") {}
};

} // namespace korvex::simulation
