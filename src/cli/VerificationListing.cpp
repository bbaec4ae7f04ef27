#include "cli/VerificationListing.h"

#include "base/PathText.h"
#include "base/Windows1252.h"
#include "job/VerifiedMark.h"

#include <algorithm>
#include <string>

namespace korvex::cli {

void PrintVerifications(const log::TMarkingLog& markingLog,
                        const std::vector<log::TMarkRecord>& records, std::ostream& out) {
    bool first = true;
    for (const log::TMarkRecord& record : records) {
        for (const log::TVerification& v : markingLog.VerificationsOf(record.Id)) {
            if (first) out << "\nverified from photos:\n";
            first = false;
            std::string line =
                "  " + std::to_string(record.Id) + " " + record.Text + ": " + v.TimeUtc + " " +
                v.Who + ", " +
                job::VerificationBesidePrediction(markingLog.PredictedGrade(record.Id), v) + " (" +
                base::PathText(v.Photo) + ")";
            out << base::Windows1252ToUtf8(line) << '\n';
        }
    }
}

std::vector<log::TMarkRecord> OnlyUnverified(const log::TMarkingLog& markingLog,
                                             std::vector<log::TMarkRecord> records) {
    std::vector<std::int64_t> ids;
    for (const log::TMarkRecord& r : markingLog.Unverified())
        ids.push_back(r.Id);
    std::erase_if(records, [&](const log::TMarkRecord& r) {
        return !std::binary_search(ids.begin(), ids.end(), r.Id);
    });
    return records;
}

} // namespace korvex::cli
