#include "ncgen/TemplateFile.h"

#include "base/TextNumbers.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <cstring>

using namespace korvex::ncgen;
namespace fs = std::filesystem;

namespace {

const TLoadOptions OPTIONS{3, 5, "Beschriftungsebene 1"};

TJob exampleJob() {
    TJob job;
    job.Layers.AddLayer("A", 0, 0);
    TLayer& layer = job.Layers.Layer(1);
    layer.Lines[0] = "AB";
    layer.Lines[1] = "12";
    layer.LineCount = 2;
    layer.XMirror = true;
    layer.XDis = "10";
    layer.YDis = "5";
    job.D3Zrotation = -30;
    job.D3Yrotation = 20;
    job.D3WorldX1 = job.D3WorldY1 = job.D3WorldZ1 = -50;
    job.D3WorldX2 = job.D3WorldY2 = job.D3WorldZ2 = 50;
    return job;
}

TJob read(std::string_view bytes, TLoadReport* reportOut = nullptr) {
    TJob job;
    TLoadReport report;
    ReadVorlage(bytes, job, report, OPTIONS);
    if (reportOut != nullptr) {
        *reportOut = report;
    }
    return job;
}

TEST(TemplateFile, ExampleJobIsWrittenAsTheTwentyOneLinesByteForByte) {
    const std::string expected =
        "LAYER A\r\nSHOW\r\nSIZE 0.5\r\nDMFORM 0\r\nDMENC 0\r\nANGLE 0\r\nXDIS 10\r\nYDIS 5\r\n"
        "XMIRROR\r\nDATA\r\n/AB\r\n/12\r\nBLANK \r\n3DZ -30\r\n3DY 20\r\n3DX1 -50\r\n3DX2 50\r\n"
        "3DY1 -50\r\n3DY2 50\r\n3DZ1 -50\r\n3DZ2 50\r\n";
    EXPECT_EQ(VorlageText(exampleJob()), expected);
}

TEST(TemplateFile, WriteThenReadGivesTheSameJob) {
    TJob job = exampleJob();
    TLayer& first = job.Layers.Layer(1);
    first.Lines[2] = "";
    first.Lines[3] = "/starts with a slash";
    first.Lines[4] = "SIZE 99";
    first.Lines[5] = "LAYER not a layer";
    first.Lines[6] = "3DZ 1";
    first.Lines[7] = "caf\xE9 \x80 \xFF";
    first.LineCount = 8;
    job.Layers.AddLayer("Zweite Ebene", 12, 4);
    TLayer& second = job.Layers.Layer(2);
    second.Shown = false;
    second.YMirror = true;
    second.Size = "1,5";
    second.Angle = "  45";
    job.BlankDefinition = "ROHDEF QUAD XM0 YP50 ZP0 XP100 YM0 ZM-10";
    job.D3Zrotation = 12.5L;
    job.D3WorldZ2 = 1e-5L;
    job.D3WorldX1 = -123456.789L;

    const std::string text = VorlageText(job);
    TLoadReport report;
    const TJob back = read(text, &report);
    EXPECT_EQ(back.Layers.LayerCount, 2);
    EXPECT_EQ(back.Layers.CurrentLayer, 1);
    for (int n = 1; n <= 2; ++n) {
        EXPECT_EQ(back.Layers.Layer(n), job.Layers.Layer(n)) << "layer " << n;
    }
    EXPECT_EQ(back.BlankDefinition, job.BlankDefinition);
    EXPECT_EQ(back.D3Zrotation, job.D3Zrotation);
    EXPECT_EQ(back.D3WorldZ2, job.D3WorldZ2);
    EXPECT_EQ(back.D3WorldX1, job.D3WorldX1);
    EXPECT_EQ(VorlageText(back), text);
    EXPECT_EQ(report.DroppedTextLines + report.IgnoredLayerLines + report.IndexFallbacks, 0);
}

TEST(TemplateFile, ReaderFollowsTheKeywordRulesOnEveryLineEnding) {
    const std::string lines[] = {
        "junk before", "LAYER L1", "SIZE 1",  "/ignored before DATA",
        "DATA",        "/one",     "SIZE 2",  "/two",
        "XMIRROR",     "3DZ abc",  "3DY 7.5", "BLANK ROHDEF ZYL1 XC0 YC0 RA50 ZP0 ZM-10",
        "LAYER L2",    "/outside", "SHOW"};
    for (const char* ending : {"\r\n", "\n", "\r"}) {
        std::string text;
        for (const std::string& line : lines) {
            text += line + ending;
        }
        text.pop_back(); // a last line without its end still counts
        const TJob job = read(text);
        ASSERT_EQ(job.Layers.LayerCount, 2) << "ending " << int(ending[0]);
        const TLayer& l1 = job.Layers.Layer(1);
        EXPECT_EQ(l1.Size, "2"); // the last SIZE wins, also after the text block
        EXPECT_EQ(l1.LineCount, 2);
        EXPECT_EQ(l1.Lines[0], "one");
        EXPECT_EQ(l1.Lines[1], "two");
        EXPECT_TRUE(l1.XMirror);
        EXPECT_EQ(l1.DMForm, "3"); // no DMFORM line: the current index
        EXPECT_EQ(job.Layers.Layer(2).LineCount, 0);
        EXPECT_TRUE(job.Layers.Layer(2).Shown);
        EXPECT_EQ(job.D3Zrotation, -90); // "abc" leaves the view as it was
        EXPECT_EQ(job.D3Yrotation, 7.5);
        EXPECT_EQ(job.BlankDefinition, "ROHDEF ZYL1 XC0 YC0 RA50 ZP0 ZM-10");
    }
}

TEST(TemplateFile, SurplusAndOrphanedValuesAreLeftOutAndReported) {
    std::string text = "SIZE 9\r\nXMIRROR\r\nDATA\r\n/orphan\r\nBLANK early\r\n";
    for (int n = 1; n <= 52; ++n) {
        text += "LAYER L" + std::to_string(n) + "\r\nDMFORM " + (n == 2 ? "300" : "4") +
                "\r\nDMENC x\r\nDATA\r\n";
        for (int i = 0; i < (n == 1 ? 103 : 1); ++i) {
            text += "/line " + std::to_string(i) + "\r\n";
        }
    }
    TLoadReport report;
    const TJob job = read(text, &report);
    EXPECT_EQ(report.IgnoredLayerLines, 3);
    EXPECT_EQ(report.DroppedTextLines, 3);
    EXPECT_EQ(report.DroppedLayers, 2);
    EXPECT_EQ(report.IndexFallbacks, 51); // one DMFORM and every DMENC of the 50 kept layers
    EXPECT_EQ(job.BlankDefinition, "early");
    EXPECT_EQ(job.Layers.LayerCount, 50);
    const TLayer& first = job.Layers.Layer(1);
    EXPECT_EQ(first.Size, "0.5");
    EXPECT_FALSE(first.XMirror);
    EXPECT_EQ(first.LineCount, 100);
    EXPECT_EQ(first.Lines[99], "line 99");
    EXPECT_EQ(job.Layers.Layer(2).DMForm, "0");
    EXPECT_EQ(job.Layers.Layer(2).DMEnc, "0");
    const TLayer& last = job.Layers.Layer(50);
    EXPECT_EQ(last.Name, "L50");
    EXPECT_EQ(last.LineCount, 1); // layers 51 and 52 did not spill into layer 50
}

TEST(TemplateFile, IndexesThatNameNoSymbolSizeOrEncodationAreReported) {
    // Sizes are 0-48, encodations 0-5; anything else would silently become AUTO / ASCII.
    const struct {
        const char* form;
        const char* enc;
        const char* storedForm;
        const char* storedEnc;
        int fallbacks;
    } cases[] = {{"30", "5", "30", "5", 0},   {"0", "0", "0", "0", 0},
                 {"49", "5", "0", "5", 1},    {"255", "6", "0", "0", 2},
                 {"12", "255", "12", "0", 1}, {"300", "-1", "0", "0", 2}};
    for (const auto& c : cases) {
        TLoadReport report;
        const TJob job = read(std::string("LAYER L\r\nDMFORM ") + c.form + "\r\nDMENC " + c.enc +
                                  "\r\nDATA\r\n/x\r\n",
                              &report);
        EXPECT_EQ(report.IndexFallbacks, c.fallbacks) << c.form << " / " << c.enc;
        EXPECT_EQ(job.Layers.Layer(1).DMForm, c.storedForm);
        EXPECT_EQ(job.Layers.Layer(1).DMEnc, c.storedEnc);
    }
}

TEST(TemplateFile, ContentKindIsALayerLineAndTextHasNone) {
    TJob job = exampleJob();
    job.Layers.AddLayer("B", 0, 0);
    job.Layers.Layer(2).Content = korvex::content::TContentKind::Gs1;
    const std::string text = VorlageText(job);
    EXPECT_NE(text.find("DMENC 0\r\nCONTENT GS1\r\nANGLE"), std::string::npos);
    EXPECT_EQ(text.find("CONTENT"), text.rfind("CONTENT"));
    TLoadReport report;
    const TJob back = read(text, &report);
    EXPECT_EQ(back.Layers.Layer(1).Content, korvex::content::TContentKind::Text);
    EXPECT_EQ(back.Layers.Layer(2).Content, korvex::content::TContentKind::Gs1);
    EXPECT_EQ(VorlageText(back), text);

    // A kind this program does not know is read as Text and reported, not kept silently.
    read("LAYER A\r\nCONTENT HIBC\r\nDATA\r\n/x\r\n", &report);
    EXPECT_EQ(report.UnknownContents, 1);
}

// "CONTENT GS2" loaded as Text and marked the brackets literally without a word.
TEST(TemplateFile, UnknownContentKindIsRefusedNamingItsLine) {
    TLoadReport report;
    read("LAYER A\r\nCONTENT GS1\r\nLAYER B\nCONTENT GS2\nDATA\n/(01)1\nLAYER C\r\nCONTENT X\r\n",
         &report);
    const korvex::base::TTextMessage refusal = CheckContentKinds(report, "job.ncm");
    EXPECT_EQ(refusal.Text, korvex::text::UnknownContentKind);
    EXPECT_EQ(refusal.Detail, "job.ncm");
    ASSERT_EQ(refusal.Values.size(), 3u);
    EXPECT_EQ(refusal.Values[0], "4");
    EXPECT_EQ(refusal.Values[1], "CONTENT GS2");
    EXPECT_EQ(refusal.Values[2], "GS1, ISO15434-05, ISO15434-06, ISO15434-12");
    read("LAYER A\r\nCONTENT iso15434-06\r\n", &report);
    EXPECT_TRUE(CheckContentKinds(report, "job.ncm").Empty());
}

TEST(TemplateFile, FileWithoutLayersGetsOneDefaultLayer) {
    TLoadReport report;
    const TJob job = read("BLANK \r\n3DZ 5\r\n", &report);
    EXPECT_TRUE(report.AddedDefaultLayer);
    EXPECT_EQ(job.Layers.LayerCount, 1);
    EXPECT_EQ(job.Layers.Layer(1).Name, "Beschriftungsebene 1");
    EXPECT_EQ(job.D3Zrotation, 5);
}

TEST(TemplateFile, MissingTemplateFileReturnsFalseAndKeepsTheJob) {
    TJob job = exampleJob();
    TLoadReport report;
    TempFolder missing;
    EXPECT_FALSE(LadeVorlage(missing / "none.ncm", job, report, OPTIONS));
    EXPECT_EQ(VorlageText(job), VorlageText(exampleJob()));
}

TEST(TemplateFile, UnreadableTemplateReturnsTrueAndKeepsTheJob) {
    TJob job = exampleJob();
    TLoadReport report;
    TempFolder unreadable;
    EXPECT_TRUE(LadeVorlage(unreadable.path(), job, report, OPTIONS)); // a folder
    EXPECT_FALSE(report.Opened);
    EXPECT_EQ(VorlageText(job), VorlageText(exampleJob()));
}

TEST(TemplateFile, SavedFileLoadsBackAndReplacesTheOldOne) {
    TempFolder scratch;
    const fs::path file = scratch / "job.ncm";
    std::ofstream(file) << "old";
    SpeichereVorlage(file, exampleJob());
    EXPECT_EQ(readBytes(file), VorlageText(exampleJob()));
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()),
              1);
    TJob job;
    TLoadReport report;
    ASSERT_TRUE(LadeVorlage(file, job, report, OPTIONS));
    EXPECT_TRUE(report.Opened);
    EXPECT_EQ(VorlageText(job), VorlageText(exampleJob()));
}

TEST(TemplateFile, FailedWriteNamesTheFileAndLeavesWhatWasThere) {
    TempFolder scratch;
    const fs::path dir = scratch.path();
    const fs::path occupied = dir / "occupied.ncm"; // a folder where the file should go
    fs::create_directories(occupied / "inside");
    try {
        SpeichereVorlage(occupied, exampleJob());
        FAIL() << "writing over a folder must fail";
    } catch (const ETemplateWriteError& error) {
        EXPECT_EQ(error.TextNumber(), 9013);
        EXPECT_EQ(error.FileName(), occupied);
        EXPECT_NE(std::string(error.what()).find("occupied.ncm"), std::string::npos);
    }
    EXPECT_TRUE(fs::is_directory(occupied / "inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()),
              1); // no temporary left
    EXPECT_THROW(SpeichereVorlage(dir / "no" / "such" / "folder.ncm", exampleJob()),
                 ETemplateWriteError);
    // Messages are Windows-1252: a name with an umlaut must not come out as two characters.
    const fs::path umlaut = dir / "no" / fs::path(u8"Pr\u00fcfung.ncm");
    try {
        SpeichereVorlage(umlaut, exampleJob());
        FAIL() << "a missing folder must fail";
    } catch (const ETemplateWriteError& error) {
        EXPECT_NE(std::string(error.what())
                      .find("Pr\xFC"
                            "fung.ncm"),
                  std::string::npos)
            << error.what();
    }
}

TEST(TemplateFile, NewJobKeepsTheViewAndStartsOneFreshLayer) {
    TJob job = exampleJob();
    job.BlankDefinition = "ROHDEF QUAD";
    job.Layers.AddLayer("B", 0, 0);
    NewJob(job, "Beschriftungsebene 1", 9, 1);
    EXPECT_EQ(job.Layers.LayerCount, 1);
    EXPECT_EQ(job.Layers.CurrentLayer, 1);
    EXPECT_EQ(job.Layers.Layer(1).Name, "Beschriftungsebene 1");
    EXPECT_EQ(job.Layers.Layer(1).LineCount, 0);
    EXPECT_EQ(job.Layers.Layer(1).DMForm, "9");
    EXPECT_FALSE(job.Layers.Layer(2).Shown);
    EXPECT_TRUE(job.BlankDefinition.empty());
    EXPECT_EQ(job.D3Zrotation, -30);
}

// Random bytes, keyword-rich noise and truncated files: the reader never crashes, keeps its
// limits, and what it read writes out as a file that reads back to the same text.
TEST(TemplateFile, RandomAndTruncatedInputGivesABoundedJobThatRoundTrips) {
    std::mt19937 random(16022);
    const std::string valid = VorlageText(exampleJob());
    const char* pieces[] = {"LAYER ", "DATA",    "/",      "SIZE ", "DMFORM ", "DMENC ",
                            "HIDE",   "XMIRROR", "BLANK ", "3DZ ",  "3DX1 ",   "1e9999",
                            "-0",     "\r",      "\n",     "\r\n",  "\0",      "\xFF"};
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        if (round % 3 == 0) {
            bytes = valid.substr(0, random() % (valid.size() + 1));
        } else if (round % 3 == 1) {
            const auto length = random() % 400;
            for (std::size_t i = 0; i < length; ++i) {
                bytes += static_cast<char>(random() % 256);
            }
        } else {
            for (int i = 0; i < 200; ++i) {
                const char* piece = pieces[random() % std::size(pieces)];
                bytes.append(piece, piece[0] == '\0' ? 1 : std::strlen(piece));
                if (random() % 2 != 0) {
                    bytes += static_cast<char>(' ' + random() % 95);
                }
            }
        }
        TLoadReport report;
        const TJob job = read(bytes, &report);
        ASSERT_GE(job.Layers.LayerCount, 1);
        ASSERT_LE(job.Layers.LayerCount, MaxLayers);
        ASSERT_EQ(job.Layers.CurrentLayer, 1);
        for (int n = 1; n <= job.Layers.LayerCount; ++n) {
            ASSERT_LE(job.Layers.Layer(n).LineCount, MaxLayerLines);
        }
        const std::string text = VorlageText(job);
        ASSERT_EQ(VorlageText(read(text)), text) << "round " << round;
    }
}

} // namespace
