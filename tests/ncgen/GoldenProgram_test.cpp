#include "ncgen/GenerateLayer.h"
#include "ncgen/ProfileSelection.h"

#include "TestMatrix.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

using namespace korvex::ncgen;

namespace {

// Whole NC programs of the "123456" symbol through four templates, compared as text with the
// files in tests/data/ncgen. KORVEX_UPDATE_GOLDEN=1 rewrites the files (review the diff!).
struct TGolden {
    const char* file;
    TOutputProfile profile;
    TLayer layer;
    const char* r;
    const char* z;
};

TOutputProfile dinMilling() {
    TOutputProfile p;
    p.Name = "DIN/ISO Fraesen";
    p.Satznum = true;
    p.Satzzeichen = "N";
    p.Start = "10";
    p.Schritt = "10";
    p.Dezipunkt = true;
    p.Nachkommastellen = "3";
    p.Stellen = "3";
    p.VorschubZ = "50";
    p.FirstPoint = {"%",           "(DATAMATRIX)",         "G90 G17 G40",
                    "G0 Z[#RVAL]", "G0 X[#XVAL] Y[#YVAL]", "G1 Z[#ZVAL] F[#FVAL]",
                    "G0 Z[#RVAL]"};
    p.FollowingPoints = {"G0 X[#XVAL] Y[#YVAL]", "", "G1 Z[#ZVAL]", "G0 Z[#RVAL]"};
    p.End = {"G0 Z50", "-/ unnumbered", "M30"};
    return p;
}

TOutputProfile conversational() {
    TOutputProfile p;
    p.Name = "Klartext";
    p.Satznum = true;
    p.Satzzeichen = "";
    p.Start = "1";
    p.Schritt = "1";
    p.Dezipunkt = true;
    p.NNullen = true;
    p.Vorzeichen = true;
    p.Nachkommastellen = "3";
    p.REbene = "Q200";
    p.ZEbene = "Q201";
    p.VorschubZ = "FMAX";
    p.FirstPoint = {"BEGIN PGM DM MM", "CYCL DEF 200 BOHREN Q200=+2 Q201=-0.1",
                    "L Z+[#RVAL] R0 [#FVAL]", "L X[#XVAL] Y[#YVAL] R0 [#FVAL] M99"};
    p.FollowingPoints = {"L X[#XVAL] Y[#YVAL] R0 [#FVAL] M99"};
    p.End = {"L Z+100 R0 FMAX M30", "END PGM DM MM"};
    return p;
}

TOutputProfile lathe() {
    TOutputProfile p;
    p.Name = "Drehen";
    p.Dezipunkt = false;
    p.NNullen = true;
    p.VNullen = true;
    p.Stellen = "6";
    p.Nachkommastellen = "3";
    p.Y = "Z";
    p.J = "K";
    p.X = "X";
    p.Z = "Y";
    p.VorschubZ = "F0.1";
    p.FirstPoint = {"G18", "G0 [#XAXIS][#XVAL] [#YAXIS][#YVAL]", "G1 [#ZAXIS][#ZVAL] [#FVAL]",
                    "G0 [#ZAXIS][#RVAL]"};
    p.FollowingPoints = {"G0 [#XAXIS][#XVAL] [#YAXIS][#YVAL]", "G1 [#ZAXIS][#ZVAL] [#FVAL]",
                         "G0 [#ZAXIS][#RVAL]"};
    p.End = {"M30"};
    return p;
}

TOutputProfile drillingCycle() {
    TOutputProfile p;
    p.Name = "Zyklus";
    p.Satznum = true;
    p.Satzzeichen = "N";
    p.Start = "100";
    p.Schritt = "2";
    p.Dezipunkt = true;
    p.NCpunkt = true;
    p.Nachkommastellen = "2";
    p.VorschubZ = "F[#ZVAL]0";
    p.FirstPoint = {"G81 X[#XVAL] Y[#YVAL] Z[#ZVAL] R[#RVAL] [#FVAL]", "([#XVAL] [#XVAL] [#XVAL])"};
    p.FollowingPoints = {"X[#XVAL] Y[#YVAL]"};
    p.End = {"G80", "-M30"};
    return p;
}

TLayer placed(const char* angle, bool xMirror, bool yMirror, const char* xDis, const char* yDis) {
    TLayer layer;
    layer.Size = "0.5";
    layer.Angle = angle;
    layer.XMirror = xMirror;
    layer.YMirror = yMirror;
    layer.XDis = xDis;
    layer.YDis = yDis;
    return layer;
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class GoldenProgram : public ::testing::TestWithParam<TGolden> {};

TEST_P(GoldenProgram, MatchesTheStoredProgramLineForLine) {
    const TGolden& golden = GetParam();
    const TActiveProfile active = ActivateProfile(golden.profile);
    const auto matrix = test::symbol123456();
    TGenerateOutput output;
    GenerateLayer({golden.layer, matrix, 10, 10, active, golden.r, golden.z, false, {}}, output);
    std::string text;
    for (const std::string& line : output.NCLines) {
        text += line + "\n";
    }
    const std::string path = std::string(KORVEX_TEST_DATA_DIR) + "/ncgen/" + golden.file;
    if (std::getenv("KORVEX_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(path, std::ios::binary) << text;
    }
    EXPECT_EQ(text, readFile(path)) << path;
}

INSTANTIATE_TEST_SUITE_P(
    FourTemplates, GoldenProgram,
    ::testing::Values(
        TGolden{"din_milling.nc", dinMilling(), placed("30", false, false, "10", "5"), "2", "-0.1"},
        TGolden{"conversational.nc", conversational(), placed("0", true, true, "-2.5", "0"), "Q200",
                "Q201"},
        TGolden{"lathe.nc", lathe(), placed("90", false, true, "3", "-1"), "1", "-0.05"},
        TGolden{"three_placeholders.nc", drillingCycle(), placed("315", true, false, "0", "20"),
                "1.5", "-0.2"}),
    [](const auto& golden) {
        std::string name = golden.param.file;
        return name.substr(0, name.find('.'));
    });

} // namespace
