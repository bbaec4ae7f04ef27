#include "job/VerifiedMark.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace korvex;

namespace {

// The photo found again by its bytes: the hash is the file's SHA-256 (FIPS 180-2's "abc"), the
// record the earliest of the decoded content, and the prediction stands beside the measurement.
TEST(VerifiedMark, KeptWithTheEarliestRecordOfTheContentAndThePhotosHash) {
    TempFolder temp;
    log::TMarkingLog markingLog(temp / "log.sqlite");
    std::vector<log::TMarkRecord> records(2);
    for (log::TMarkRecord& r : records) {
        r.Text = "SN 4711";
        r.ContentKind = "TEXT";
        r.Grade = "A, AS9132 passes, reads, dots 80 %";
    }
    records[0].Output = temp / "first.nc";
    records[1].Output = temp / "again.nc";
    markingLog.BeginWrites(records, false);
    markingLog.FinishWrites({records[0].Id, records[1].Id});

    EXPECT_FALSE(job::MarkedRecord(markingLog, "SN 4712", "TEXT"));
    EXPECT_FALSE(job::MarkedRecord(markingLog, "SN 4711", "GS1"));
    const auto found = job::MarkedRecord(markingLog, "SN 4711", "TEXT");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->Id, records[0].Id);

    writeBytes(temp / "photo.png", "abc");
    log::TVerification v;
    v.Grade = "B";
    v.As9132Pass = true;
    v.DotSize = 0.74;
    v.Photo = temp / "photo.png";
    ASSERT_TRUE(job::RecordVerification(markingLog, *found, v));
    const auto kept = markingLog.VerificationsOf(records[0].Id);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].PhotoSha256,
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(job::VerificationBesidePrediction(markingLog.PredictedGrade(found->Id), kept[0]),
              "predicted A, AS9132 passes, reads, dots 80 %; measured B, AS9132 passes, dots 74 %");

    // A photo gone before it is kept: nothing is.
    log::TVerification gone = v;
    gone.Photo = temp / "gone.png";
    EXPECT_FALSE(job::RecordVerification(markingLog, *found, gone));
    EXPECT_EQ(markingLog.VerificationsOf(records[0].Id).size(), 1u);
}

} // namespace
