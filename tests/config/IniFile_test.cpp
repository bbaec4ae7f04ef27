#include "config/ConfigError.h"
#include "config/IniFile.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

using korvex::config::EConfigError;
using korvex::config::ParseIniInteger;
using korvex::config::TIniFile;

namespace {

struct ReadRow {
    const char* file; // content of the INI file
    const char* section;
    const char* key;
    const char* text; // ReadString
    int integer;      // ReadInteger
    const char* comment;
};

const ReadRow READ_ROWS[] = {
    {"[set]\r\nProfil=Fr\xE4sen\r\n", "set", "Profil", "Fr\xE4sen", 0, "plain text"},
    {"[SET]\r\nPROFIL=abc\r\n", "set", "profil", "abc", 0, "names ignore case"},
    {"[\xC4nderung]\r\n\xDC"
     "ber=1\r\n",
     "\xE4nderung",
     "\xFC"
     "ber",
     "1", 1, "umlauts ignore case"},
    {"[set]\r\nKomende= \r\n", "set", "Komende", "", 0, "a single blank reads back empty"},
    {"[set]\r\n  Key \t=  a b  \r\n", "set", "Key", "a b", 0, "blanks around key and value"},
    {"[set]\nA=1\nB=2\n", "set", "B", "2", 2, "LF line ends"},
    {"[set]\rA=1\rB=2", "set", "B", "2", 2, "CR line ends, no final break"},
    {"[path]\r\nnc=x\r\n[set]\r\nA=7\r\n", "path", "A", "", 0, "key of another section"},
    {"[set]\r\nA=1\r\n[set]\r\nA=2\r\n", "set", "A", "1", 1, "first section wins"},
    {"[set]\r\nA=1\r\nA=2\r\n", "set", "A", "1", 1, "first key wins"},
    {"[set]\r\nA=x=y\r\n", "set", "A", "x=y", 0, "value keeps later equals signs"},
    {"[set]\r\n;A=5\r\nA=6\r\n", "set", "A", "6", 6, "comment line is no key"},
    {"A=3\r\n[set]\r\n", "set", "A", "", 0, "key before any section"},
    {"", "set", "A", "", 0, "empty file"},
    {"\xEF\xBB\xBF[set]\r\nA=Fr\xC3\xA4sen\r\n", "set", "A", "Fr\xE4sen", 0,
     "UTF-8 with byte order mark"},
    {"[set]\r\nA=0x1F\r\n", "set", "A", "0x1F", 31, "hex with 0x"},
    {"[set]\r\nA=$ff\r\n", "set", "A", "$ff", 255, "hex with $"},
    {"[set]\r\nA=-$10\r\n", "set", "A", "-$10", -16, "negative hex"},
    {"[set]\r\nA=$FFFFFFFF\r\n", "set", "A", "$FFFFFFFF", -1, "hex covers 32 bits"},
    {"[set]\r\nA=-16711936\r\n", "set", "A", "-16711936", -16711936, "signed decimal colour"},
    {"[set]\r\nA=+42\r\n", "set", "A", "+42", 42, "plus sign"},
    {"[set]\r\nA=12abc\r\n", "set", "A", "12abc", 0, "trailing garbage is not a number"},
    {"[set]\r\nA=1.5\r\n", "set", "A", "1.5", 0, "decimals are not an integer"},
    {"[set]\r\nA=2147483648\r\n", "set", "A", "2147483648", 0, "beyond 32 bits"},
    {"[set]\r\nA=-2147483648\r\n", "set", "A", "-2147483648", -2147483647 - 1, "lowest int"},
    {"[set]\r\nA=0x\r\n", "set", "A", "0x", 0, "prefix without digits"},
    {"[set]\r\nA=--1\r\n", "set", "A", "--1", 0, "two signs"},
};

TEST(IniFile, ReadsValuesWithTheProfileApiRules) {
    TempFolder dir;
    for (const auto& row : READ_ROWS) {
        writeBytes(dir / "a.ini", row.file);
        const TIniFile ini(dir / "a.ini", row.section);
        EXPECT_EQ(ini.ReadString(row.key), row.text) << row.comment;
        EXPECT_EQ(ini.ReadInteger(row.key), row.integer) << row.comment;
        EXPECT_EQ(ini.ReadBool(row.key), row.integer != 0) << row.comment;
        // A profile is read in one go, by the same rules.
        const korvex::config::TIniReading once(dir / "a.ini", row.section);
        EXPECT_EQ(once.ReadString(row.key), row.text) << row.comment;
        EXPECT_EQ(once.ReadInteger(row.key), row.integer) << row.comment;
    }
}

TEST(IniFile, MissingFileSectionOrKeyGivesTheKindsDefault) {
    TempFolder dir;
    const TIniFile missingFile(dir / "none.ini", "set");
    EXPECT_EQ(missingFile.ReadString("A"), "");
    EXPECT_EQ(missingFile.ReadInteger("A"), 0);
    EXPECT_FALSE(missingFile.ReadBool("A"));
    const TIniFile folderAsFile(dir.path(), "set");
    EXPECT_EQ(folderAsFile.ReadString("A"), "");
}

TEST(IniFile, LongValuesAreCutAt2047Characters) {
    TempFolder dir;
    const std::string longValue(3000, 'x');
    writeBytes(dir / "a.ini", "[set]\r\nA=" + longValue + "\r\n");
    EXPECT_EQ(TIniFile(dir / "a.ini", "set").ReadString("A"), std::string(2047, 'x'));
}

TEST(IniFile, WriteKeepsOtherLinesAndTheirOrder) {
    struct Row {
        const char* before;
        const char* section;
        const char* key;
        const char* value;
        const char* after;
        const char* comment;
    };
    const Row rows[] = {
        {"", "set", "A", "1", "[set]\r\nA=1\r\n", "new file"},
        {"; note\r\n[set]\r\nA=1\r\nB=2\r\n", "SET", "a", "9", "; note\r\n[set]\r\na=9\r\nB=2\r\n",
         "replaces in place"},
        {"[set]\r\nA=1\r\n\r\n[path]\r\nnc=x\r\n", "set", "C", "3",
         "[set]\r\nA=1\r\nC=3\r\n\r\n[path]\r\nnc=x\r\n", "new key after the section's last line"},
        {"[path]\nnc=x\n", "set", "Z", "", "[path]\r\nnc=x\r\n[set]\r\nZ=\r\n",
         "new section at the end"},
        {"[set]\r\nA=1\r\n", "set", "A", "two\r\nX=evil", "[set]\r\nA=two\r\n",
         "a line break ends the value"},
        {"[set]\r\nA=1\r\n", "set", "A", " ", "[set]\r\nA= \r\n", "a blank is written as it is"},
        {"\xEF\xBB\xBF[set]\r\nB=\xC3\xBC\r\n", "set", "A", "\xE4", "[set]\r\nB=\xFC\r\nA=\xE4\r\n",
         "a UTF-8 file is rewritten as Windows-1252"},
    };
    TempFolder dir;
    for (const auto& row : rows) {
        const auto file = dir / "w.ini";
        std::filesystem::remove(file);
        if (*row.before) writeBytes(file, row.before);
        TIniFile(file, row.section).WriteString(row.key, row.value);
        EXPECT_EQ(readBytes(file), row.after) << row.comment;
    }
}

TEST(IniFile, WrittenValuesReadBackAsTheirKind) {
    TempFolder dir;
    const TIniFile ini(dir / "k.ini", "set");
    ini.WriteInteger("red", 255);
    ini.WriteInteger("blue", 16711680);
    ini.WriteInteger("neg", -5);
    ini.WriteBool("on", true);
    ini.WriteBool("off", false);
    EXPECT_EQ(readBytes(dir / "k.ini"),
              "[set]\r\nred=255\r\nblue=16711680\r\nneg=-5\r\non=1\r\noff=0\r\n");
    EXPECT_EQ(ini.ReadInteger("blue"), 16711680);
    EXPECT_TRUE(ini.ReadBool("on"));
    EXPECT_FALSE(ini.ReadBool("off"));
    EXPECT_EQ(ini.ReadInteger("neg"), -5);
}

TEST(IniFile, RefusedWriteNamesTheFileAndChangesNothing) {
    TempFolder dir;
    const auto file = dir / "ro.ini";
    writeBytes(file, "[set]\r\nA=1\r\n");
    makeReadOnly(file);
    const TIniFile readOnly(file, "set");
    try {
        readOnly.WriteString("A", "2");
        FAIL() << "a read-only file was written";
    } catch (const EConfigError& e) {
        EXPECT_EQ(std::string(e.what()), "In " + file.string() + " kann nicht geschrieben werden");
    }
    EXPECT_EQ(readBytes(file), "[set]\r\nA=1\r\n");

    const auto missing = dir / "no" / "such" / "x.ini";
    EXPECT_THROW(TIniFile(missing, "set").WriteBool("A", true), EConfigError);
    EXPECT_FALSE(std::filesystem::exists(missing.parent_path()));
    // No temporary file is left behind by the refused writes.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

// The platform's profile functions handled values as C strings: a NUL ended the value. It
// must not reach an NC program, and a written value ends there as well.
TEST(IniFile, ANulByteEndsTheValue) {
    TempFolder dir;
    const auto file = dir / "profil1.ini";
    using namespace std::string_literals;
    writeBytes(file, "[set]\r\nSynS1=G0 X[#XVAL] \0M30\r\nStart=1\0\r\nZ=\0Z\r\n"s);
    const TIniFile ini(file, "set");
    EXPECT_EQ(ini.ReadString("SynS1"), "G0 X[#XVAL]");
    EXPECT_EQ(ini.ReadInteger("Start"), 1);
    EXPECT_EQ(ini.ReadString("Z"), "");

    ini.WriteString("Suffix", "nc\0xx"s);
    EXPECT_EQ(ini.ReadString("Suffix"), "nc");
    EXPECT_EQ(readBytes(file).find("xx"), std::string::npos);
}

// One character outside Windows-1252 in a UTF-8 file used to garble every value of it.
TEST(IniFile, AByteOrderMarkFileIsReadUpToALineThatCannotBeConverted) {
    TempFolder dir;
    const auto file = dir / "profil1.ini";
    const std::string utf8 =
        "\xEF\xBB\xBF[set]\r\nProfil=Fr\xC3\xA4sen\r\nSynS1=G0 \xE2\x98\x83 X1\r\n"
        "Suffix=nc\r\n";
    writeBytes(file, utf8);
    const TIniFile ini(file, "set");
    EXPECT_EQ(ini.ReadString("Profil"), "Fr\xE4sen");
    EXPECT_EQ(ini.ReadString("SynS1"), "") << "no half line reaches a program";
    EXPECT_EQ(ini.ReadString("Suffix"), "");
    EXPECT_EQ(ini.ReadProblem(),
              "Datei " + file.string() +
                  ": Zeile 3 enth\xE4lt ein Zeichen ohne Windows-1252-Code (U+2603); nur die "
                  "Zeilen davor wurden gelesen");
    // Writing back would lose the lines after it.
    EXPECT_THROW(ini.WriteString("Profil", "x"), EConfigError);
    EXPECT_EQ(readBytes(file), utf8);

    writeBytes(file, "\xEF\xBB\xBF[set]\nProfil=\xE2\x82\xAC\n");
    EXPECT_EQ(ini.ReadString("Profil"), "\x80");
    EXPECT_EQ(ini.ReadProblem(), "");
}

TEST(IniFile, RandomBytesNeverBreakReadingOrWriting) {
    TempFolder dir;
    std::mt19937 random(4711);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 300);
    const char alphabet[] = "[]=; \t\r\nAaB$0x1-";
    std::uniform_int_distribution<std::size_t> pick(0, sizeof alphabet - 2);
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const int n = length(random);
        for (int i = 0; i < n; ++i)
            bytes += round % 2 ? static_cast<char>(byte(random)) : alphabet[pick(random)];
        writeBytes(dir / "f.ini", bytes);
        const TIniFile ini(dir / "f.ini", "a");
        (void)ini.ReadInteger("A");
        ini.WriteString("A", "v");
        EXPECT_EQ(ini.ReadString("A"), "v") << round;
        EXPECT_EQ(ini.ReadString("a"), "v") << round;
    }
}

TEST(IniFile, IntegerParsingAcceptsOnlyWholeNumbers) {
    EXPECT_EQ(ParseIniInteger(" 17 "), 17);
    EXPECT_EQ(ParseIniInteger("0X7f"), 127);
    EXPECT_EQ(ParseIniInteger("$"), 0);
    EXPECT_EQ(ParseIniInteger("$-1"), 0);
    EXPECT_EQ(ParseIniInteger("0x100000000"), 0);
    EXPECT_EQ(ParseIniInteger("99999999999999999999999"), 0);
}

} // namespace
