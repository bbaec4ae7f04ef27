#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

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

    // Writes replace the whole file atomically and keep all other lines in their order.
    // A refused write throws EConfigError "In <file> kann nicht geschrieben werden".
    void WriteString(std::string_view key, std::string_view value) const;
    void WriteInteger(std::string_view key, std::int32_t value) const;
    void WriteBool(std::string_view key, bool value) const;

  private:
    std::filesystem::path file_;
    std::string section_;
};

// The integer reading of the profile API: an optional sign, then decimal digits or hex digits
// after "$" or "0x", and nothing else; anything that is not such a number gives 0.
std::int32_t ParseIniInteger(std::string_view text);

} // namespace korvex::config
