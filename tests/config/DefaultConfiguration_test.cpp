#include "config/ConfigError.h"
#include "config/ConfigFolder.h"
#include "config/DefaultConfiguration.h"
#include "config/LanguageTexts.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using korvex::config::ConfigFillMessage;
using korvex::config::ConfigFolder;
using korvex::config::FillConfigFolder;
using korvex::config::FindConfigFolder;

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

// A start must never create a home folder (with Documents/Korvex2/config below it) that a
// wrong HOME names; only a documents or home folder that exists takes the configuration.
TEST(ConfigFolder, IsFoundOnlyBelowAFolderThatExists) {
    TempFolder dir;
    fs::create_directories(dir / "home" / "Dokumente");
    const fs::path home = dir / "home";
    const fs::path documents = home / "Dokumente";
    const fs::path nowhere = dir / "gone";
    struct TCase {
        const char* name;
        fs::path documents, home;
        fs::path expected; // empty: none found
    };
    const TCase cases[] = {
        {"documents folder", documents, home, documents / "Korvex2" / "config" / ""},
        {"documents folder to be made in the home", home / "Documents", home,
         home / "Documents" / "Korvex2" / "config" / ""},
        {"documents elsewhere, missing: the home", dir / "elsewhere", home,
         home / "Korvex2" / "config" / ""},
        {"home does not exist", nowhere / "Documents", nowhere, ""},
        {"nothing known", "", "", ""},
    };
    for (const auto& c : cases) {
        const auto found = FindConfigFolder(c.documents, c.home);
        if (c.expected.empty()) {
            EXPECT_EQ(found.folder, fs::path("Korvex2/config/")) << c.name;
            EXPECT_EQ(found.message, "[Common Documents]  nicht gefunden!") << c.name;
        } else {
            EXPECT_EQ(found.folder, c.expected) << c.name;
            EXPECT_EQ(found.message, "") << c.name;
        }
    }
    EXPECT_FALSE(fs::exists(nowhere));
}

TEST(DefaultConfiguration, FirstStartCopiesTheDeliveredFiles) {
    TempFolder dir;
    const auto folder = ConfigFolder(dir / "Documents").folder;
    const auto fill = FillConfigFolder(folder, DELIVERED);
    EXPECT_TRUE(fill.FolderCreated);
    EXPECT_EQ(fill.AddedFiles.size(), 5U);
    for (const char* base : korvex::config::SETTINGS_FILES) {
        const auto name = std::string(base) + ".ini";
        EXPECT_EQ(readBytes(folder / name), readBytes(DELIVERED / name)) << name;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 5)
        << "no temporary file is left beside them";
    EXPECT_TRUE(FillConfigFolder(folder, DELIVERED).AddedFiles.empty()) << "a second start";
}

// A folder that lacks main.ini read every colour as 0: black on black.
TEST(DefaultConfiguration, AnExistingFolderGetsTheFilesItLacksAndKeepsItsOwn) {
    TempFolder dir;
    const auto folder = dir / "config";
    fs::create_directory(folder);
    writeBytes(folder / "profil2.ini", "[set]\r\nProfil=Eigen\r\n");
    writeBytes(folder / "profil3.ini", ""); // present, even if empty
    const auto fill = FillConfigFolder(folder, DELIVERED);
    EXPECT_FALSE(fill.FolderCreated);
    const std::vector<fs::path> added = {folder / "main.ini", folder / "profil1.ini",
                                         folder / "profil4.ini"};
    EXPECT_EQ(fill.AddedFiles, added);
    EXPECT_EQ(readBytes(folder / "main.ini"), readBytes(DELIVERED / "main.ini"));
    EXPECT_EQ(readBytes(folder / "profil2.ini"), "[set]\r\nProfil=Eigen\r\n");
    EXPECT_EQ(readBytes(folder / "profil3.ini"), "");

    // The status line names what was added, in the user's language.
    korvex::config::TLanguageTexts texts;
    texts.Load(DELIVERED / "german.txt");
    EXPECT_EQ(ConfigFillMessage(fill, folder, texts),
              "Standardeinstellungen angelegt: " + added[0].string() + ", " + added[1].string() +
                  ", " + added[2].string());
    EXPECT_EQ(ConfigFillMessage({}, folder, texts), "");
}

TEST(DefaultConfiguration, MissingDefaultsChangeNothing) {
    TempFolder dir;
    fs::create_directory(dir / "defaults");
    fs::copy_file(DELIVERED / "main.ini", dir / "defaults" / "main.ini");
    const auto folder = dir / "cfg" / "config";
    try {
        FillConfigFolder(folder, dir / "defaults");
        FAIL() << "created a folder without its profiles";
    } catch (const korvex::config::EConfigError& e) {
        EXPECT_NE(std::string(e.what()).find("profil1.ini kann nicht erstellt werden"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_FALSE(fs::exists(dir / "cfg"));
}

TEST(DefaultConfiguration, ReadOnlyDefaultsGiveWritableCopies) {
    TempFolder dir;
    fs::create_directory(dir / "defaults");
    for (const char* base : korvex::config::SETTINGS_FILES) {
        const auto name = std::string(base) + ".ini";
        fs::copy_file(DELIVERED / name, dir / "defaults" / name);
        makeReadOnly(dir / "defaults" / name);
    }
    ASSERT_TRUE(FillConfigFolder(dir / "config", dir / "defaults").FolderCreated);
    const auto perms = fs::status(dir / "config" / "main.ini").permissions();
    EXPECT_NE(perms & fs::perms::owner_write, fs::perms::none);
}

} // namespace
