#include "config/DefaultConfiguration.h"

#include "base/AtomicFile.h"
#include "base/PathText.h"
#include "base/TextNumbers.h"
#include "config/ConfigError.h"
#include "config/ConfigFolder.h"
#include "config/LanguageTexts.h"

#include <string>

namespace korvex::config {

namespace fs = std::filesystem;

namespace {

EConfigError notCreated(const fs::path& what) {
    return EConfigError(CannotCreateText(what));
}

} // namespace

TConfigFill FillConfigFolder(const fs::path& folder, const fs::path& defaults) {
    struct TCopy {
        fs::path target;
        std::string bytes;
    };
    std::vector<TCopy> copies;
    for (const char* base : SETTINGS_FILES) {
        const fs::path target = SettingsFile(folder, base);
        std::error_code ec;
        // A link to a file that is gone counts as missing; the writer fills its target.
        if (fs::exists(fs::status(target, ec))) continue;
        TCopy copy{target, {}};
        if (!base::ReadFileBytes(SettingsFile(defaults, base), copy.bytes))
            throw notCreated(target);
        copies.push_back(std::move(copy));
    }
    TConfigFill fill;
    if (copies.empty()) return fill;

    std::error_code ec;
    fill.FolderCreated = fs::create_directories(folder, ec);
    if (ec) throw notCreated(copies.front().target);
    for (const auto& copy : copies) {
        // Checked again: another start may have written it since.
        if (fs::exists(fs::status(copy.target, ec))) continue;
        if (!base::WriteFileAtomically(copy.target, copy.bytes)) throw notCreated(copy.target);
        fill.AddedFiles.push_back(copy.target);
    }
    return fill;
}

std::string ConfigFillMessage(const TConfigFill& fill, const fs::path& folder,
                              const TLanguageTexts& texts) {
    if (fill.AddedFiles.empty()) return {};
    if (fill.FolderCreated) return texts.Message(text::ConfigFolderCreated, base::PathText(folder));
    std::string files;
    for (const auto& file : fill.AddedFiles)
        files += (files.empty() ? "" : ", ") + base::PathText(file);
    return texts.Message(text::ConfigFolderCreated, files);
}

} // namespace korvex::config
