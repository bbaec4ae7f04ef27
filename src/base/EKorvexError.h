#pragma once

#include <stdexcept>
#include <string>

namespace korvex {

// An error the user is meant to read: what() is the system's own message (Windows-1252), shown
// as it stands. The general handler tells these from programming errors by this base.
class EKorvexError : public std::runtime_error {
  public:
    explicit EKorvexError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace korvex
