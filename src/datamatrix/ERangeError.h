#pragma once

#include <stdexcept>

namespace korvex::datamatrix {

// No symbol size holds the data. The message is Windows-1252 ("Bereichspr\xFC" = "...prü...").
class ERangeError : public std::runtime_error {
  public:
    static constexpr const char* MESSAGE = "Fehler bei Bereichspr\xFC"
                                           "fung";
    ERangeError() : std::runtime_error(MESSAGE) {}
};

} // namespace korvex::datamatrix
