#pragma once

#include "base/EKorvexError.h"
#include "base/TextMessage.h"
#include "ncgen/NCJob.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::ncgen {

// What the reader needs from the program: the indexes a new layer takes, and the name of the
// layer it adds when a file holds none.
struct TLoadOptions {
    std::uint8_t CurrentSymbolSize = 0;
    std::uint8_t CurrentEncodation = 0;
    std::string DefaultLayerName;
};

// What the reader had to leave out or repair, so the caller can tell the user.
struct TLoadReport {
    bool Opened = false;            // false: the file exists but could not be read; job unchanged
    int DroppedTextLines = 0;       // "/" lines beyond 100 in one layer
    int IgnoredLayerLines = 0;      // layer keywords before the first "LAYER " line
    int DroppedLayers = 0;          // layers beyond 50, ignored with all their lines
    int IndexFallbacks = 0;         // "DMFORM "/"DMENC " values that name no size / encodation: "0"
    bool AddedDefaultLayer = false; // the file held no layer; one default layer was added
    int UnknownContents = 0;        // "CONTENT " values that name no content kind: Text
    int UnknownContentLine = 0;     // the first of them: its line's number (from 1) and text
    std::string UnknownContent;
};

// A job whose layer names a content kind this program does not know would encode its text
// literally, brackets and all: text 9551 naming the first such line, with the file as the
// detail; empty when every kind is known.
base::TTextMessage CheckContentKinds(const TLoadReport& report, const std::filesystem::path& file);

// What the loader left out or replaced, one message per kind with its count as the detail, in
// the order korvex-cli warns of them; empty when the file was taken over whole.
std::vector<base::TTextMessage> LoadReportNotes(const TLoadReport& report);

// Writing a template failed; the message is language text 9013 + ": " + FileName().
class ETemplateWriteError : public EKorvexError {
  public:
    explicit ETemplateWriteError(std::filesystem::path fileName);
    int TextNumber() const;
    const std::filesystem::path& FileName() const { return fileName_; }

  private:
    std::filesystem::path fileName_;
};

// Reads a template file into the job; false (job unchanged) when the file does not exist.
// Layer 1 becomes CurrentLayer; the caller then shows it with SelectLayer(1).
bool LadeVorlage(const std::filesystem::path& fileName, TJob& job, TLoadReport& report,
                 const TLoadOptions& options = {});

// Reads template file contents (Windows-1252 bytes, CR LF, LF or CR line ends) into the job.
void ReadVorlage(std::string_view bytes, TJob& job, TLoadReport& report,
                 const TLoadOptions& options);

// The template file contents of a job: Windows-1252 bytes with CR LF line ends.
std::string VorlageText(const TJob& job);

// Writes the job through a temporary file and a rename, so a failure keeps the old file;
// throws ETemplateWriteError.
void SpeichereVorlage(const std::filesystem::path& fileName, const TJob& job);

} // namespace korvex::ncgen
