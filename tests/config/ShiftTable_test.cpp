#include "config/IniFile.h"
#include "config/SettingsFile.h"
#include "config/ShiftTable.h"

#include "base/TextNumbers.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace korvex;

namespace {

TEST(ShiftTable, EachBadEntryIsNamedWithItsKey) {
    struct Row {
        std::vector<std::string> entries;
        base::TTextMessage problem;
    };
    const Row rows[] = {
        {{"Fr\xFCh 06:00", "Sp\xE4t 14:00", "Nacht 22:00"}, {}},
        {{"Fr\xFCh 06:00", "14:00"}, {text::ShiftWithoutName, 0, {}, {"Schicht2"}}},
        {{"Fr\xFCh 6:00"}, {text::ShiftBadStart, 0, {}, {"Schicht1", "Fr\xFCh 6:00"}}},
        {{"Fr\xFCh 24:00"}, {text::ShiftBadStart, 0, {}, {"Schicht1", "Fr\xFCh 24:00"}}},
        {{"Fr\xFCh"}, {text::ShiftWithoutName, 0, {}, {"Schicht1"}}},
        {{"A 06:00", "B 06:00"}, {text::ShiftSameStart, 0, {}, {"Schicht2", "06:00"}}},
        {{"{n} 06:00"}, {text::ShiftBraceInName, 0, {}, {"Schicht1", "{n}"}}},
    };
    for (const Row& row : rows) {
        std::vector<ncgen::TShift> shifts;
        EXPECT_EQ(config::ReadShifts(row.entries, shifts), row.problem) << row.entries.back();
    }
    std::vector<ncgen::TShift> shifts;
    config::ReadShifts({"Sp\xE4t Schicht 14:00"}, shifts);
    EXPECT_EQ(shifts, (std::vector<ncgen::TShift>{{"Sp\xE4t Schicht", 840}}))
        << "names may hold blanks";
}

// An older main.ini has no shifts and gets none on saving; one taken out is gone on loading.
TEST(ShiftTable, SettingsKeepTheTableAndOlderFilesStayWithout) {
    TempFolder dir;
    config::TSettings s;
    ncgen::TProfileTable profiles{};
    config::SaveSettings(dir.path(), s, profiles);
    {
        // Closed before the next save: Windows cannot replace a file that is still open.
        std::ifstream main(dir / "main.ini");
        const std::string saved((std::istreambuf_iterator<char>(main)), {});
        EXPECT_EQ(saved.find("Schicht"), std::string::npos) << saved;
    }

    s.Shifts = {"Fr\xFCh 06:00", "Sp\xE4t 14:00", "Nacht 22:00"};
    config::SaveSettings(dir.path(), s, profiles);
    EXPECT_EQ(config::TIniFile(dir / "main.ini", "Schichten").ReadString("Schicht3"),
              "Nacht 22:00");
    s.Shifts.pop_back();
    config::SaveSettings(dir.path(), s, profiles);
    config::TSettings loaded;
    config::LoadSettings(dir.path(), loaded, profiles);
    EXPECT_EQ(loaded.Shifts, s.Shifts);
    std::vector<ncgen::TShift> shifts;
    EXPECT_TRUE(config::LoadShiftTable(dir.path(), shifts).Empty());
    EXPECT_EQ(shifts.size(), 2u);
}

} // namespace
