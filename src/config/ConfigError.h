#pragma once

#include <stdexcept>
#include <string>

namespace korvex::config {

// A settings, language or file error; what() is the Windows-1252 message the user sees.
class TConfigError : public std::runtime_error {
public:
    explicit TConfigError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace korvex::config
