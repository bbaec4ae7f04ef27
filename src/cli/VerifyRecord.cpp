#ifdef KORVEX_VERIFY
#include "cli/VerifyRecord.h"

#include "base/PathText.h"
#include "base/TextNumbers.h"
#include "base/Windows1252.h"
#include "cli/Commands.h"
#include "cli/GenerateLog.h"
#include "config/ConfigFolder.h"
#include "job/VerifiedMark.h"
#include "log/MarkingLog.h"

namespace korvex::cli {

namespace {

std::optional<std::filesystem::path> logOf(const std::optional<std::string>& configOption) {
    std::filesystem::path folder;
    if (configOption) {
        folder = base::Utf8Path(*configOption);
    } else {
        const config::TConfigFolder found = config::DefaultConfigFolder();
        if (!found.message.empty()) return std::nullopt;
        folder = found.folder;
    }
    return log::LogFileFor(folder);
}

} // namespace

int ReportMarkedRecord(const std::optional<std::string>& configOption,
                       const verify::TVerifyReport& report, const std::filesystem::path& photo,
                       bool record, const config::TLanguageTexts& texts, std::ostream& out,
                       std::ostream& err) {
    const auto say = [&](std::ostream& to, const std::string& line) {
        to << base::Windows1252ToUtf8(line) << '\n';
    };
    const std::optional<std::filesystem::path> file = logOf(configOption);
    if (!file) {
        say(record ? err : out, texts.Text(text::VerifyLogOff));
        return record ? ExitFailure : ExitOk;
    }
    // Only looking: a log never written holds no record, and one that cannot be read does not
    // spoil the photo's report.
    std::error_code ec;
    if (!record && !log::IsServerLog(*file) && !std::filesystem::exists(*file, ec)) {
        say(out, texts.Text(text::VerifyNotInLog));
        return ExitOk;
    }
    try {
        const auto access =
            record ? log::TMarkingLog::TAccess::Write : log::TMarkingLog::TAccess::Read;
        log::TMarkingLog markingLog(*file, access, WaitNotice(*file, texts, err));
        const std::optional<log::TMarkRecord> found =
            job::MarkedRecord(markingLog, report.Bytes, report.ContentKind);
        if (!found) {
            say(out, texts.Text(text::VerifyNotInLog));
            if (!record) return ExitOk;
            say(err, texts.Text(text::VerifyRecordNeedsRecord));
            return ExitFailure;
        }
        say(out, texts.Format(text::VerifyLogRecord, std::to_string(found->Id),
                              found->Serial ? std::to_string(*found->Serial) : "-",
                              found->TimeLocal, base::PathText(found->Output)));
        if (!record) return ExitOk;
        log::TVerification verification;
        verification.Grade = std::string(1, grade::GradeLetter(report.Overall()));
        verification.As9132Pass = report.As9132.Pass();
        verification.DotSize = report.As9132.DotMean / 100;
        verification.Photo = photo;
        if (!job::RecordVerification(markingLog, *found, verification)) {
            say(err, texts.Format(text::PhotoMissing, base::PathText(photo)));
            return ExitFailure;
        }
        say(out, texts.Format(text::VerifyRecorded, std::to_string(found->Id)));
        say(out,
            job::VerificationBesidePrediction(markingLog.PredictedGrade(found->Id), verification));
    } catch (const log::ELogError& e) {
        PrintLogError(e, texts, err);
        return record ? ExitFailure : ExitOk;
    }
    return ExitOk;
}

} // namespace korvex::cli
#endif
