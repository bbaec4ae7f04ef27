#include "config/ConfigError.h"
#include "config/ConfigFolder.h"
#include "config/DefaultConfiguration.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using korvex::config::ConfigFolder;
using korvex::config::CreateConfigFolder;

namespace {

const fs::path DELIVERED = fs::path(KORVEX_SOURCE_DIR) / "data";

TEST(ConfigFolder, AppendsKorvex2ConfigToTheDocumentsFolder) {
    const auto found = ConfigFolder("/home/anna/Dokumente");
    EXPECT_EQ(found.folder, fs::path("/home/anna/Dokumente/Korvex2/config/"));
    EXPECT_FALSE(found.folder.has_filename()) << "ends with a separator";
    EXPECT_EQ(found.message, "");

    const auto none = ConfigFolder("");
    EXPECT_EQ(none.folder, fs::path("Korvex2/config/"));
    EXPECT_TRUE(none.folder.is_relative());
    EXPECT_EQ(none.message, "[Common Documents]  nicht gefunden!");
}

TEST(DefaultConfiguration, FirstStartCopiesTheDeliveredFiles) {
    TempFolder dir;
    const auto folder = ConfigFolder(dir / "Documents").folder;
    EXPECT_TRUE(CreateConfigFolder(folder, DELIVERED));
    for (const char* base : korvex::config::SETTINGS_FILES) {
        const auto name = std::string(base) + ".ini";
        EXPECT_EQ(readBytes(folder / name), readBytes(DELIVERED / name)) << name;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.parent_path().parent_path()),
                            fs::directory_iterator()),
              1)
        << "no staging folder is left beside it";
}

TEST(DefaultConfiguration, AnExistingFolderIsNeverOverwritten) {
    TempFolder dir;
    const auto folder = dir / "config";
    fs::create_directory(folder);
    writeBytes(folder / "main.ini", "[set]\r\nlang=2\r\n");
    EXPECT_FALSE(CreateConfigFolder(folder, DELIVERED));
    EXPECT_EQ(readBytes(folder / "main.ini"), "[set]\r\nlang=2\r\n");
    EXPECT_FALSE(fs::exists(folder / "profil1.ini"))
        << "an existing folder is not completed either";
}

TEST(DefaultConfiguration, MissingDefaultsLeaveNoHalfFolder) {
    TempFolder dir;
    fs::create_directory(dir / "defaults");
    fs::copy_file(DELIVERED / "main.ini", dir / "defaults" / "main.ini");
    const auto folder = dir / "cfg" / "config";
    try {
        CreateConfigFolder(folder, dir / "defaults");
        FAIL() << "created a folder without its profiles";
    } catch (const korvex::config::EConfigError& e) {
        EXPECT_NE(std::string(e.what()).find("profil1.ini kann nicht erstellt werden"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_TRUE(fs::is_empty(dir / "cfg"));
}

TEST(DefaultConfiguration, ReadOnlyDefaultsGiveWritableCopies) {
    TempFolder dir;
    fs::create_directory(dir / "defaults");
    for (const char* base : korvex::config::SETTINGS_FILES) {
        const auto name = std::string(base) + ".ini";
        fs::copy_file(DELIVERED / name, dir / "defaults" / name);
        makeReadOnly(dir / "defaults" / name);
    }
    ASSERT_TRUE(CreateConfigFolder(dir / "config", dir / "defaults"));
    const auto perms = fs::status(dir / "config" / "main.ini").permissions();
    EXPECT_NE(perms & fs::perms::owner_write, fs::perms::none);
}

} // namespace
