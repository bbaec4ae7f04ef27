#include "config/DefaultConfiguration.h"

#include "config/ConfigError.h"
#include "config/ConfigFolder.h"

#include <random>
#include <string>

namespace korvex::config {

namespace fs = std::filesystem;

namespace {

EConfigError notCreated(const fs::path& what) {
    return EConfigError(CannotCreateText(what));
}

// "a/b/" names the folder b; its parent is a.
fs::path withoutTrailingSeparator(const fs::path& folder) {
    return folder.has_filename() ? folder : folder.parent_path();
}

} // namespace

bool CreateConfigFolder(const fs::path& folderWithSeparator, const fs::path& defaults) {
    const fs::path folder = withoutTrailingSeparator(folderWithSeparator);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(folder, ec))) return false;

    if (!folder.parent_path().empty()) {
        fs::create_directories(folder.parent_path(), ec);
        if (ec) throw notCreated(folder.parent_path());
    }
    std::random_device device;
    fs::path staging = folder;
    staging += ".new" + std::to_string(device() % 1000000);
    if (!fs::create_directory(staging, ec)) throw notCreated(folder);

    const auto abandon = [&staging](const fs::path& failed) {
        std::error_code ignored;
        fs::remove_all(staging, ignored);
        return notCreated(failed);
    };
    for (const char* base : SETTINGS_FILES) {
        const fs::path source = SettingsFile(defaults, base);
        const fs::path copy = SettingsFile(staging, base);
        if (!fs::copy_file(source, copy, ec) || ec) throw abandon(SettingsFile(folder, base));
        // Installed defaults may be read-only; the user's copies must take a save.
        fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add,
                        ec);
    }
    fs::rename(staging, folder, ec);
    if (ec) {
        // Another process may have created the folder meanwhile; its files win.
        const bool raced = fs::is_directory(folder);
        std::error_code ignored;
        fs::remove_all(staging, ignored);
        if (raced) return false;
        throw notCreated(folder);
    }
    return true;
}

} // namespace korvex::config
