#include "cli/Commands.h"
#include "cli/GenerateLog.h"
#include "cli/GeneratePipeline.h"
#include "cli/OptionParser.h"
#include "cli/VerificationListing.h"

#include "base/AtomicFile.h"
#include "base/PathText.h"
#include "base/TextNumbers.h"
#include "base/Windows1252.h"
#include "config/SettingsFile.h"
#include "config/ConfigFolder.h"
#include "log/LogExport.h"
#include "log/LogTransfer.h"
#include "log/LogTexts.h"
#include "log/Sha256.h"
#include "job/LoggedRun.h"

#include <algorithm>
#include <cctype>
#include <ostream>

namespace korvex::cli {

namespace fs = std::filesystem;

namespace {

constexpr const char* LOG_USAGE =
    "usage: korvex-cli log [--config DIR] [--log FILE|URL] [--since DATE] [--until DATE]\n"
    "                      [--text PATTERN] [--format table|csv|json] [--unverified]\n"
    "       korvex-cli log [--config DIR] [--log FILE|URL] --runs\n"
    "       korvex-cli log [--config DIR] [--log FILE|URL] --verify FILE\n"
    "       korvex-cli log [--config DIR] [--log FILE|URL] --export|--import FILE.sqlite\n";

constexpr const char* LOG_HELP =
    "Lists the records of the marking log: every program korvex or korvex-cli wrote to a\n"
    "file from this configuration folder.\n"
    "\n"
    "  --log FILE|URL    this marking log instead of the settings' one: a SQLite file or\n"
    "                    postgresql://user@server/database (no password here: libpq reads\n"
    "                    ~/.pgpass or PGPASSFILE)\n"
    "  --since DATE      records from DATE on (UTC: YYYY-MM-DD, or with Thh[:mm[:ss]])\n"
    "  --until DATE      records up to DATE, the whole of it\n"
    "  --text PATTERN    records whose content holds PATTERN; * and ? match any text and\n"
    "                    any one character\n"
    "  --format F        table (default), csv (with a header line) or json\n"
    "  --unverified      only the records no photo was verified for (by korvex-cli verify\n"
    "                    --record PHOTO); a table lists each verification below the records\n"
    "  --runs            the serial runs: their state and the numbers they left unused\n"
    "                    (never handed out again)\n"
    "  --verify FILE     whether FILE is byte for byte a program the log recorded: exit\n"
    "                    status 0 and the record, or 1 when it changed or was never logged\n"
    "  --export FILE     adds the log's records to the SQLite file FILE (made when missing)\n"
    "                    and moves its counters up to the log's\n"
    "  --import FILE     adds the records of the SQLite file FILE, a station's log, to this\n"
    "                    log and moves its counters up to the file's; a record moved before\n"
    "                    is not added again, and no counter ever moves back\n";

// YYYY-MM-DD, optionally followed by T or a blank and hh, hh:mm or hh:mm:ss; a day and time
// that exist.
bool dateShape(std::string& date) {
    static const std::string shape = "dddd-dd-ddThh:mm:ss";
    const std::size_t n = date.size();
    if (n != 10 && n != 13 && n != 16 && n != 19) return false;
    if (n > 10 && date[10] == ' ') date[10] = 'T';
    for (std::size_t i = 0; i < n; ++i) {
        const char want = shape[i];
        const bool digit = std::isdigit(static_cast<unsigned char>(date[i])) != 0;
        if ((want == 'd' || want == 'h' || want == 'm' || want == 's') ? !digit : date[i] != want)
            return false;
    }
    const auto number = [&](std::size_t at, std::size_t digits) {
        int value = 0;
        for (std::size_t i = at; i < at + digits; ++i)
            value = value * 10 + (date[i] - '0');
        return value;
    };
    const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1 || day > days[month - 1] + (month == 2 && leap ? 1 : 0))
        return false;
    return (n < 13 || number(11, 2) < 24) && (n < 16 || number(14, 2) < 60) &&
           (n < 19 || number(17, 2) < 60);
}

// "4-5, 9" for the numbers 4, 5 and 9.
std::string numberRanges(const std::vector<std::int64_t>& numbers, std::int64_t step) {
    std::string text;
    for (std::size_t i = 0; i < numbers.size();) {
        std::size_t j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + step)
            ++j;
        if (!text.empty()) text += ", ";
        text += std::to_string(numbers[i]);
        if (j > i) text += "-" + std::to_string(numbers[j]);
        i = j + 1;
    }
    return text;
}

std::string stateWords(const config::TLanguageTexts& texts, const std::string& state) {
    if (state == "open") return texts.Text(text::LogRunOpen);
    if (state == "done") return texts.Text(text::LogRunDone);
    if (state == "interrupted") return texts.Text(text::LogRunInterrupted);
    return state;
}

// Heads in the language; the date and state columns as wide as their widest value.
std::string runsHead(const config::TLanguageTexts& texts) {
    const auto padded = [](std::string head, std::size_t width) {
        return head + std::string(std::max(width, head.size()) - head.size() + 2, ' ');
    };
    std::size_t states = 0;
    for (const char* state : {"open", "done", "interrupted"})
        states = std::max(states, stateWords(texts, state).size());
    return padded(texts.Text(text::LogRunsRun), 0) +
           padded(texts.Text(text::LogRunsStarted), std::string("2026-12-09T18:24:55Z").size()) +
           padded(texts.Text(text::LogRunsState), states) +
           padded(texts.Text(text::LogRunsCounter), 0) +
           padded(texts.Text(text::LogRunsNumbers), 0) +
           padded(texts.Text(text::LogRunsWritten), 0) + texts.Text(text::LogRunsUnused);
}

void printRuns(const std::vector<log::TRunRecord>& runs, const config::TLanguageTexts& texts,
               std::ostream& out) {
    const auto utf8 = [](const std::string& text) { return base::Windows1252ToUtf8(text); };
    out << utf8(runsHead(texts)) << '\n';
    for (const log::TRunRecord& run : runs) {
        std::vector<std::int64_t> all;
        all.push_back(run.First);
        if (run.Count > 1) all.push_back(run.First + (run.Count - 1) * run.Step);
        const std::string step =
            log::FillIn(texts.Text(text::LogRunsStep), {std::to_string(run.Step)});
        out << run.Id << "  " << run.Started << "  " << utf8(stateWords(texts, run.State)) << "  "
            << utf8(run.Counter) << "  " << numberRanges(all, all.back() - all.front())
            << (run.Step != 1 ? " " + utf8(step) : std::string()) << "  " << run.Written << "  "
            << (run.Unused.empty() ? "-" : numberRanges(run.Unused, run.Step));
        if (!run.SettledBy.empty())
            out << "  " << utf8(log::FillIn(texts.Text(text::LogRunsSettledBy), {run.SettledBy}));
        out << '\n';
    }
}

config::TLanguageTexts textsFor(const fs::path& folder) {
    config::TLanguageTexts texts;
    config::TSettings settings;
    try {
        ncgen::TProfileTable profiles;
        config::LoadSettings(folder, settings, profiles);
    } catch (const std::exception&) {
        // Unreadable settings speak the default language: the listing's heads need words.
        settings = config::TSettings{};
    }
    try {
        texts.Load(DefaultDataFolder() / config::LanguageFileName(settings.Language));
    } catch (const std::exception&) {
        // Without language files the messages keep their detail.
    }
    return texts;
}

void printTable(const std::vector<log::TMarkRecord>& records, const config::TLanguageTexts& texts,
                std::ostream& out) {
    const std::vector<std::size_t> shown = {0, 2, 5, 8, 9, 10, 12, 14};
    std::vector<std::vector<std::string>> rows;
    rows.emplace_back();
    for (const std::size_t c : shown)
        rows.back().emplace_back(log::RECORD_COLUMNS[c]);
    for (const auto& record : records) {
        const auto values = log::RecordWords(record, texts);
        rows.emplace_back();
        for (const std::size_t c : shown)
            rows.back().push_back(values[c]);
    }
    // Widths in characters, not bytes, so umlauts keep the columns straight.
    const auto width = [](const std::string& text) {
        return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
            return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        }));
    };
    std::vector<std::size_t> widths(shown.size(), 0);
    for (const auto& row : rows)
        for (std::size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], width(row[i]));
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) line += std::string(widths[i] - width(row[i]) + 2, ' ');
        }
        out << line << '\n';
    }
}

int verify(log::TMarkingLog* markingLog, const fs::path& file, const config::TLanguageTexts& texts,
           std::ostream& out, std::ostream& err) {
    std::string bytes;
    if (!base::ReadFileBytes(file, bytes)) {
        err << "korvex-cli log: cannot read " << file.string() << '\n';
        return ExitFailure;
    }
    const std::string sha = log::Sha256Hex(bytes);
    const fs::path here = job::RecordedPath(file);
    const auto named = markingLog ? markingLog->Query({}) : std::vector<log::TMarkRecord>{};
    const auto own = std::find_if(named.rbegin(), named.rend(), [&](const log::TMarkRecord& r) {
        return job::RecordedPath(r.Output) == here;
    });
    // A file the log wrote is judged by its own latest record: replaced by another logged
    // program, it is no longer the part this name was marked for.
    if (own != named.rend() && own->Sha256 != sha) {
        out << file.string() << ": changed since record " << own->Id << " (" << own->TimeUtc
            << "), which logged sha256 " << own->Sha256 << "; the file has " << sha;
        const auto same = markingLog->FindHash(sha);
        if (!same.empty()) out << ", the program of record " << same.front().Id;
        out << '\n';
        return ExitFailure;
    }
    const std::vector<log::TMarkRecord> same = own != named.rend()
                                                   ? std::vector<log::TMarkRecord>{*own}
                                               : markingLog ? markingLog->FindHash(sha)
                                                            : std::vector<log::TMarkRecord>{};
    if (same.empty()) {
        out << file.string() << ": not in the marking log (sha256 " << sha << ")\n";
        return ExitFailure;
    }
    const auto values = log::RecordWords(same.front(), texts);
    out << file.string() << ": as logged in record " << same.front().Id << '\n';
    for (std::size_t i = 1; i < values.size(); ++i)
        if (!values[i].empty()) out << "  " << log::RECORD_COLUMNS[i] << ": " << values[i] << '\n';
    return ExitOk;
}

} // namespace

namespace {

struct TLogArgs {
    TParsedArgs args;
    std::optional<std::string> config, since, until, pattern, format, verifyFile, exportFile,
        importFile;
    bool runs = false;
    bool unverified = false;
    bool help = false;
};

// Prints what is wrong and gives false when the options are not usable.
bool parseLog(const std::vector<std::string>& args, TLogArgs& options, std::ostream& err) {
    static const TOptionRules rules{{"--help", "-h", "--runs", "--unverified"},
                                    {"--config", "--since", "--until", "--text", "--format",
                                     "--verify", "--export", "--import", LogOption},
                                    false,
                                    false,
                                    false};
    const auto problem = ParseArguments(args, rules, options.args);
    // --help counts when it comes before the first wrong word.
    options.help = options.args.Has("--help") || options.args.Has("-h");
    if (options.help) return true;
    if (problem) {
        err << "korvex-cli log: " << problem->Text() << '\n' << LOG_USAGE;
        return false;
    }
    const TParsedArgs& parsed = options.args;
    options.config = parsed.Value("--config");
    options.since = parsed.Value("--since");
    options.until = parsed.Value("--until");
    options.pattern = parsed.Value("--text");
    options.format = parsed.Value("--format");
    options.verifyFile = parsed.Value("--verify");
    options.runs = parsed.Has("--runs");
    options.unverified = parsed.Has("--unverified");
    options.exportFile = parsed.Value("--export");
    options.importFile = parsed.Value("--import");
    for (std::optional<std::string>* date : {&options.since, &options.until})
        if (*date && !dateShape(**date)) {
            err << "korvex-cli log: '" << **date
                << "' is no date: YYYY-MM-DD, optionally with Thh[:mm[:ss]]\n";
            return false;
        }
    const auto& format = options.format;
    if (format && *format != "table" && *format != "csv" && *format != "json") {
        err << "korvex-cli log: --format is table, csv or json\n" << LOG_USAGE;
        return false;
    }
    const bool listing =
        options.since || options.until || options.pattern || format || options.unverified;
    if (options.verifyFile && (listing || options.runs)) {
        err << "korvex-cli log: --verify takes no other option but --config and --log\n";
        return false;
    }
    if (options.runs && listing) {
        err << "korvex-cli log: --runs takes no other option but --config and --log\n";
        return false;
    }
    if (options.exportFile && options.importFile) {
        err << "korvex-cli log: --export and --import cannot be combined\n";
        return false;
    }
    const bool other = listing || options.runs || options.verifyFile;
    for (const char* move : {"--export", "--import"})
        if (parsed.Value(move) && other) {
            err << "korvex-cli log: " << move << " takes no other option but --config and --log\n";
            return false;
        }
    return true;
}

std::optional<fs::path> configFolder(const std::optional<std::string>& config, std::ostream& err) {
    if (config) return base::Utf8Path(*config);
    const config::TConfigFolder found = config::DefaultConfigFolder();
    if (!found.message.empty()) {
        err << base::Windows1252ToUtf8(found.message) << '\n';
        return std::nullopt;
    }
    return found.folder;
}

// The log to list; null without an error when the file does not exist yet.
bool openLog(const fs::path& file, const config::TLanguageTexts& texts, std::ostream& err,
             std::unique_ptr<log::TMarkingLog>& markingLog) {
    std::error_code ec;
    if (!log::IsServerLog(file) && !fs::exists(file, ec)) return true;
    try {
        // Opened to write, so what a killed writer left is settled (and said) first.
        markingLog = std::make_unique<log::TMarkingLog>(file, log::TMarkingLog::TAccess::Write,
                                                        WaitNotice(file, texts, err));
        for (const log::TInterruptedRun& run : markingLog->Recovered().Runs)
            err << "korvex-cli: warning: "
                << base::Windows1252ToUtf8(log::InterruptedRunText(texts, run)) << '\n';
    } catch (const log::ELogError&) {
        // A read-only folder or share still lists; a log that is no log fails here too.
        try {
            markingLog = std::make_unique<log::TMarkingLog>(file, log::TMarkingLog::TAccess::Read,
                                                            WaitNotice(file, texts, err));
        } catch (const log::ELogError& e) {
            PrintLogError(e, texts, err);
            return false;
        }
    }
    return true;
}

int listRecords(const TLogArgs& options, const log::TMarkingLog* markingLog,
                const config::TLanguageTexts& texts, std::ostream& out, std::ostream& err) {
    log::TLogQuery query;
    query.Since = options.since.value_or("");
    query.Until = options.until.value_or("");
    if (options.pattern) {
        const auto converted = base::Utf8ToWindows1252(*options.pattern);
        if (!converted.ok) {
            err << "korvex-cli log: --text: the character '" << converted.offending
                << "' has no Windows-1252 code\n";
            return ExitUsage;
        }
        query.Text = converted.text;
    }
    std::vector<log::TMarkRecord> records;
    try {
        if (markingLog) records = markingLog->Query(query);
        if (markingLog && options.unverified) records = OnlyUnverified(*markingLog, records);
    } catch (const log::ELogError& e) {
        PrintLogError(e, texts, err);
        return ExitFailure;
    }
    const std::string chosen = options.format.value_or("table");
    if (chosen == "csv")
        out << log::RecordsCsv(records, texts);
    else if (chosen == "json")
        out << log::RecordsJson(records);
    else
        printTable(records, texts, out);
    try {
        if (markingLog && chosen == "table") PrintVerifications(*markingLog, records, out);
    } catch (const log::ELogError& e) {
        PrintLogError(e, texts, err);
        return ExitFailure;
    }
    out.flush();
    return out ? ExitOk : ExitFailure;
}

// A server's URL as it may be shown: without a password written into it.
std::string shownLocation(const fs::path& location) {
    std::string text = base::PathText(location);
    if (!log::IsServerLog(location)) return text;
    const std::size_t scheme = text.find("://") + 3;
    const std::size_t at = text.find('@', scheme);
    const std::size_t colon = text.find(':', scheme);
    if (at != std::string::npos && colon < at) text.erase(colon, at - colon);
    return text;
}

// --export and --import: the log's content into the file, or the file's into the log.
int moveLog(const TLogArgs& options, const fs::path& own, const config::TLanguageTexts& texts,
            std::ostream& out, std::ostream& err) {
    const bool importing = options.importFile.has_value();
    const fs::path file = base::Utf8Path(importing ? *options.importFile : *options.exportFile);
    std::error_code ec;
    if (importing && !log::IsServerLog(file) && !fs::exists(file, ec)) {
        err << "korvex-cli log: cannot read " << file.string() << '\n';
        return ExitFailure;
    }
    const auto utf8 = [](const std::string& text) { return base::Windows1252ToUtf8(text); };
    try {
        using TAccess = log::TMarkingLog::TAccess;
        // The station's file is only read; the log written to settles what its writers left.
        log::TMarkingLog source(importing ? file : own, importing ? TAccess::Read : TAccess::Write,
                                WaitNotice(importing ? file : own, texts, err));
        log::TMarkingLog target(importing ? own : file, TAccess::Write,
                                WaitNotice(importing ? own : file, texts, err));
        const log::TTransfer moved = log::TransferLog(source, target);
        out << utf8(log::FillIn(texts.Text(text::LogMoved),
                                {shownLocation(target.File()), std::to_string(moved.Added),
                                 std::to_string(moved.Present)}))
            << '\n';
        for (const log::TTransfer::TRaised& raised : moved.Counters)
            out << utf8(log::FillIn(texts.Text(text::LogCounterRaised),
                                    {raised.Counter, std::to_string(raised.Next)}))
                << '\n';
    } catch (const log::ELogError& e) {
        PrintLogError(e, texts, err);
        return ExitFailure;
    }
    out.flush();
    return out ? ExitOk : ExitFailure;
}

} // namespace

int RunLog(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TLogArgs options;
    if (!parseLog(args, options, err)) return ExitUsage;
    if (options.help) {
        out << LOG_USAGE << '\n' << LOG_HELP;
        return ExitOk;
    }
    const std::optional<fs::path> folder = configFolder(options.config, err);
    if (!folder) return ExitFailure;
    const fs::path given = LogLocation(options.args);
    const std::optional<fs::path> file = given.empty() ? log::LogFileFor(*folder) : given;
    if (!file) {
        err << "korvex-cli log: the settings in " << folder->string()
            << " switch the marking log off\n";
        return ExitFailure;
    }
    const config::TLanguageTexts texts = textsFor(*folder);
    if (options.exportFile || options.importFile) return moveLog(options, *file, texts, out, err);
    std::unique_ptr<log::TMarkingLog> markingLog;
    if (!openLog(*file, texts, err, markingLog)) return ExitFailure;
    try {
        if (options.verifyFile)
            return verify(markingLog.get(), base::Utf8Path(*options.verifyFile), texts, out, err);
        if (options.runs) {
            printRuns(markingLog ? markingLog->Runs() : std::vector<log::TRunRecord>{}, texts, out);
            out.flush();
            return out ? ExitOk : ExitFailure;
        }
    } catch (const log::ELogError& e) {
        PrintLogError(e, texts, err);
        return ExitFailure;
    }
    return listRecords(options, markingLog.get(), texts, out, err);
}

} // namespace korvex::cli
