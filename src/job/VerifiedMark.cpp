#include "job/VerifiedMark.h"

#include "log/Sha256.h"

#include <fstream>

namespace korvex::job {

std::optional<log::TMarkRecord> MarkedRecord(const log::TMarkingLog& log, std::string_view bytes,
                                             std::string_view contentKind) {
    return log.FindContent(bytes, contentKind);
}

bool RecordVerification(log::TMarkingLog& log, const log::TMarkRecord& record,
                        log::TVerification& verification) {
    std::ifstream in(verification.Photo, std::ios::binary);
    if (!in) return false;
    log::TSha256 hash;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        hash.Add(std::string_view(buffer, static_cast<std::size_t>(in.gcount())));
    if (in.bad()) return false;
    verification.PhotoSha256 = hash.HexDigest();
    verification.Photo = std::filesystem::absolute(verification.Photo);
    verification.Mark = record.Id;
    log.AddVerification(verification);
    return true;
}

std::string VerificationBesidePrediction(const std::string& predicted,
                                         const log::TVerification& verification) {
    std::string line = "measured " + log::DescribeVerification(verification);
    if (!predicted.empty()) line = "predicted " + predicted + "; " + line;
    return line;
}

} // namespace korvex::job
