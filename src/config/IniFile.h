#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::config {

// Single values of one section of one INI file, with the semantics of the Windows profile
// API: section and key names without regard to case, values trimmed on reading, integers
// decimal or hexadecimal ("0x", "$"), flags "1"/"0". Every call opens the file, does its one
// operation and closes it; nothing is cached. A missing file, section or key reads as the
// kind's default (empty, 0, false).
class TIniFile {
  public:
    static constexpr std::size_t MaxValueLength = 2047;

    TIniFile(std::filesystem::path file, std::string section);

    const std::filesystem::path& FileName() const { return file_; }
    const std::string& Section() const { return section_; }
    void SetSection(std::string section) { section_ = std::move(section); }

    std::string ReadString(std::string_view key) const;
    std::int32_t ReadInteger(std::string_view key) const;
    bool ReadBool(std::string_view key) const;

    // A file saved as UTF-8 with a byte order mark is read up to the first line with a
    // character that has no Windows-1252 code; then this is the message that says so
    // (UnconvertibleLineText), otherwise empty. Writes to such a file are refused.
    std::string ReadProblem() const;

    // Writes replace the whole file atomically and keep all other lines in their order.
    // A refused write throws EConfigError "In <file> kann nicht geschrieben werden".
    void WriteString(std::string_view key, std::string_view value) const;
    void WriteInteger(std::string_view key, std::int32_t value) const;
    void WriteBool(std::string_view key, bool value) const;

  private:
    std::filesystem::path file_;
    std::string section_;
};

// One section of an INI file read once, with TIniFile's rules for each value: a whole profile
// is some 90 values, and a large file read that often takes minutes.
class TIniReading {
  public:
    TIniReading(const std::filesystem::path& file, std::string_view section);

    std::string ReadString(std::string_view key) const;
    std::int32_t ReadInteger(std::string_view key) const;
    bool ReadBool(std::string_view key) const;

  private:
    std::vector<std::string> lines_; // the section's lines after its header
};

// Many writes to one file as one replacement, with TIniFile's rules for each value: the file
// is read when the batch starts, each write changes its lines in memory, and Commit replaces
// the file atomically. Saving the settings writes some 200 values, and each replacement is
// flushed to disk; one flush per file keeps the save quick. A file that cannot be read at the
// start or written at Commit throws EConfigError "In <file> kann nicht geschrieben werden".
class TIniBatch {
  public:
    TIniBatch(std::filesystem::path file, std::string section);

    void SetSection(std::string section) { section_ = std::move(section); }
    void WriteString(std::string_view key, std::string_view value);
    void WriteInteger(std::string_view key, std::int32_t value);
    void WriteBool(std::string_view key, bool value);
    void Commit() const;

  private:
    std::filesystem::path file_;
    std::string section_;
    std::vector<std::string> lines_;
};

// "Datei <file>: Zeile <n> enthält ein Zeichen ohne Windows-1252-Code (U+XXXX); nur die
// Zeilen davor wurden gelesen", for the UTF-8 character given.
std::string UnconvertibleLineText(const std::filesystem::path& file, std::size_t line,
                                  std::string_view character);

// The integer reading of the profile API: an optional sign, then decimal digits or hex digits
// after "$" or "0x", and nothing else; anything that is not such a number gives 0.
std::int32_t ParseIniInteger(std::string_view text);

} // namespace korvex::config
