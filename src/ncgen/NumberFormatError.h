#pragma once

#include <stdexcept>

namespace korvex::ncgen {

// A value that has no decimal text (infinite or NaN) reached a formatter.
class TNumberFormatError : public std::runtime_error {
  public:
    TNumberFormatError() : std::runtime_error("Ung\xFCltige Gleitkommazahl") {}
};

} // namespace korvex::ncgen
