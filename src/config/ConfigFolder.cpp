#include "config/ConfigFolder.h"

namespace korvex::config {

TConfigFolder ConfigFolder(const std::filesystem::path& documentsFolder) {
    TConfigFolder result;
    if (documentsFolder.empty()) result.message = "[Common Documents]  nicht gefunden!";
    // The trailing empty element gives the separator at the end.
    result.folder = documentsFolder / "Korvex2" / "config" / "";
    return result;
}

TConfigFolder FindConfigFolder(const std::filesystem::path& documentsFolder,
                               const std::filesystem::path& homeFolder) {
    for (const auto& base : {documentsFolder, homeFolder}) {
        std::error_code ec;
        if (!base.empty() && std::filesystem::is_directory(base, ec)) return ConfigFolder(base);
    }
    return ConfigFolder({});
}

std::filesystem::path SettingsFile(const std::filesystem::path& folder,
                                   const std::string& baseName) {
    return folder / (baseName + ".ini");
}

} // namespace korvex::config
