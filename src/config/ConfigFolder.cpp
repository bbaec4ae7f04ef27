#include "config/ConfigFolder.h"

#include "base/Platform.h"

#include <algorithm>

namespace korvex::config {

TConfigFolder ConfigFolder(const std::filesystem::path& documentsFolder) {
    TConfigFolder result;
    if (documentsFolder.empty()) result.message = "[Common Documents]  nicht gefunden!";
    // The trailing empty element gives the separator at the end.
    result.folder = documentsFolder / "Korvex2" / "config" / "";
    return result;
}

namespace {

bool isBelow(const std::filesystem::path& inner, const std::filesystem::path& outer) {
    const auto a = inner.lexically_normal();
    const auto b = outer.lexically_normal();
    const auto [stop, rest] = std::mismatch(b.begin(), b.end(), a.begin(), a.end());
    return stop == b.end() || stop->empty(); // a trailing separator ends b with an empty name
}

} // namespace

TConfigFolder FindConfigFolder(const std::filesystem::path& documentsFolder,
                               const std::filesystem::path& homeFolder) {
    std::error_code ec;
    const bool home = !homeFolder.empty() && std::filesystem::is_directory(homeFolder, ec);
    if (!documentsFolder.empty() && (std::filesystem::is_directory(documentsFolder, ec) ||
                                     (home && isBelow(documentsFolder, homeFolder))))
        return ConfigFolder(documentsFolder);
    if (home) return ConfigFolder(homeFolder);
    return ConfigFolder({});
}

TConfigFolder DefaultConfigFolder() {
    return FindConfigFolder(base::DocumentsFolder(), base::HomeFolder());
}

std::filesystem::path SettingsFile(const std::filesystem::path& folder,
                                   const std::string& baseName) {
    return folder / (baseName + ".ini");
}

} // namespace korvex::config
