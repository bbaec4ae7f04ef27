#include "ncgen/ProfileSelection.h"

#include "base/TextNumbers.h"
#include "ncgen/NumberReading.h"

#include <string>

namespace korvex::ncgen {
namespace {

std::string orDefault(const std::string& text, const char* fallback) {
    return text.empty() ? std::string(fallback) : text;
}

} // namespace

std::optional<TProfileSelection> SelectProfile(const TProfileTable& profiles, std::string_view s) {
    int k = 0;
    for (int n = 1; n <= ProfileCount; ++n) {
        const TOutputProfile& profile = profiles[static_cast<std::size_t>(n - 1)];
        if (s == profile.Name || s == std::to_string(n)) {
            k = n;
        }
    }
    if (k == 0) {
        return std::nullopt;
    }
    const TOutputProfile& profile = profiles[static_cast<std::size_t>(k - 1)];
    TProfileSelection selection{k, ActivateProfile(profile), {}, ProfileName(profiles, k)};
    selection.Refusal = CheckNumberFormat(selection.Profile.Format,
                                          profile.Name.empty() ? std::to_string(k) : profile.Name);
    return selection;
}

std::string ProfileName(const TProfileTable& profiles, int number) {
    const std::string& name = profiles[static_cast<std::size_t>(number - 1)].Name;
    return name.empty() ? "profil" + std::to_string(number) + ".ini" : name;
}

base::TTextMessage CheckNumberFormat(const TNCFormat& format, std::string_view profileName) {
    if (CanBeReadBack(format)) {
        return {};
    }
    return {text::UnreadableNumberFormat, 0, std::string(profileName)};
}

TActiveProfile ActivateProfile(const TOutputProfile& profile) {
    TActiveProfile active;
    active.SafetyDistance = profile.REbene;
    active.InfeedDepth = profile.ZEbene;
    active.FeedZ = profile.VorschubZ;
    active.FirstPoint = profile.FirstPoint;
    active.FollowingPoints = profile.FollowingPoints;
    active.End = profile.End;
    active.Suffix = profile.Suffix;
    active.BlockNumbering = profile.Satznum;
    TNCFormat& format = active.Format;
    format.Komstart = profile.Komstart;
    format.Komende = orDefault(profile.Komende, " ");
    format.NCpunkt = profile.NCpunkt;
    format.Dezipunkt = profile.Dezipunkt;
    format.Vorzeichen = profile.Vorzeichen;
    format.VNullen = profile.VNullen;
    format.NNullen = profile.NNullen;
    // Narrowed like the stored 8- and 32-bit fields: higher bits are dropped.
    format.Stellen = static_cast<std::uint8_t>(ReadWholeNumber(profile.Stellen));
    format.Nachkommastellen = static_cast<std::uint8_t>(ReadWholeNumber(profile.Nachkommastellen));
    format.Satzzeichen = profile.Satzzeichen;
    format.Schritt = static_cast<std::int32_t>(ReadWholeNumber(profile.Schritt));
    format.Start = static_cast<std::int32_t>(ReadWholeNumber(profile.Start));
    active.X = orDefault(profile.X, "X");
    active.Y = orDefault(profile.Y, "Y");
    active.Z = orDefault(profile.Z, "Z");
    active.I = orDefault(profile.I, "I");
    active.J = orDefault(profile.J, "J");
    active.R = orDefault(profile.R, "R");
    active.A = orDefault(profile.A, "A");
    TToolReading tool = ReadTool(profile.Tool);
    active.Tool = tool.Tool;
    active.ToolProblem = std::move(tool.Problem);
    return active;
}

} // namespace korvex::ncgen
