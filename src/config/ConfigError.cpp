#include "config/ConfigError.h"

#include "base/PathText.h"

namespace korvex::config {

using base::PathText;

std::string CannotOpenText(const std::filesystem::path& file) {
    return "Datei " + PathText(file) +
           " kann nicht ge\xF6"
           "ffnet werden";
}

std::string CannotCreateText(const std::filesystem::path& file) {
    return "Datei " + PathText(file) + " kann nicht erstellt werden";
}

std::string CannotWriteText(const std::filesystem::path& file) {
    return "In " + PathText(file) + " kann nicht geschrieben werden";
}

} // namespace korvex::config
