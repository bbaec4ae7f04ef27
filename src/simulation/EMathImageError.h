#pragma once

#include <stdexcept>

namespace korvex::simulation {

// A world point that cannot be mapped to a pixel.
class EMathImageError : public std::runtime_error {
  public:
    EMathImageError() : std::runtime_error("D3-World to pixel transform fails") {}
};

} // namespace korvex::simulation
