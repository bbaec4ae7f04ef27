// The layer line that lets a job's rectangle grow into a DMRE size, and what the job then says.

#include "ncgen/NCGenerateCommand.h"
#include "ncgen/TemplateFile.h"

#include "base/TextNumbers.h"

#include <gtest/gtest.h>

using namespace korvex::ncgen;
namespace dm = korvex::datamatrix;

namespace {

TJob readJob(std::string_view bytes) {
    TJob job;
    TLoadReport report;
    ReadVorlage(bytes, job, report, {3, 5, "Ebene 1"});
    return job;
}

TEST(DmreLayer, LineIsReadWrittenOnlyWhenSetAndOlderFilesStayAsTheyWere) {
    const std::string older = "LAYER A\r\nSHOW\r\nSIZE 0.5\r\nDMFORM 25\r\nDMENC 0\r\nANGLE 0\r\n"
                              "XDIS 0\r\nYDIS 0\r\nDATA\r\n/x\r\nBLANK \r\n";
    const TJob plain = readJob(older);
    EXPECT_FALSE(plain.Layers.Layer(1).Dmre);
    EXPECT_EQ(VorlageText(plain).find("DMRE"), std::string::npos);

    std::string allowing = older;
    allowing.insert(allowing.find("ANGLE"), "DMRE 1\r\n");
    const TJob job = readJob(allowing);
    EXPECT_TRUE(job.Layers.Layer(1).Dmre);
    EXPECT_EQ(VorlageText(job).substr(0, allowing.find("XDIS")),
              allowing.substr(0, allowing.find("XDIS")));
    for (const char* value : {"DMRE 0\r\n", "DMRE yes\r\n"}) {
        std::string other = older;
        other.insert(other.find("ANGLE"), value);
        EXPECT_FALSE(readJob(other).Layers.Layer(1).Dmre) << value;
    }
}

TEST(DmreLayer, AllowedRectangleGrowsAlongTheShaftAndWarnsOfOlderReaders) {
    struct Row {
        bool allow;
        dm::TFormat expected;
        bool warned;
    };
    for (const Row row :
         {Row{false, dm::C16X16, false}, Row{true, dm::C8X32, false}, Row{true, dm::C8X64, true}}) {
        TLayerTable layers;
        layers.AddLayer("Ebene 1", 0, 0);
        TGenerateFields fields;
        fields.Layer = layers.SelectLayer(1).Fields;
        fields.Layer.EText = {row.expected == dm::C8X64 ? std::string(40, '4')
                                                        : std::string(20, '4')};
        fields.Layer.CurrentSymbolSize = dm::C8X18;
        fields.Layer.Dmre = row.allow;
        TActiveProfile profile;
        profile.FirstPoint[0] = "G0 X[#XVAL] Y[#YVAL]";
        profile.FollowingPoints = profile.FirstPoint;
        profile.SafetyDistance = "2";
        profile.InfeedDepth = "-0.1";
        fields.REbeneauswahl = profile.SafetyDistance;
        fields.ZEbeneauswahl = profile.InfeedDepth;
        const TGenerateCommandResult result = GenerateCommand(layers, fields, profile, "Eigen");
        ASSERT_EQ(result.Outcome, TGenerateOutcome::Generated);
        EXPECT_EQ(dm::FormatName(result.CalculatedFormat), dm::FormatName(row.expected));
        int warnings = 0;
        for (const auto& warning : result.ContentWarnings) {
            if (warning.Text != korvex::text::DmreOlderReaders) continue;
            ++warnings;
            EXPECT_EQ(warning.Values, std::vector<std::string>{"C8X64"});
        }
        EXPECT_EQ(warnings, row.warned ? 1 : 0) << dm::FormatName(row.expected);
        EXPECT_EQ(layers.Layer(1).Dmre, row.allow) << "stored with the layer";
    }
}

} // namespace
