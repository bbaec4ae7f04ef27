#include "config/IniFile.h"

#include "base/AtomicFile.h"
#include "base/PathText.h"
#include "config/ConfigError.h"
#include "base/TextLines.h"
#include "base/Windows1252.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <vector>

namespace korvex::config {

using base::ReadFileBytes;
using base::SplitLines;
using base::Utf8ToWindows1252;
using base::WriteFileAtomically;

namespace {

constexpr std::string_view BLANKS = " \t";

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(BLANKS);
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(BLANKS);
    return text.substr(first, last - first + 1);
}

// Windows-1252 case folding of letters, so "Ä" and "ä" name the same key as they do there.
unsigned char foldCase(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
    switch (c) {
    case 0x9A:
        return 0x8A;
    case 0x9C:
        return 0x8C;
    case 0x9E:
        return 0x8E;
    case 0xFF:
        return 0x9F;
    default:
        return c;
    }
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldCase(static_cast<unsigned char>(a[i])) !=
            foldCase(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The section name of a "[name]" line, if the line is one.
std::optional<std::string_view> sectionOf(std::string_view line) {
    line = trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    const auto close = line.find(']');
    return trim(close == std::string_view::npos ? line : line.substr(0, close));
}

// A value ends at a line break, where anything after it would become a line of its own, and at
// a NUL, where the platform's profile functions ended it.
std::string_view singleLine(std::string_view value) {
    return value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
}

struct TKeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<TKeyLine> keyOf(std::string_view line) {
    const auto trimmed = trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') return std::nullopt;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return TKeyLine{trim(line.substr(0, equals)), trim(singleLine(line.substr(equals + 1)))};
}

// Index range [begin, end) of the first section of that name; begin is its header line.
struct TSectionRange {
    std::size_t header = 0;
    std::size_t end = 0;
};

std::optional<TSectionRange> findSection(const std::vector<std::string>& lines,
                                         std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = sectionOf(lines[i]);
        if (!name || !sameName(*name, section)) continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !sectionOf(lines[end]))
            ++end;
        return TSectionRange{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const std::vector<std::string>& lines, TSectionRange range,
                                   std::string_view key) {
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        const auto entry = keyOf(lines[i]);
        if (entry && sameName(entry->key, key)) return i;
    }
    return std::nullopt;
}

// An editor may save the file as UTF-8 with a byte order mark; the values are Windows-1252
// text, so such a file is read as what it says it is, line by line. A line with a character
// that has no single-byte code ends the reading there: the lines before it are kept, and the
// result names the line (1-based) and the character; 0 when every line was converted.
struct TDecodeProblem {
    std::size_t line = 0;
    std::string character; // UTF-8
};

TDecodeProblem decodeByteOrderMark(std::string& bytes) {
    if (!bytes.starts_with("\xEF\xBB\xBF")) return {};
    const std::string_view body = std::string_view(bytes).substr(3);
    std::string text;
    std::size_t line = 1;
    for (std::size_t at = 0; at < body.size(); ++line) {
        const std::size_t end = std::min(body.find('\n', at), body.size() - 1) + 1;
        const auto converted = Utf8ToWindows1252(body.substr(at, end - at));
        if (!converted.ok) {
            bytes = std::move(text);
            return {line, converted.offending};
        }
        text += converted.text;
        at = end;
    }
    bytes = std::move(text);
    return {};
}

} // namespace

std::string UnconvertibleLineText(const std::filesystem::path& file, std::size_t line,
                                  std::string_view character) {
    // The character itself has no code in the message's code page either.
    char32_t code = 0;
    for (const char c : character) {
        const auto b = static_cast<unsigned char>(c);
        code = (b & 0xC0) == 0x80 ? (code << 6) | (b & 0x3F)
               : b >= 0xF0        ? b & 0x07
               : b >= 0xE0        ? b & 0x0F
               : b >= 0xC0        ? b & 0x1F
                                  : b;
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(code));
    return "Datei " + base::PathText(file) + ": Zeile " + std::to_string(line) +
           " enth\xE4lt ein Zeichen ohne Windows-1252-Code (" + hex +
           "); nur die Zeilen davor wurden gelesen";
}

std::int32_t ParseIniInteger(std::string_view text) {
    text = trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with('$')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.front() == '+' || text.front() == '-') return 0;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size()) return 0;
    // Hexadecimal covers the whole 32-bit pattern (colours); decimal must fit the signed range.
    const std::uint64_t limit =
        base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    if (value > limit) return 0;
    const auto bits = static_cast<std::uint32_t>(value);
    return static_cast<std::int32_t>(negative ? 0u - bits : bits);
}

TIniFile::TIniFile(std::filesystem::path file, std::string section)
    : file_(std::move(file)), section_(std::move(section)) {}

std::string TIniFile::ReadString(std::string_view key) const {
    std::string bytes;
    if (!ReadFileBytes(file_, bytes)) return {};
    decodeByteOrderMark(bytes);
    const auto lines = SplitLines(bytes);
    const auto range = findSection(lines, section_);
    if (!range) return {};
    const auto index = findKey(lines, *range, key);
    if (!index) return {};
    const auto value = keyOf(lines[*index])->value;
    return std::string(value.substr(0, MaxValueLength));
}

TIniReading::TIniReading(const std::filesystem::path& file, std::string_view section) {
    std::string bytes;
    if (!ReadFileBytes(file, bytes)) return;
    decodeByteOrderMark(bytes);
    std::vector<std::string> lines = SplitLines(bytes);
    const auto range = findSection(lines, section);
    if (!range) return;
    lines_.assign(std::make_move_iterator(lines.begin() + range->header + 1),
                  std::make_move_iterator(lines.begin() + range->end));
}

std::string TIniReading::ReadString(std::string_view key) const {
    for (const std::string& line : lines_)
        if (const auto entry = keyOf(line); entry && sameName(entry->key, key))
            return std::string(entry->value.substr(0, TIniFile::MaxValueLength));
    return {};
}

std::int32_t TIniReading::ReadInteger(std::string_view key) const {
    return ParseIniInteger(ReadString(key));
}

bool TIniReading::ReadBool(std::string_view key) const {
    return ReadInteger(key) != 0;
}

std::string TIniFile::ReadProblem() const {
    std::string bytes;
    if (!ReadFileBytes(file_, bytes)) return {};
    const auto problem = decodeByteOrderMark(bytes);
    return problem.line == 0 ? std::string()
                             : UnconvertibleLineText(file_, problem.line, problem.character);
}

std::int32_t TIniFile::ReadInteger(std::string_view key) const {
    return ParseIniInteger(ReadString(key));
}

bool TIniFile::ReadBool(std::string_view key) const {
    return ReadInteger(key) != 0;
}

void TIniFile::WriteString(std::string_view key, std::string_view value) const {
    TIniBatch batch(file_, section_);
    batch.WriteString(key, value);
    batch.Commit();
}

void TIniFile::WriteInteger(std::string_view key, std::int32_t value) const {
    WriteString(key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view key, bool value) const {
    WriteString(key, value ? "1" : "0");
}

TIniBatch::TIniBatch(std::filesystem::path file, std::string section)
    : file_(std::move(file)), section_(std::move(section)) {
    std::string bytes;
    std::error_code ec;
    const bool exists = std::filesystem::exists(file_, ec);
    if (exists && !ReadFileBytes(file_, bytes)) throw EConfigError(CannotWriteText(file_));
    // Writing back what could be read would lose the lines after the character.
    if (decodeByteOrderMark(bytes).line != 0) throw EConfigError(CannotWriteText(file_));
    lines_ = SplitLines(bytes);
}

void TIniBatch::WriteString(std::string_view key, std::string_view value) {
    std::string entry(key);
    entry += '=';
    entry += singleLine(value);

    if (const auto range = findSection(lines_, section_)) {
        if (const auto index = findKey(lines_, *range, key)) {
            lines_[*index] = entry;
        } else {
            // After the last non-empty line of the section, as the profile API does.
            std::size_t at = range->end;
            while (at > range->header + 1 && trim(lines_[at - 1]).empty())
                --at;
            lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), entry);
        }
    } else {
        lines_.push_back("[" + section_ + "]");
        lines_.push_back(entry);
    }
}

void TIniBatch::WriteInteger(std::string_view key, std::int32_t value) {
    WriteString(key, std::to_string(value));
}

void TIniBatch::WriteBool(std::string_view key, bool value) {
    WriteString(key, value ? "1" : "0");
}

void TIniBatch::Commit() const {
    std::string out;
    for (const auto& line : lines_) {
        out += line;
        out += "\r\n";
    }
    if (!WriteFileAtomically(file_, out)) throw EConfigError(CannotWriteText(file_));
}

} // namespace korvex::config
