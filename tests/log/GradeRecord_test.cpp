#include "log/GradeRecord.h"
#include "log/LoggedWrite.h"
#include "log/MarkingLog.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace fs = std::filesystem;
using namespace korvex::log;

// Each program's record keeps its predicted grade; a program without one keeps an empty text,
// and a log of the previous schema takes the column on its next opening.
TEST(GradeRecord, RecordsKeepThePredictedGradeOfTheirProgram) {
    TempFolder temp;
    const fs::path file = temp / LogFileName;
    struct Row {
        const char* text;
        const char* grade;
    };
    const Row rows[] = {{"SN-1", "A, AS9132 passes, reads"}, {"SN-2", ""}};
    {
        TMarkingLog log{file};
        for (const Row& row : rows) {
            TMarkRecord record;
            record.Text = row.text;
            record.ContentKind = "TEXT";
            record.Output = temp / (std::string(row.text) + ".nc");
            record.Grade = row.grade;
            ASSERT_TRUE(WriteLogged(log, record, "G0 X0\r\n", true).Written);
        }
    }
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(StoredGrade(db, 1), "A, AS9132 passes, reads");
    EXPECT_EQ(StoredGrade(db, 2), "");
    sqlite3_close(db);
}
