#include "config/ConfigError.h"
#include "config/IniFile.h"
#include "config/SettingsFile.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

using namespace korvex;
using config::TGraphicView;
using config::TIniFile;
using config::TSettings;

namespace {

const std::filesystem::path DELIVERED = std::filesystem::path(KORVEX_SOURCE_DIR) / "data";

TSettings sampleSettings() {
    TSettings s;
    s.NcFolder = "C:\\NC\\";
    s.TemplateFolder = "/home/werk/Vorlagen";
    s.DotSpacing = "0.40";
    s.DefaultProfile = 3;
    s.View = TGraphicView::YZ;
    s.ShowRapidMoves = true;
    s.ShowAxes = false;
    s.Background = 0x000000FF;
    s.Axes = 0x00FF0000;
    s.Feed = 0x00123456;
    s.AFeed = 0x00FFFFFF;
    s.Rapid = 1;
    s.Blank = 0x00808080;
    s.DefaultSymbolSize = 30;
    s.DefaultEncodation = 5;
    s.CurrentSymbolSize = 30;
    s.CurrentEncodation = 5;
    s.Language = 2;
    return s;
}

ncgen::TProfileTable sampleProfiles() {
    ncgen::TProfileTable table;
    for (int p = 0; p < ncgen::ProfileCount; ++p) {
        auto& q = table[p];
        q.Name = "Profil \xE4" + std::to_string(p + 1);
        q.FirstPoint[0] = "G0 Z[#RVAL]";
        q.FirstPoint[2] = "line 3 after a gap";
        q.FollowingPoints[19] = "G1 Z[#ZVAL] F[#FVAL]";
        q.End[p] = "M30";
        q.Suffix = "nc";
        q.REbene = "2";
        q.ZEbene = "Q200";
        q.VorschubZ = "F50 R F M";
        q.VorschubXY = "500";
        q.Komstart = "(";
        q.Komende = ")";
        q.Stellen = "4";
        q.Nachkommastellen = "3";
        q.Dezipunkt = p % 2 == 0;
        q.NCpunkt = p == 1;
        q.VNullen = p == 2;
        q.NNullen = p % 2 == 1;
        q.Vorzeichen = p == 3;
        q.Satznum = p >= 2;
        q.Satzzeichen = "N";
        q.Schritt = "10";
        q.Start = "100";
        q.X = "X";
        q.Y = p == 2 ? "Z" : "Y";
        q.Z = "Z";
        q.I = "I";
        q.J = p == 2 ? "K" : "J";
        q.R = "R";
    }
    return table;
}

bool sameProfile(const ncgen::TOutputProfile& a, const ncgen::TOutputProfile& b) {
    return a.Name == b.Name && a.FirstPoint == b.FirstPoint &&
           a.FollowingPoints == b.FollowingPoints && a.End == b.End && a.Suffix == b.Suffix &&
           a.REbene == b.REbene && a.ZEbene == b.ZEbene && a.VorschubZ == b.VorschubZ &&
           a.VorschubXY == b.VorschubXY && a.Komstart == b.Komstart && a.Komende == b.Komende &&
           a.Stellen == b.Stellen && a.Nachkommastellen == b.Nachkommastellen &&
           a.Dezipunkt == b.Dezipunkt && a.NCpunkt == b.NCpunkt && a.VNullen == b.VNullen &&
           a.NNullen == b.NNullen && a.Vorzeichen == b.Vorzeichen && a.Satznum == b.Satznum &&
           a.Satzzeichen == b.Satzzeichen && a.Schritt == b.Schritt && a.Start == b.Start &&
           a.X == b.X && a.Y == b.Y && a.Z == b.Z && a.I == b.I && a.J == b.J && a.R == b.R;
}

// The keys of a file in their order, "[section]" lines included.
std::vector<std::string> keysOf(const std::filesystem::path& file) {
    std::vector<std::string> keys;
    std::istringstream in(readBytes(file));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        keys.push_back(line.starts_with("[") ? line : line.substr(0, line.find('=')));
    }
    return keys;
}

TEST(SettingsFile, SaveThenLoadGivesTheSameSettings) {
    TempFolder dir;
    TSettings saved = sampleSettings();
    auto profiles = sampleProfiles();
    config::SaveSettings(dir.path(), saved, profiles);

    TSettings loaded;
    ncgen::TProfileTable loadedProfiles;
    config::LoadSettings(dir.path(), loaded, loadedProfiles);
    const TSettings expected = sampleSettings();
    EXPECT_EQ(loaded.NcFolder, expected.NcFolder);
    EXPECT_EQ(loaded.TemplateFolder, expected.TemplateFolder);
    EXPECT_EQ(loaded.DotSpacing, expected.DotSpacing);
    EXPECT_EQ(loaded.DefaultProfile, 3);
    EXPECT_EQ(loaded.View, TGraphicView::YZ);
    EXPECT_TRUE(loaded.ShowRapidMoves);
    EXPECT_FALSE(loaded.ShowAxes);
    EXPECT_EQ(loaded.Background, expected.Background);
    EXPECT_EQ(loaded.Axes, expected.Axes);
    EXPECT_EQ(loaded.Feed, expected.Feed);
    EXPECT_EQ(loaded.AFeed, expected.AFeed);
    EXPECT_EQ(loaded.Rapid, expected.Rapid);
    EXPECT_EQ(loaded.Blank, expected.Blank);
    EXPECT_EQ(loaded.DefaultSymbolSize, 30);
    EXPECT_EQ(loaded.DefaultEncodation, 5);
    EXPECT_EQ(loaded.CurrentSymbolSize, 30);
    EXPECT_EQ(loaded.CurrentEncodation, 5);
    EXPECT_EQ(loaded.Language, 2);
    for (int p = 0; p < ncgen::ProfileCount; ++p)
        EXPECT_TRUE(sameProfile(loadedProfiles[p], profiles[p])) << "profile " << p + 1;
}

TEST(SettingsFile, NewFilesFollowTheWriteOrder) {
    TempFolder dir;
    TSettings s = sampleSettings();
    auto profiles = sampleProfiles();
    config::SaveSettings(dir.path(), s, profiles);

    const std::vector<std::string> main = {
        "[path]",    "nc",      "vo",      "[set]",      "HG",       "Achsen",   "Vorschub",
        "AVorschub", "Eilgang", "Rohteil", "Aufloesung", "DMFormat", "DMEncode", "XY",
        "XZ",        "YZ",      "XYZ",     "G0",         "AXIS",     "Profil",   "lang"};
    EXPECT_EQ(keysOf(dir / "main.ini"), main);

    std::vector<std::string> profile = {"[set]",  "Profil",    "REbene",
                                        "ZEbene", "VorschubZ", "VorschubXY"};
    for (int j = 1; j <= 20; ++j)
        for (const char* prefix : {"SynS", "Syn", "SynE"})
            profile.push_back(prefix + std::to_string(j));
    for (const char* key : {"Suffix",    "Komstart",    "Komende", "Stellen", "Nachkommastellen",
                            "Dezipunkt", "NCpunkt",     "VNullen", "NNullen", "Vorzeichen",
                            "Satznum",   "Satzzeichen", "Schritt", "Start",   "X",
                            "Y",         "Z",           "I",       "J",       "R"})
        profile.push_back(key);
    for (int p = 1; p <= 4; ++p)
        EXPECT_EQ(keysOf(dir / ("profil" + std::to_string(p) + ".ini")), profile);

    const TIniFile set(dir / "main.ini", "set");
    EXPECT_EQ(set.ReadString("HG"), "255") << "pure red";
    EXPECT_EQ(set.ReadString("Achsen"), "16711680") << "pure blue";
}

TEST(SettingsFile, ProfileWithoutTemplateKeysSavesAll60Empty) {
    TempFolder dir;
    writeBytes(dir / "profil1.ini", "[set]\r\nProfil=leer\r\nKomende= \r\n");
    TSettings s;
    ncgen::TProfileTable profiles;
    config::LoadSettings(dir.path(), s, profiles);
    for (const auto& line : profiles[0].FirstPoint)
        EXPECT_EQ(line, "");
    EXPECT_EQ(profiles[0].Komende, "") << "a stored single blank reads back empty";

    config::SaveSettings(dir.path(), s, profiles);
    const TIniFile ini(dir / "profil1.ini", "set");
    const std::string bytes = readBytes(dir / "profil1.ini");
    for (int j = 1; j <= 20; ++j)
        for (const char* prefix : {"SynS", "Syn", "SynE"})
            EXPECT_NE(bytes.find("\r\n" + (prefix + std::to_string(j)) + "=\r\n"),
                      std::string::npos)
                << prefix << j;
    EXPECT_EQ(ini.ReadString("Profil"), "leer");
}

TEST(SettingsFile, StoredValuesOutsideTheirRangeKeepOrFallBack) {
    struct Row {
        const char* main;
        int profile;
        TGraphicView view;
        int size;
        int encodation;
        int language;
        const char* comment;
    };
    const Row rows[] = {
        {"Profil=2\r\nXZ=1\r\nDMFormat=3\r\nDMEncode=5\r\nlang=3", 2, TGraphicView::XZ, 3, 5, 3,
         "values in range"},
        {"Profil=7\r\nDMFormat=49\r\nDMEncode=6\r\nlang=5", 1, TGraphicView::XYZ, 0, 0, 1,
         "beyond the lists"},
        {"Profil=0\r\nDMFormat=-1\r\nDMEncode=-1\r\nlang=0", 1, TGraphicView::XYZ, 0, 0, 1,
         "nothing selected"},
        {"Profil=260\r\nDMFormat=259\r\nlang=257", 1, TGraphicView::XYZ, 0, 0, 1,
         "8-bit wrap does not apply"},
        {"XY=1\r\nYZ=1", 1, TGraphicView::YZ, 0, 0, 1, "the last true view flag wins"},
        {"", 1, TGraphicView::XYZ, 0, 0, 1, "empty main file"},
    };
    for (const auto& row : rows) {
        TempFolder dir;
        writeBytes(dir / "main.ini", std::string("[set]\r\n") + row.main + "\r\n");
        TSettings s;
        ncgen::TProfileTable profiles;
        config::LoadSettings(dir.path(), s, profiles);
        EXPECT_EQ(s.DefaultProfile, row.profile) << row.comment;
        EXPECT_EQ(s.View, row.view) << row.comment;
        EXPECT_EQ(s.DefaultSymbolSize, row.size) << row.comment;
        EXPECT_EQ(s.CurrentSymbolSize, row.size) << row.comment;
        EXPECT_EQ(s.DefaultEncodation, row.encodation) << row.comment;
        EXPECT_EQ(s.CurrentEncodation, row.encodation) << row.comment;
        EXPECT_EQ(s.Language, row.language) << row.comment;
    }
}

TEST(SettingsFile, RadioGroupsKeepThePreviousChoice) {
    TempFolder dir;
    writeBytes(dir / "main.ini", "[set]\r\nProfil=7\r\nXY=0\r\nXZ=0\r\nYZ=0\r\nXYZ=0\r\n");
    TSettings s;
    s.DefaultProfile = 4;
    s.View = TGraphicView::XZ;
    ncgen::TProfileTable profiles;
    config::LoadSettings(dir.path(), s, profiles);
    EXPECT_EQ(s.DefaultProfile, 4);
    EXPECT_EQ(s.View, TGraphicView::XZ);

    config::SaveSettings(dir.path(), s, profiles);
    EXPECT_EQ(TIniFile(dir / "main.ini", "set").ReadInteger("Profil"), 4);
    EXPECT_TRUE(TIniFile(dir / "main.ini", "set").ReadBool("XZ"));
}

TEST(SettingsFile, RefusedWriteStopsAtThatValue) {
    TempFolder dir;
    TSettings s = sampleSettings();
    auto profiles = sampleProfiles();
    config::SaveSettings(dir.path(), s, profiles);
    const std::string main = readBytes(dir / "main.ini");
    const std::string second = readBytes(dir / "profil2.ini");
    makeReadOnly(dir / "profil2.ini");

    auto changed = sampleProfiles();
    for (auto& p : changed)
        p.REbene = "5";
    TSettings changedSettings = sampleSettings();
    changedSettings.NcFolder = "elsewhere";
    try {
        config::SaveSettings(dir.path(), changedSettings, changed);
        FAIL() << "the read-only profile file was written";
    } catch (const config::EConfigError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "In " + (dir / "profil2.ini").string() + " kann nicht geschrieben werden");
    }
    EXPECT_EQ(TIniFile(dir / "profil1.ini", "set").ReadString("REbene"), "5") << "written before";
    EXPECT_EQ(readBytes(dir / "profil2.ini"), second);
    EXPECT_EQ(TIniFile(dir / "profil3.ini", "set").ReadString("REbene"), "2")
        << "after the failure";
    EXPECT_EQ(readBytes(dir / "main.ini"), main);
    EXPECT_EQ(changedSettings.NcFolder, "elsewhere") << "not reloaded";
}

TEST(SettingsFile, SavingIntoAMissingFolderChangesNothingOnDisk) {
    TempFolder dir;
    const auto missing = dir / "Korvex2";
    TSettings s = sampleSettings();
    auto profiles = sampleProfiles();
    EXPECT_THROW(config::SaveSettings(missing / "config", s, profiles), config::EConfigError);
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(SettingsFile, LoadingNamesEachFileReadOnlyInPart) {
    TempFolder dir;
    writeBytes(dir / "main.ini", "\xEF\xBB\xBF[set]\r\nHG=255\r\nlang=2 \xE2\x86\x92\r\n");
    writeBytes(dir / "profil2.ini", "\xEF\xBB\xBF[set]\r\nProfil=\xF0\x9F\x94\xA7\r\n");
    writeBytes(dir / "profil3.ini", "\xEF\xBB\xBF[set]\r\nProfil=Dreh\r\n");
    TSettings s;
    ncgen::TProfileTable profiles;
    const auto problems = config::LoadSettings(dir.path(), s, profiles);
    ASSERT_EQ(problems.size(), 2U);
    EXPECT_TRUE(problems[0].starts_with("Datei " + (dir / "profil2.ini").string() + ": Zeile 2"))
        << problems[0];
    EXPECT_NE(problems[0].find("(U+1F527)"), std::string::npos) << problems[0];
    EXPECT_TRUE(problems[1].starts_with("Datei " + (dir / "main.ini").string() + ": Zeile 3"))
        << problems[1];
    EXPECT_EQ(s.Background, 255U);
    EXPECT_EQ(s.Language, 1) << "the line that could not be read is not used";
    EXPECT_EQ(profiles[2].Name, "Dreh");
}

TEST(SettingsFile, DeliveredDefaultsAreInTheWriteOrderAndLoseNothing) {
    TempFolder dir;
    TSettings s;
    ncgen::TProfileTable profiles;
    config::LoadSettings(DELIVERED, s, profiles);
    config::SaveSettings(dir.path(), s, profiles);
    for (const char* name :
         {"main.ini", "profil1.ini", "profil2.ini", "profil3.ini", "profil4.ini"})
        EXPECT_EQ(readBytes(dir / name), readBytes(DELIVERED / name)) << name;
}

TEST(SettingsFile, DeliveredProfilesRetractFirstPlungePerPointAndEnd) {
    TSettings s;
    ncgen::TProfileTable profiles;
    config::LoadSettings(DELIVERED, s, profiles);
    EXPECT_EQ(s.DefaultProfile, 1);
    EXPECT_EQ(s.Language, 1);
    for (int p = 0; p < ncgen::ProfileCount; ++p) {
        const auto& q = profiles[p];
        SCOPED_TRACE(q.Name);
        EXPECT_FALSE(q.Name.empty());
        EXPECT_EQ(q.REbene, "2");
        EXPECT_EQ(q.ZEbene, "-0.1");
        EXPECT_EQ(q.VorschubZ, "50");
        EXPECT_EQ(q.Nachkommastellen, "3");
        // How the tool gets to the first point is checked on the generated programs
        // (DeliveredDefaults_test.cpp).
        for (const auto* tpl : {&q.FirstPoint, &q.FollowingPoints}) {
            const auto plunges = std::count_if(tpl->begin(), tpl->end(), [](const auto& l) {
                return l.find("[#ZVAL]") != std::string::npos;
            });
            EXPECT_EQ(plunges, 1);
        }
        const bool ends = std::any_of(q.End.begin(), q.End.end(), [](const auto& l) {
            return l.find("M30") != std::string::npos || l.starts_with("END PGM");
        });
        EXPECT_TRUE(ends);
    }
    EXPECT_EQ(profiles[2].Y, "Z") << "lathe mode needs Y letter Z";
    EXPECT_EQ(profiles[2].J, "K") << "lathe mode needs J letter K";
    EXPECT_TRUE(profiles[3].Satznum);
}

} // namespace

namespace {

TEST(SettingsFile, ToolAndRapidRateAreKeptAndOlderFilesGetNoNewKeys) {
    TempFolder dir;
    TSettings settings = sampleSettings();
    auto profiles = sampleProfiles();
    profiles[1].Tool = {"1", "118", "0.05", ""};
    settings.RapidRate = "8000";
    config::SaveSettings(dir.path(), settings, profiles);

    TSettings loaded;
    ncgen::TProfileTable loadedProfiles;
    config::LoadSettings(dir.path(), loaded, loadedProfiles);
    EXPECT_EQ(loaded.RapidRate, "8000");
    EXPECT_EQ(loadedProfiles[1].Tool.Kind, "1");
    EXPECT_EQ(loadedProfiles[1].Tool.Angle, "118");
    EXPECT_EQ(loadedProfiles[1].Tool.Tip, "0.05");
    // A profile that never had a tool is written as before, so older readers see no change.
    const auto keys = keysOf(dir.path() / "profil1.ini");
    EXPECT_EQ(std::count(keys.begin(), keys.end(), "WzTyp"), 0);
    const auto withTool = keysOf(dir.path() / "profil2.ini");
    EXPECT_EQ(std::count(withTool.begin(), withTool.end(), "WzTyp"), 1);
}

} // namespace
