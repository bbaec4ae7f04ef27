#pragma once

#include "base/EKorvexError.h"

#include <filesystem>
#include <string>

namespace korvex::config {

// A settings, language or file error; what() is the Windows-1252 message the user sees.
class EConfigError : public EKorvexError {
  public:
    explicit EConfigError(const std::string& message) : EKorvexError(message) {}
};

// The system's file messages, with the full file name.
std::string
CannotOpenText(const std::filesystem::path& file); // "Datei %s kann nicht geöffnet werden"
std::string
CannotCreateText(const std::filesystem::path& file); // "Datei %s kann nicht erstellt werden"
std::string
CannotWriteText(const std::filesystem::path& file); // "In %s kann nicht geschrieben werden"

} // namespace korvex::config
