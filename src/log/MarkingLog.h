#pragma once

#include "base/EKorvexError.h"
#include "base/TextMessage.h"
#include "log/CounterReset.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::log {

class TLogBackend;
struct TVerification;

inline constexpr const char* LogFileName = "korvex.sqlite";
inline constexpr int SchemaVersion = 5;
// PRAGMA application_id of Korvex's logs ("KRVX"), so another program's database is not taken.
inline constexpr std::int32_t ApplicationId = 0x4B525658;

// The log cannot be used; whatever it was to record was not written. Message is in language
// texts, what() the system's detail.
class ELogError : public EKorvexError {
  public:
    explicit ELogError(base::TTextMessage message, int reason = 0)
        : EKorvexError(message.Detail), Message(std::move(message)), Reason(reason) {}
    base::TTextMessage Message;
    int Reason; // the language text of the system's reason (a full disk ...); 0 when none fits
};

// One program file Korvex wrote. Texts are Windows-1252 like the rest of the core.
struct TMarkRecord {
    std::int64_t Id = 0;
    std::string TimeUtc;   // "2026-12-09T18:24:55Z"
    std::string TimeLocal; // the writer's clock, "2026-12-09 19:24:55 +0100"
    std::string User;
    std::string Host;
    std::string Text;        // the encoded content
    std::string ContentKind; // "TEXT", or the layer's content kind
    std::string HumanReadable;
    std::string SymbolSize;
    std::string Encodation;
    std::string Profile;
    std::filesystem::path JobTemplate;
    std::filesystem::path Output;
    std::string Sha256;   // of the bytes written
    std::string ReadBack; // the read-back verdict; empty when the program was not checked
    std::string Grade;    // the predicted grade (GradeRecord.h); empty when none was predicted
    std::string Counter;  // the counter a serial number came from, if any
    std::optional<std::int64_t> Serial;
    bool Pending = false; // recorded, the file not yet known to be in place
};

struct TLogQuery {
    std::string Since; // prefix of a UTC time ("2026-12-09", "2026-12-09T18"); inclusive
    std::string Until; // inclusive as well: "2026-12-09" takes the whole day
    std::string Text;  // part of the content, or a pattern with * and ?
};

// A serial run: the numbers it took and how many of them it wrote.
struct TSerialRun {
    std::int64_t Id = 0;
    std::string Started; // UTC
    std::string Counter;
    std::int64_t First = 0;
    std::int64_t Count = 0;
    std::int64_t Step = 1;
    std::int64_t Written = 0;
};

// A serial run that ended without saying so (its process was killed or lost power).
using TInterruptedRun = TSerialRun;

// A serial run as the log keeps it, for a listing.
struct TRunRecord : TSerialRun {
    std::string State; // "open", "done" or "interrupted" (also an open one whose writer is gone)
    std::string SettledBy;            // who found it interrupted: "user@host", when, pid
    std::vector<std::int64_t> Unused; // its numbers no record carries; never handed out again
};

// What opening the log found of writes that a killed process left.
struct TRecovery {
    std::size_t Completed = 0; // file in place with the logged bytes: the record kept
    std::size_t Abandoned = 0; // file never renamed into place: the record dropped
    std::vector<TInterruptedRun> Runs;
};

// The marking log: one SQLite file, usually korvex.sqlite in the configuration folder, shared
// by every process that writes programs there. Records are written before their file is
// renamed into place and marked done after, so after a crash every file the log names is
// complete, and the next opening settles what was left pending.
class TMarkingLog {
  public:
    // Read: for a listing; changes nothing, works on a read-only folder, settles nothing.
    enum class TAccess { Write, Read };
    // file may name a server (see IsServerLog). Opens or creates the log and settles what dead
    // writers on this host left. Throws ELogError when the file cannot be opened, is no log, or
    // comes from a newer schema. waiting is called at once when another writer holds the log and
    // this one waits for it.
    explicit TMarkingLog(const std::filesystem::path& file, TAccess access = TAccess::Write,
                         std::function<void()> waiting = {});
    ~TMarkingLog();
    TMarkingLog(const TMarkingLog&) = delete;
    TMarkingLog& operator=(const TMarkingLog&) = delete;

    const std::filesystem::path& File() const { return file_; }
    const TRecovery& Recovered() const { return recovery_; }

    // The earliest record of this content, pending ones of other writers included.
    std::optional<TMarkRecord> FindContent(std::string_view text,
                                           std::string_view contentKind) const;
    // The first of the texts that is logged already, with its place in the list.
    std::optional<std::pair<std::size_t, TMarkRecord>>
    FindFirstLogged(const std::vector<std::string>& texts, std::string_view contentKind) const;

    std::vector<TMarkRecord> Query(const TLogQuery& query) const;
    // Done records whose bytes hash as given, newest first.
    std::vector<TMarkRecord> FindHash(std::string_view sha256) const;

    std::vector<TRunRecord> Runs() const;

    // The next value of a counter, a new period's start included; 1 for a counter never used.
    std::int64_t NextSerial(std::string_view counter, const TCounterAsk& ask = {}) const;
    // The counter as stored; nothing for a counter never used.
    std::optional<TStoredCounter> Counter(std::string_view counter) const;
    // Takes count numbers start, start+step, ... from the counter in one transaction and
    // opens a run for them. accept sees the first number before anything is kept and may
    // refuse it (a duplicate in the range); then nothing changes and nullopt comes back.
    // With a reset, the counter starts again in a new period (CounterReset.h).
    struct TTakenRun {
        std::int64_t Run = 0;
        std::int64_t First = 0;
        std::string Period; // the period of the counter's reset; empty when it never resets
    };
    std::optional<TTakenRun> TakeSerials(std::string_view counter, std::int64_t count,
                                         std::int64_t step,
                                         const std::function<bool(std::int64_t)>& accept,
                                         const TCounterAsk& ask = {});
    void FinishRun(std::int64_t run);

    // Records programs as about to be written, durably and in one transaction; a file may be
    // renamed into place only after this returns. Fills each record's Id, time, user and host
    // and gives back the temporary file each must be written through. With refuseDuplicates,
    // a record whose content is logged already is not added: nothing is and the earlier
    // record comes back in duplicate.
    struct TBegun {
        std::vector<std::filesystem::path> Temporaries;
        std::optional<TMarkRecord> Duplicate;
    };
    TBegun BeginWrites(std::vector<TMarkRecord>& records, bool refuseDuplicates,
                       std::int64_t run = 0);
    // The files are in place.
    void FinishWrites(const std::vector<std::int64_t>& ids);
    // The files could not be written; their records go.
    void AbandonWrites(const std::vector<std::int64_t>& ids);

    // Keeps a verification with the record verification.Mark, stamped with now and who
    // ("user@host"); fills its Id, time and who.
    void AddVerification(TVerification& verification);
    std::vector<TVerification> VerificationsOf(std::int64_t mark) const;
    // Done records without a verification, oldest first.
    std::vector<TMarkRecord> Unverified() const;
    // The grade predicted for the record's program; empty when none was kept.
    std::string PredictedGrade(std::int64_t mark) const;

  private:
    void recover();

    std::filesystem::path file_;
    std::unique_ptr<TLogBackend> backend_;
    TRecovery recovery_;
};

// Whether the log is a database server's ("postgresql://..."), not a file.
bool IsServerLog(const std::filesystem::path& location);
// A server's url without its password, as every message names the server.
std::string ServerName(const std::string& url);
// The log as messages name it: the file, or the server without the password.
std::string LogName(const std::filesystem::path& location);
// What a build without libpq (the Windows one) says when a server log is asked for.
inline constexpr const char* ServerOnlyWithLibpq =
    "this build of Korvex has no PostgreSQL support (built without libpq)";

// The log of a configuration folder: the [log] section of main.ini may point elsewhere
// ("Datei", e.g. a share), name a server ("Datenbank=postgresql://korvex@server/korvex") or
// switch it off ("Markierprotokoll=0"); nullopt when it is off.
std::optional<std::filesystem::path> LogFileFor(const std::filesystem::path& configFolder);

} // namespace korvex::log
