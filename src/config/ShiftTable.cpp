#include "config/ShiftTable.h"

#include "base/TextNumbers.h"
#include "config/IniFile.h"
#include "config/ConfigFolder.h"

namespace korvex::config {

namespace {

std::string clockText(int minutes) {
    const auto two = [](int v) { return std::string{char('0' + v / 10), char('0' + v % 10)}; };
    return two(minutes / 60) + ":" + two(minutes % 60);
}

} // namespace

std::string ShiftKey(std::size_t number) {
    return "Schicht" + std::to_string(number);
}

base::TTextMessage ReadShifts(const std::vector<std::string>& entries,
                              std::vector<ncgen::TShift>& shifts) {
    shifts.clear();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string key = ShiftKey(i + 1);
        const ncgen::TShiftEntry read = ncgen::ReadShiftEntry(entries[i]);
        switch (read.Problem) {
        case ncgen::TShiftProblem::NoName:
            return {text::ShiftWithoutName, 0, {}, {key}};
        case ncgen::TShiftProblem::BraceInName:
            return {text::ShiftBraceInName, 0, {}, {key, read.Shift.Name}};
        case ncgen::TShiftProblem::BadStart:
            return {text::ShiftBadStart, 0, {}, {key, entries[i]}};
        case ncgen::TShiftProblem::None:
            break;
        }
        for (const ncgen::TShift& earlier : shifts)
            if (earlier.Start == read.Shift.Start)
                return {text::ShiftSameStart, 0, {}, {key, clockText(earlier.Start)}};
        shifts.push_back(read.Shift);
    }
    return {};
}

std::vector<std::string> LoadShiftEntries(const std::filesystem::path& folder) {
    const TIniReading ini(SettingsFile(folder, "main"), ShiftSection);
    std::vector<std::string> entries;
    for (std::size_t k = 1; k <= MaxShifts; ++k) {
        std::string entry = ini.ReadString(ShiftKey(k));
        if (entry.empty()) break;
        entries.push_back(std::move(entry));
    }
    return entries;
}

base::TTextMessage LoadShiftTable(const std::filesystem::path& folder,
                                  std::vector<ncgen::TShift>& shifts) {
    return ReadShifts(LoadShiftEntries(folder), shifts);
}

} // namespace korvex::config
