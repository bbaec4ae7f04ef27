#pragma once

#include "base/EKorvexError.h"

namespace korvex::base {

// A value that has no decimal text (infinite or NaN) reached a formatter.
class ENumberFormatError : public EKorvexError {
  public:
    ENumberFormatError() : EKorvexError("Ung\xFCltige Gleitkommazahl") {}
};

} // namespace korvex::base
