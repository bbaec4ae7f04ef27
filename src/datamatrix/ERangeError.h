#pragma once

#include "base/EKorvexError.h"

namespace korvex::datamatrix {

// No symbol size holds the data. The message is Windows-1252 ("Bereichspr\xFC" = "...prü...").
class ERangeError : public EKorvexError {
  public:
    static constexpr const char* MESSAGE = "Fehler bei Bereichspr\xFC"
                                           "fung";
    ERangeError() : EKorvexError(MESSAGE) {}
};

} // namespace korvex::datamatrix
