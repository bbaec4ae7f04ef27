#include "CliProcess.h"
#include "support/TempFolder.h"
#include "datamatrix/SymbolReader.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

namespace fs = std::filesystem;
using korvex::testing::RunCli;

namespace {

const fs::path JOBS = fs::path(KORVEX_TEST_DATA_DIR) / "cli";
const fs::path DELIVERED = KORVEX_DATA_DIR;
const std::string ENGLISH = korvex::testing::EnglishConfig(); // for korvex-cli's own wording

std::string job(const char* name) {
    return (JOBS / name).string();
}

TEST(GenerateCommand, EachDeliveredProfileWritesItsProgram) {
    struct Row {
        std::vector<std::string> args;
        const char* expected;
    };
    const Row rows[] = {
        {{"--profile", "1", job("serial.ncm")}, "serial_profil1.nc"},
        {{"--profile", "2", job("serial.ncm")}, "serial_profil2.nc"},
        {{"--profile", "3", job("serial.ncm")}, "serial_profil3.nc"},
        {{"--profile", "4", job("serial.ncm")}, "serial_profil4.nc"},
        {{job("serial.ncm")}, "serial_profil1.nc"},
        {{"--profile", "Klartext", job("serial.ncm")}, "serial_profil2.nc"},
        {{"--profile", "DIN/ISO Fr\u00e4sen", job("serial.ncm")}, "serial_profil1.nc"},
        {{"--profile", "3", job("rotated.ncm")}, "rotated_profil3.nc"},
        {{"--profile", "2", "--text", "Pr\u00fcfung 2026\nLos 7", job("serial.ncm")},
         "serial_text_profil2.nc"},
    };
    for (const auto& row : rows) {
        std::vector<std::string> args = {"generate", "--config", DELIVERED.string()};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const auto result = RunCli(args);
        EXPECT_EQ(result.exitCode, 0) << row.expected << result.err;
        EXPECT_EQ(result.err, "") << row.expected;
        EXPECT_EQ(result.out, readBytes(JOBS / row.expected)) << row.expected;
    }
}

// The points of "G0 X.. Y.." lines, as modules of a grid with the job's spacing and offset.
std::optional<std::string> decodeMilledSymbol(const std::string& program, double spacing, double x0,
                                              double y0) {
    std::set<std::pair<int, int>> dots;
    int cols = 0, rows = 0;
    for (auto at = program.find("G0 X"); at != std::string::npos;
         at = program.find("G0 X", at + 1)) {
        // "G0 X<x> Y<y>": the reading stops at the blank after x; a line without Y is no point.
        const char* const end = program.data() + program.size();
        double x = 0, yValue = 0;
        const auto xRead = std::from_chars(program.data() + at + 4, end, x);
        const auto y = static_cast<std::size_t>(xRead.ptr - program.data());
        if (program.compare(y, 2, " Y") != 0) continue;
        std::from_chars(program.data() + y + 2, end, yValue);
        const int col = static_cast<int>(std::lround((x - x0) / spacing));
        const int row = static_cast<int>(std::lround((yValue - y0) / spacing));
        dots.emplace(col, row);
        cols = std::max(cols, col + 1);
        rows = std::max(rows, row + 1);
    }
    return korvex::testing::ReadDataMatrix(cols, rows, [&](int x, int y) {
        return dots.count({x, rows - 1 - y}) > 0;
    });
}

TEST(GenerateCommand, MarkedPointsDecodeToTheJobText) {
    const auto fromJob = RunCli({"generate", "--config", DELIVERED.string(), job("serial.ncm")});
    ASSERT_EQ(fromJob.exitCode, 0) << fromJob.err;
    EXPECT_EQ(decodeMilledSymbol(fromJob.out, 0.5, 10, 5), "12345678");

    const auto fromText = RunCli({"generate", "--config", DELIVERED.string(), "--text",
                                  "Pr\u00fcfung 2026\nLos 7", job("serial.ncm")});
    ASSERT_EQ(fromText.exitCode, 0) << fromText.err;
    EXPECT_EQ(decodeMilledSymbol(fromText.out, 0.5, 10, 5), "Pr\xFC"
                                                            "fung 2026\r\nLos 7")
        << "Windows-1252 bytes, lines joined with CR LF";
}

TEST(GenerateCommand, ProgramEndsWithoutALineBreakAndUsesCrLf) {
    const auto result = RunCli({"generate", "--config", DELIVERED.string(), job("serial.ncm")});
    ASSERT_EQ(result.exitCode, 0);
    ASSERT_FALSE(result.out.empty());
    EXPECT_NE(result.out.back(), '\n');
    EXPECT_TRUE(result.out.ends_with("\r\nM30"));
    for (auto at = result.out.find('\n'); at != std::string::npos;
         at = result.out.find('\n', at + 1))
        ASSERT_TRUE(at > 0 && result.out[at - 1] == '\r') << "bare LF at " << at;
}

TEST(GenerateCommand, FailuresGiveTheirTextAndNoProgram) {
    TempFolder dir;
    const auto jobWith = [&dir](const std::string& name, const std::string& fields) {
        writeBytes(dir / name, "LAYER L\r\nSHOW\r\n" + fields + "DATA\r\n/ABC\r\n");
        return (dir / name).string();
    };
    struct Row {
        std::vector<std::string> args;
        int exitCode;
        std::string err;
        const char* comment;
    };
    const auto raw = [&dir](const std::string& name, const std::string& bytes) {
        writeBytes(dir / name, bytes);
        return (dir / name).string();
    };
    const std::string noLayer = "Die Datei enth\u00e4lt keine Ebene: ";
    const std::string missing = (dir / "fehlt.ncm").string();
    const Row rows[] = {
        {{missing}, 1, "Vorlage [" + missing + "] existiert nicht!\n", "missing template"},
        {{dir.path().string()},
         1,
         "Vorlage [" + dir.path().string() + "] existiert nicht!\n",
         "a folder is no template file"},
        {{(dir / "\u4e2d.ncm").string()},
         1,
         "Vorlage [" + (dir / "?.ncm").string() + "] existiert nicht!\n",
         "a character without a Windows-1252 code in the name"},
        {{jobWith("a.ncm", "ANGLE 361\r\n")},
         1,
         "Der Drehwinkel muss zwischen 0 und 360 Grad liegen\n",
         "angle outside 0-360"},
        {{jobWith("a2.ncm", "ANGLE 12.5\xB0\r\n")},
         1,
         "Der Drehwinkel muss zwischen 0 und 360 Grad liegen\n",
         "angle that is no number"},
        {{"--text", "X", raw("leer.ncm", "")},
         1,
         noLayer + (dir / "leer.ncm").string() + "\n",
         "empty job"},
        {{"--text", "X", raw("teil.ncm", "%\r\nN10 G0 X1 Y2\r\nM30\r\n")},
         1,
         noLayer + (dir / "teil.ncm").string() + "\n",
         "an NC program as the job"},
        {{"--text", "X", raw("bytes.ncm", std::string("\x00\xFF\x7F\r\x80", 5))},
         1,
         noLayer + (dir / "bytes.ncm").string() + "\n",
         "random bytes as the job"},
        {{jobWith("b.ncm", "SIZE 0\r\n")},
         1,
         "Ung\u00fcltige Eingabe: Punktabstand\n",
         "spacing 0"},
        {{jobWith("c.ncm", "SIZE 1,5\r\n")},
         1,
         "Ung\u00fcltige Eingabe: Punktabstand\n",
         "spacing with a comma"},
        {{jobWith("d.ncm", "XDIS abc\r\n")},
         1,
         "Ung\u00fcltige Eingabe: Verschiebung X\n",
         "X offset"},
        {{jobWith("e.ncm", "YDIS 1e\r\n")},
         1,
         "Ung\u00fcltige Eingabe: Verschiebung Y\n",
         "Y offset"},
        {{jobWith("g.ncm", "DMFORM 1\r\n"), "--text", std::string(1600, 'A')},
         1,
         "Fehler bei Bereichspr\u00fcfung\n",
         "text does not fit any size"},
    };
    for (const auto& row : rows) {
        std::vector<std::string> args = {"generate", "--config", DELIVERED.string()};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const auto result = RunCli(args);
        EXPECT_EQ(result.exitCode, row.exitCode) << row.comment;
        EXPECT_EQ(result.err, row.err) << row.comment;
        EXPECT_EQ(result.out, "") << row.comment;
    }
}

TEST(GenerateCommand, BadArgumentsAreUsageErrors) {
    const std::vector<std::vector<std::string>> rows = {
        {},
        {"--profile", "7", job("serial.ncm")},
        {"--profile", "Unbekannt", job("serial.ncm")},
        {"--bogus", job("serial.ncm")},
        {job("serial.ncm"), job("rotated.ncm")},
        {job("serial.ncm"), "-o"},
        {"--text", "\u4e2d", job("serial.ncm")},
        {"--profile", "1", "--profile", "2", job("serial.ncm")},
        {"-o", "", job("serial.ncm")},
    };
    for (const auto& row : rows) {
        std::vector<std::string> args = {"generate", "--config", DELIVERED.string()};
        args.insert(args.end(), row.begin(), row.end());
        const auto result = RunCli(args);
        EXPECT_EQ(result.exitCode, 2) << testing::PrintToString(row);
        EXPECT_FALSE(result.err.empty());
        EXPECT_EQ(result.out, "");
    }
}

// generate and grade share their option parser with the other commands; what each says of a
// wrong command line is its own and stays as it was.
TEST(GenerateCommand, UsageErrorsOfGenerateAndGradeNameTheFault) {
    const struct {
        std::vector<std::string> args;
        std::string said;
    } rows[] = {
        {{"generate", "--bogus", "a.ncm"}, "unknown option '--bogus'"},
        {{"generate", "a.ncm", "b.ncm"}, "only one job file can be generated"},
        {{"generate", "--help", "a.ncm", "b.ncm"}, "only one job file can be generated"},
        {{"generate", "--tool"}, "option --tool needs a value"},
        {{"generate", "--surface", "", "a.ncm"}, "option --surface needs a value"},
        {{"generate", "--text", "a", "--text", "b", "a.ncm"}, "option --text given twice"},
        {{"generate", "--text", ""}, "no job file given"},
        {{"generate", "--require", "E", "a.ncm"}, "--require must be as9132, A, B, C or D"},
        {{"generate", "--serial", "1", "a.ncm"}, "--serial needs a --text pattern"},
        {{"generate", "--serial", "1", "--texts", "f", "a.ncm"},
         "--serial and --texts cannot be combined"},
        {{"generate", "--texts", "f", "--text", "x", "-o", "y", "a.ncm"},
         "--texts takes its texts from the file, not --text"},
        {{"generate", "--serial", "1", "--text", "x", "a.ncm"},
         "a serial or list run needs an -o name pattern"},
        {{"generate", "--counter", "c", "a.ncm"}, "--counter belongs to --serial next"},
        {{"generate", "--no-log", "--serial", "next", "--text", "x", "-o", "y", "a.ncm"},
         "--serial next takes its numbers from the marking log; --no-log has none"},
        {{"grade", "--bogus", "a.ncm"}, "unknown option '--bogus'"},
        {{"grade", "a.ncm", "b.ncm"}, "only one job file can be graded"},
        {{"grade", "--format", "xml", "a.ncm"}, "--format must be text or json"},
        {{"grade", "--format", "", "a.ncm"}, "--format must be text or json"},
        {{"grade", "--tool", "a", "--tool", "b", "a.ncm"}, "option --tool given twice"},
        {{"grade"}, "no job file given"},
    };
    for (const auto& row : rows) {
        const auto result = RunCli(row.args);
        EXPECT_EQ(result.exitCode, 2) << testing::PrintToString(row.args);
        EXPECT_EQ(result.err.substr(0, result.err.find('\n')),
                  "korvex-cli " + row.args.front() + ": " + row.said)
            << testing::PrintToString(row.args);
        EXPECT_EQ(result.out, "");
    }
}

TEST(GenerateCommand, EmptyFolderFileOrProfileNamesNothing) {
    for (const char* option : {"--config", "--profile", "-o"}) {
        const auto result = RunCli({"generate", option, "", job("serial.ncm")});
        EXPECT_EQ(result.exitCode, 2) << option;
        EXPECT_EQ(result.err.substr(0, result.err.find('\n')),
                  "korvex-cli generate: option " + std::string(option) + " needs a value");
        EXPECT_EQ(result.out, "") << option;
    }
}

TEST(GenerateCommand, ASizeTooSmallForTheTextIsReportedButGenerated) {
    TempFolder dir;
    writeBytes(dir / "klein.ncm",
               "LAYER L\r\nDMFORM 1\r\nDATA\r\n/" + std::string(20, '7') + "ABC\r\n");
    const auto result = RunCli({"generate", "--config", ENGLISH, (dir / "klein.ncm").string()});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err,
              "korvex-cli: warning: the text does not fit C10X10; the symbol is C18X18\n");
    EXPECT_EQ(decodeMilledSymbol(result.out, 0.5, 0, 0), std::string(20, '7') + "ABC");
}

TEST(GenerateCommand, EnglishSettingsGiveEnglishMessages) {
    TempFolder dir;
    const auto config = dir / "config";
    ASSERT_EQ(RunCli({"generate", "--config", config.string(), job("serial.ncm")}).exitCode, 0);
    std::string main = readBytes(config / "main.ini");
    main.replace(main.find("lang=1"), 6, "lang=2");
    writeBytes(config / "main.ini", main);
    writeBytes(dir / "bad.ncm", "LAYER L\r\nSIZE x\r\nDATA\r\n/A\r\n");
    const auto result =
        RunCli({"generate", "--config", config.string(), (dir / "bad.ncm").string()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Invalid input: Dot spacing\n");

    writeBytes(dir / "f.ncm", "LAYER L\r\nSHOW\r\nDATA\r\n/ABC\r\n");
    const auto nothing =
        RunCli({"generate", "--config", config.string(), "--text", "", (dir / "f.ncm").string()});
    EXPECT_EQ(nothing.exitCode, 1);
    EXPECT_EQ(nothing.err, "Layer 1 of the job has no text to encode\n") << "nothing to encode";
}

// The window and korvex-cli load templates through one step; its repairs reach the user.
TEST(GenerateCommand, TheLoadersRepairsAreReportedAndTheJobGoesOn) {
    TempFolder dir;
    std::string lines;
    for (int i = 0; i < 102; ++i)
        lines += "/A\r\n";
    writeBytes(dir / "lang.ncm", "SIZE 0.5\r\nLAYER L\r\nDATA\r\n" + lines);
    const auto result = RunCli({"generate", "--config", ENGLISH, (dir / "lang.ncm").string()});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "korvex-cli: warning: 2 text lines beyond 100 per layer were left out\n"
                          "korvex-cli: warning: 1 lines before the first layer were ignored\n");
    EXPECT_FALSE(result.out.empty());
}

TEST(GenerateCommand, OutputFileIsWrittenWholeOrNotAtAll) {
    TempFolder dir;
    const auto out = dir / "teil.nc";
    const auto ok = RunCli({"generate", "--config", DELIVERED.string(), "--no-log", "-o",
                            out.string(), job("serial.ncm")});
    EXPECT_EQ(ok.exitCode, 0) << ok.err;
    EXPECT_EQ(ok.out, "");
    EXPECT_EQ(readBytes(out), readBytes(JOBS / "serial_profil1.nc"));

    writeBytes(dir / "bad.ncm", "LAYER L\r\nANGLE 400\r\nDATA\r\n/A\r\n");
    const auto failed = RunCli({"generate", "--config", DELIVERED.string(), "--no-log", "-o",
                                out.string(), (dir / "bad.ncm").string()});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(readBytes(out), readBytes(JOBS / "serial_profil1.nc")) << "the old program stays";

    const auto nowhere = dir / "fehlt" / "teil.nc";
    const auto refused = RunCli({"generate", "--config", DELIVERED.string(), "--no-log", "-o",
                                 nowhere.string(), job("serial.ncm")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "Datei " + nowhere.string() + " kann nicht erstellt werden\n");
    EXPECT_FALSE(fs::exists(nowhere.parent_path()));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2)
        << "no temporary file is left";
}

// Shops name folders and jobs as they speak; on Windows such a name must not pass through the
// ANSI code page on its way in.
TEST(GenerateCommand, PathsWithUmlautsAndBlanksReachTheirFiles) {
    TempFolder dir;
    const auto folder = dir / "Auftr\u00e4ge 2026" / "Gro\u00dfe Teile";
    fs::create_directories(folder);
    const auto jobFile = folder / "Pr\u00fcfteil \u00d6lpumpe.ncm";
    fs::copy_file(JOBS / "serial.ncm", jobFile);
    const auto config = dir / "Einstellungen f\u00fcr M\u00fcller";
    const auto out = folder / "Pr\u00fcfteil \u00d6lpumpe.nc";
    const auto r =
        RunCli({"generate", "--config", config.string(), "-o", out.string(), jobFile.string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readBytes(out), readBytes(JOBS / "serial_profil1.nc"));
    EXPECT_TRUE(fs::is_regular_file(config / "profil1.ini"));
}

// current.nc links into the machine's share: the program must arrive there, and the link stay.
TEST(GenerateCommand, OutputThroughALinkReachesTheLinkedFile) {
    TempFolder dir;
    fs::create_directory(dir / "share");
    writeBytes(dir / "share" / "marking.nc", "yesterday's program");
    fs::create_symlink(dir / "share" / "marking.nc", dir / "current.nc");
    const auto r = RunCli({"generate", "--config", DELIVERED.string(), "--no-log", "-o",
                           (dir / "current.nc").string(), job("serial.ncm")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(fs::is_symlink(dir / "current.nc"));
    EXPECT_EQ(readBytes(dir / "share" / "marking.nc"), readBytes(JOBS / "serial_profil1.nc"));
}

TEST(GenerateCommand, ASettingsFileReadOnlyInPartIsReported) {
    TempFolder dir;
    for (const char* name :
         {"main.ini", "profil1.ini", "profil2.ini", "profil3.ini", "profil4.ini"})
        fs::copy_file(fs::path(ENGLISH) / name, dir / name);
    writeBytes(dir / "main.ini",
               "\xEF\xBB\xBF" + readBytes(fs::path(ENGLISH) / "main.ini") + "x=\xE2\x98\x83\r\n");
    const auto r = RunCli({"generate", "--config", dir.path().string(), job("serial.ncm")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, readBytes(JOBS / "serial_profil1.nc"));
    EXPECT_TRUE(
        r.err.starts_with("korvex-cli: warning: Datei " + (dir / "main.ini").string() + ": Zeile "))
        << r.err;
    EXPECT_NE(r.err.find("(U+2603)"), std::string::npos) << r.err;
}

TEST(GenerateCommand, OutputNamingTheJobFileLeavesTheJobAlone) {
    TempFolder dir;
    const auto jobFile = dir / "serial.ncm";
    fs::copy_file(JOBS / "serial.ncm", jobFile);
    const std::string before = readBytes(jobFile);
    for (const char* command : {"generate", "view"}) {
        // Through another spelling of the same path, too.
        const auto sameFile = (dir.path() / "." / "serial.ncm").string();
        const auto r = RunCli({command, "--config", ENGLISH, "-o", sameFile, jobFile.string()});
        EXPECT_EQ(r.exitCode, 2) << command;
        EXPECT_NE(r.err.find("job file"), std::string::npos) << command;
        EXPECT_EQ(readBytes(jobFile), before) << command;
    }
}

TEST(GenerateCommand, FreshConfigFolderGivesTheSameBytesAsTheDeliveredDefaults) {
    TempFolder dir;
    const auto delivered =
        RunCli({"generate", "--config", DELIVERED.string(), "--profile", "4", job("serial.ncm")});
    ASSERT_EQ(delivered.exitCode, 0) << delivered.err;

    const auto config = dir / "neu" / "config";
    const auto fresh =
        RunCli({"generate", "--config", config.string(), "--profile", "4", job("serial.ncm")});
    EXPECT_EQ(fresh.exitCode, 0) << fresh.err;
    EXPECT_EQ(fresh.out, delivered.out);
    EXPECT_EQ(readBytes(config / "profil4.ini"), readBytes(DELIVERED / "profil4.ini"));

    // The app's own folder below the documents folder, found through HOME.
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    setenv("HOME", dir.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (dir / "xdg").c_str(), 1);
    const auto viaHome = RunCli({"generate", "--profile", "4", job("serial.ncm")});
    unsetenv("XDG_CONFIG_HOME");
    if (oldHome) setenv("HOME", savedHome.c_str(), 1);
    EXPECT_EQ(viaHome.exitCode, 0) << viaHome.err;
    EXPECT_EQ(viaHome.out, delivered.out);
    EXPECT_TRUE(fs::exists(dir / "Documents" / "Korvex2" / "config" / "main.ini"));
}

// A HOME that does not exist names no folder to keep settings in; it is not created.
TEST(GenerateCommand, AHomeThatDoesNotExistIsNotCreated) {
    TempFolder dir;
    const auto home = dir / "gone";
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (dir / "xdg").c_str(), 1);
    const auto result = RunCli({"generate", job("serial.ncm")});
    unsetenv("XDG_CONFIG_HOME");
    if (oldHome) setenv("HOME", savedHome.c_str(), 1);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "[Common Documents]  nicht gefunden!\n");
    EXPECT_FALSE(fs::exists(home));
}

// A folder without main.ini read every colour as 0; each missing file now comes from the
// delivered defaults, and the files the user has stay as they are.
TEST(GenerateCommand, AnExistingConfigFolderIsFilledButNotOverwritten) {
    TempFolder dir;
    const auto config = dir / "config";
    fs::create_directory(config);
    const std::string profile =
        "[set]\r\nProfil=Eigen\r\nSynS1=[#XVAL];[#YVAL]\r\nSyn1=[#XVAL];[#YVAL]\r\nSynE1=ENDE\r\n"
        "Dezipunkt=1\r\nNachkommastellen=1\r\n";
    writeBytes(config / "profil1.ini", profile);
    const auto result =
        RunCli({"generate", "--config", config.string(), "--text", "1", job("serial.ncm")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out.starts_with("14.5;5\r\n")) << result.out.substr(0, 40);
    EXPECT_TRUE(result.out.ends_with("\r\nENDE"));
    EXPECT_EQ(readBytes(config / "profil1.ini"), profile);
    for (const char* name : {"main.ini", "profil2.ini", "profil3.ini", "profil4.ini"})
        EXPECT_EQ(readBytes(config / name), readBytes(DELIVERED / name)) << name;
    std::string files;
    for (const char* name : {"main.ini", "profil2.ini", "profil3.ini", "profil4.ini"})
        files += (files.empty() ? "" : ", ") + (config / name).string();
    EXPECT_EQ(result.err, "korvex-cli: Standardeinstellungen angelegt: " + files + "\n");

    const auto again =
        RunCli({"generate", "--config", config.string(), "--text", "1", job("serial.ncm")});
    EXPECT_EQ(again.out, result.out);
    EXPECT_EQ(again.err, "") << "nothing more to add";
}

TEST(GenerateCommand, AProfileWithoutTemplateLinesIsRefusedByName) {
    TempFolder dir;
    writeBytes(dir / "main.ini", "[set]\r\nProfil=1\r\n");
    const struct {
        const char* profile;
        const char* named;
    } rows[] = {
        {"\x89PNG\r\n\x1a\n\x00\x01garbage", "profil1.ini"},
        {"[andere]\r\nSynS1=G0 X[#XVAL]\r\n", "profil1.ini"},
        {"[set]\r\nProfil=Leer\r\nREbene=2\r\n", "Leer"},
    };
    for (const auto& row : rows) {
        writeBytes(dir / "profil1.ini", row.profile);
        const auto result =
            RunCli({"generate", "--config", dir.path().string(), job("serial.ncm")});
        EXPECT_EQ(result.exitCode, 1) << row.named;
        // The first run also says which missing profiles it added from the defaults.
        EXPECT_TRUE(result.err.ends_with(
            "Das Profil enth\u00e4lt keine Vorlagenzeilen: " + std::string(row.named) + "\n"))
            << result.err;
        EXPECT_EQ(result.out, "") << row.named;
    }
}

TEST(GenerateCommand, AHandEditedProfileWhoseNumbersCannotBeReadBackIsRefused) {
    TempFolder dir;
    writeBytes(dir / "main.ini", "[set]\r\nProfil=1\r\n");
    writeBytes(dir / "profil1.ini",
               "[set]\r\nProfil=Band\r\nSynS1=X[#XVAL] Y[#YVAL]\r\nSyn1=X[#XVAL] Y[#YVAL]\r\n"
               "Dezipunkt=0\r\nNNullen=0\r\nVNullen=0\r\nNachkommastellen=3\r\n");
    const auto result = RunCli({"generate", "--config", dir.path().string(), job("serial.ncm")});
    EXPECT_EQ(result.exitCode, 1);
    // After the notice of the profiles added from the defaults.
    EXPECT_TRUE(result.err.ends_with("\nDas Zahlenformat ist nicht lesbar: Dezimalpunkt und "
                                     "Nachnullen (Dezipunkt, NNullen) sind beide aus. "
                                     "Profil: Band\n"))
        << result.err;
    EXPECT_EQ(result.out, "");
}

} // namespace
