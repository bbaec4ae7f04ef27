#include "config/SettingsFile.h"

#include "config/ConfigFolder.h"
#include "config/IniFile.h"
#include "config/ShiftTable.h"
#include "datamatrix/TEncoding.h"
#include "datamatrix/TFormat.h"

#include <algorithm>
#include <string>

namespace korvex::config {

namespace {

TIniFile profileFile(const std::filesystem::path& folder, int number) {
    return TIniFile(SettingsFile(folder, "profil" + std::to_string(number)), "set");
}

std::string lineKey(const char* prefix, int line) {
    return prefix + std::to_string(line);
}

// An 8-bit list index as stored; anything outside the list is its first entry.
std::uint8_t listIndex(std::int32_t stored, int count) {
    return stored >= 0 && stored < count ? static_cast<std::uint8_t>(stored) : 0;
}

} // namespace

ncgen::TOutputProfile LoadProfile(const std::filesystem::path& folder, int number) {
    return LoadProfileFile(SettingsFile(folder, "profil" + std::to_string(number)));
}

ncgen::TOutputProfile LoadProfileFile(const std::filesystem::path& file) {
    const TIniReading ini(file, "set");
    ncgen::TOutputProfile p;
    p.Name = ini.ReadString("Profil");
    for (int j = 1; j <= ncgen::TemplateLineCount; ++j) {
        p.FirstPoint[j - 1] = ini.ReadString(lineKey("SynS", j));
        p.FollowingPoints[j - 1] = ini.ReadString(lineKey("Syn", j));
        p.End[j - 1] = ini.ReadString(lineKey("SynE", j));
    }
    p.Suffix = ini.ReadString("Suffix");
    p.REbene = ini.ReadString("REbene");
    p.ZEbene = ini.ReadString("ZEbene");
    p.VorschubZ = ini.ReadString("VorschubZ");
    p.VorschubXY = ini.ReadString("VorschubXY");
    p.Komstart = ini.ReadString("Komstart");
    p.Komende = ini.ReadString("Komende");
    p.Stellen = ini.ReadString("Stellen");
    p.Nachkommastellen = ini.ReadString("Nachkommastellen");
    p.Dezipunkt = ini.ReadBool("Dezipunkt");
    p.NCpunkt = ini.ReadBool("NCpunkt");
    p.VNullen = ini.ReadBool("VNullen");
    p.NNullen = ini.ReadBool("NNullen");
    p.Vorzeichen = ini.ReadBool("Vorzeichen");
    p.Satznum = ini.ReadBool("Satznum");
    p.Satzzeichen = ini.ReadString("Satzzeichen");
    p.Schritt = ini.ReadString("Schritt");
    p.Start = ini.ReadString("Start");
    p.X = ini.ReadString("X");
    p.Y = ini.ReadString("Y");
    p.Z = ini.ReadString("Z");
    p.I = ini.ReadString("I");
    p.J = ini.ReadString("J");
    p.R = ini.ReadString("R");
    p.A = ini.ReadString("A");
    p.Tool = {ini.ReadString("WzTyp"), ini.ReadString("WzWinkel"), ini.ReadString("WzSpitze"),
              ini.ReadString("WzRadius")};
    return p;
}

void SaveProfile(const std::filesystem::path& folder, int number, const ncgen::TOutputProfile& p) {
    TIniBatch ini(SettingsFile(folder, "profil" + std::to_string(number)), "set");
    ini.WriteString("Profil", p.Name);
    ini.WriteString("REbene", p.REbene);
    ini.WriteString("ZEbene", p.ZEbene);
    ini.WriteString("VorschubZ", p.VorschubZ);
    ini.WriteString("VorschubXY", p.VorschubXY);
    for (int j = 1; j <= ncgen::TemplateLineCount; ++j) {
        ini.WriteString(lineKey("SynS", j), p.FirstPoint[j - 1]);
        ini.WriteString(lineKey("Syn", j), p.FollowingPoints[j - 1]);
        ini.WriteString(lineKey("SynE", j), p.End[j - 1]);
    }
    ini.WriteString("Suffix", p.Suffix);
    ini.WriteString("Komstart", p.Komstart);
    ini.WriteString("Komende", p.Komende);
    ini.WriteString("Stellen", p.Stellen);
    ini.WriteString("Nachkommastellen", p.Nachkommastellen);
    ini.WriteBool("Dezipunkt", p.Dezipunkt);
    ini.WriteBool("NCpunkt", p.NCpunkt);
    ini.WriteBool("VNullen", p.VNullen);
    ini.WriteBool("NNullen", p.NNullen);
    ini.WriteBool("Vorzeichen", p.Vorzeichen);
    ini.WriteBool("Satznum", p.Satznum);
    ini.WriteString("Satzzeichen", p.Satzzeichen);
    ini.WriteString("Schritt", p.Schritt);
    ini.WriteString("Start", p.Start);
    ini.WriteString("X", p.X);
    ini.WriteString("Y", p.Y);
    ini.WriteString("Z", p.Z);
    ini.WriteString("I", p.I);
    ini.WriteString("J", p.J);
    ini.WriteString("R", p.R);
    // Only a profile that names a rotary axis gets the key the delivered files lack.
    if (!p.A.empty()) ini.WriteString("A", p.A);
    // A profile that never had a tool keeps the keys its older files have, and no others.
    const ncgen::TToolTexts& tool = p.Tool;
    if (!tool.Kind.empty() || !tool.Angle.empty() || !tool.Tip.empty() || !tool.Radius.empty()) {
        ini.WriteString("WzTyp", tool.Kind);
        ini.WriteString("WzWinkel", tool.Angle);
        ini.WriteString("WzSpitze", tool.Tip);
        ini.WriteString("WzRadius", tool.Radius);
    }
    ini.Commit();
}

std::vector<std::string> LoadSettings(const std::filesystem::path& folder, TSettings& s,
                                      ncgen::TProfileTable& profiles) {
    std::vector<std::string> problems;
    for (int p = 1; p <= ncgen::ProfileCount; ++p) {
        profiles[p - 1] = LoadProfile(folder, p);
        if (auto problem = profileFile(folder, p).ReadProblem(); !problem.empty())
            problems.push_back(std::move(problem));
    }

    TIniFile ini(SettingsFile(folder, "main"), "path");
    if (auto problem = ini.ReadProblem(); !problem.empty()) problems.push_back(std::move(problem));
    s.NcFolder = ini.ReadString("nc");
    s.TemplateFolder = ini.ReadString("vo");
    s.FontFolder = ini.ReadString("sl");

    ini.SetSection("set");
    s.DotSpacing = ini.ReadString("Aufloesung");
    const std::int32_t profile = ini.ReadInteger("Profil");
    if (profile >= 1 && profile <= ncgen::ProfileCount) s.DefaultProfile = profile;

    // Setting a radio button down releases the others; a false flag releases nothing.
    constexpr std::pair<const char*, TGraphicView> VIEWS[] = {{"XY", TGraphicView::XY},
                                                              {"XZ", TGraphicView::XZ},
                                                              {"YZ", TGraphicView::YZ},
                                                              {"XYZ", TGraphicView::XYZ}};
    for (const auto& [key, view] : VIEWS)
        if (ini.ReadBool(key)) s.View = view;
    s.ShowRapidMoves = ini.ReadBool("G0");
    s.ShowAxes = ini.ReadBool("AXIS");

    const auto colour = [&ini](const char* key) {
        return static_cast<TColor>(ini.ReadInteger(key));
    };
    s.Background = colour("HG");
    s.Axes = colour("Achsen");
    s.Feed = colour("Vorschub");
    s.AFeed = colour("AVorschub");
    s.Rapid = colour("Eilgang");
    s.Blank = colour("Rohteil");

    s.DefaultSymbolSize = listIndex(ini.ReadInteger("DMFormat"), datamatrix::FORMAT_COUNT);
    s.DefaultEncodation = listIndex(ini.ReadInteger("DMEncode"), datamatrix::ENCODING_COUNT);
    const std::int32_t language = ini.ReadInteger("lang");
    s.Language = language >= 1 && language <= 4 ? language : 1;
    s.RapidRate = ini.ReadString("Eilgangrate");
    ini.SetSection(LogSection);
    s.MarkingLog = ini.ReadString(LogSwitchKey) != "0";
    s.GradeEveryProgram = ini.ReadString(LogGradeKey) == "1";
    s.LogDatabase = ini.ReadString(LogDatabaseKey);
    ini.SetSection("set");
    s.Shifts = LoadShiftEntries(folder);

    s.CurrentSymbolSize = listIndex(ini.ReadInteger("DMFormat"), datamatrix::FORMAT_COUNT);
    s.CurrentEncodation = listIndex(ini.ReadInteger("DMEncode"), datamatrix::ENCODING_COUNT);
    return problems;
}

void SaveSettings(const std::filesystem::path& folder, TSettings& s,
                  ncgen::TProfileTable& profiles) {
    for (int p = 1; p <= ncgen::ProfileCount; ++p)
        SaveProfile(folder, p, profiles[p - 1]);

    TIniBatch ini(SettingsFile(folder, "main"), "path");
    ini.WriteString("nc", s.NcFolder);
    ini.WriteString("vo", s.TemplateFolder);

    ini.SetSection("set");
    const auto colour = [&ini](const char* key, TColor c) {
        ini.WriteInteger(key, static_cast<std::int32_t>(c));
    };
    colour("HG", s.Background);
    colour("Achsen", s.Axes);
    colour("Vorschub", s.Feed);
    colour("AVorschub", s.AFeed);
    colour("Eilgang", s.Rapid);
    colour("Rohteil", s.Blank);
    ini.WriteString("Aufloesung", s.DotSpacing);
    ini.WriteInteger("DMFormat", s.DefaultSymbolSize);
    ini.WriteInteger("DMEncode", s.DefaultEncodation);
    ini.WriteBool("XY", s.View == TGraphicView::XY);
    ini.WriteBool("XZ", s.View == TGraphicView::XZ);
    ini.WriteBool("YZ", s.View == TGraphicView::YZ);
    ini.WriteBool("XYZ", s.View == TGraphicView::XYZ);
    ini.WriteBool("G0", s.ShowRapidMoves);
    ini.WriteBool("AXIS", s.ShowAxes);
    ini.WriteInteger("Profil", s.DefaultProfile);
    ini.WriteInteger("lang", s.Language);
    // Written once someone set it, so a file from an older version keeps only the keys it had.
    if (!s.RapidRate.empty()) ini.WriteString("Eilgangrate", s.RapidRate);
    // Likewise: a file that never switched the log keeps no key for it.
    if (!s.MarkingLog ||
        !TIniFile(SettingsFile(folder, "main"), LogSection).ReadString(LogSwitchKey).empty()) {
        ini.SetSection(LogSection);
        ini.WriteString(LogSwitchKey, s.MarkingLog ? "1" : "0");
    }
    if (!s.LogDatabase.empty() ||
        !TIniFile(SettingsFile(folder, "main"), LogSection).ReadString(LogDatabaseKey).empty()) {
        ini.SetSection(LogSection);
        ini.WriteString(LogDatabaseKey, s.LogDatabase);
    }
    // A file without shifts gets no section; a shift taken out leaves its key empty, which
    // ends the table there.
    const std::size_t stored = LoadShiftEntries(folder).size();
    if (!s.Shifts.empty() || stored > 0) ini.SetSection(ShiftSection);
    for (std::size_t k = 0; k < std::max(s.Shifts.size(), stored) && k < MaxShifts; ++k)
        ini.WriteString(ShiftKey(k + 1), k < s.Shifts.size() ? s.Shifts[k] : std::string());
    ini.Commit();

    LoadSettings(folder, s, profiles);
}

} // namespace korvex::config
