#pragma once

#include "base/EKorvexError.h"

#include <string>

namespace korvex::simulation {

// A floating-point fault of the view arithmetic (an empty world box, a zero scale), reported
// with the platform's wording for a division by zero or an invalid operation.
class EMathError : public EKorvexError {
  public:
    using EKorvexError::EKorvexError;
    static EMathError ZeroDivide() { return EMathError("Gleitkommadivision durch Null"); }
    static EMathError InvalidOp() { return EMathError("Ung\xFCltige Gleitkommaoperation"); }
};

} // namespace korvex::simulation
