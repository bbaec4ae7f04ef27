#pragma once

#include "ncgen/NCFormat.h"
#include "ncgen/Tool.h"

#include <array>
#include <string>

namespace korvex::ncgen {

inline constexpr int TemplateLineCount = 20;
inline constexpr int ProfileCount = 4;
using TTemplate = std::array<std::string, TemplateLineCount>; // lines 1-20 at index 0-19

// One stored output profile, exactly as the profile file holds it: texts and flags.
struct TOutputProfile {
    std::string Name;          // "Profil"
    TTemplate FirstPoint;      // "SynS1".."SynS20"
    TTemplate FollowingPoints; // "Syn1".."Syn20"
    TTemplate End;             // "SynE1".."SynE20"
    std::string Suffix;
    std::string REbene;
    std::string ZEbene;
    std::string VorschubZ;
    std::string VorschubXY;
    std::string Komstart;
    std::string Komende;
    std::string Stellen;
    std::string Nachkommastellen;
    bool Dezipunkt = false;
    bool NCpunkt = false;
    bool VNullen = false;
    bool NNullen = false;
    bool Vorzeichen = false;
    bool Satznum = false;
    std::string Satzzeichen;
    std::string Schritt;
    std::string Start;
    std::string X, Y, Z, I, J, R; // address letters
    std::string A;                // "A": the rotary axis's letter ([#AAXIS])
    TToolTexts Tool;              // "WzTyp", "WzWinkel", "WzSpitze", "WzRadius"
    bool operator==(const TOutputProfile&) const = default;
};

// Profiles 1-4 at index 0-3.
using TProfileTable = std::array<TOutputProfile, ProfileCount>;

// What the generator works with after a profile was selected.
struct TActiveProfile {
    TTemplate FirstPoint;
    TTemplate FollowingPoints;
    TTemplate End;
    std::string SafetyDistance; // R text
    std::string InfeedDepth;    // Z text
    std::string FeedZ;          // [#FVAL], verbatim
    std::string Suffix;
    bool BlockNumbering = false;
    TNCFormat Format;
    std::string X = "X", Y = "Y", Z = "Z", I = "I", J = "J", R = "R";
    std::string A = "A";
    TTool Tool;                     // none: every check of the dots is silent
    base::TTextMessage ToolProblem; // why the stored tool could not be used
};

} // namespace korvex::ncgen
