#include "log/LogExport.h"

#include "base/PathText.h"
#include "base/Windows1252.h"
#include "log/LogTexts.h"

namespace korvex::log {

namespace {

std::string pathUtf8(const std::filesystem::path& path) {
    const auto u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

std::string csvField(const std::string& value) {
    if (value.find_first_of(",\"\r\n") == std::string::npos) return value;
    std::string quoted = "\"";
    for (const char c : value) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string jsonString(const std::string& value) {
    std::string text = "\"";
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            text += '\\';
            text += c;
        } else if (byte < 0x20) {
            static constexpr char hex[] = "0123456789abcdef";
            text += "\\u00";
            text += hex[byte >> 4];
            text += hex[byte & 0xF];
        } else {
            text += c;
        }
    }
    return text + '"';
}

} // namespace

std::vector<std::string> RecordValues(const TMarkRecord& r) {
    const auto u = [](const std::string& text) { return base::Windows1252ToUtf8(text); };
    return {std::to_string(r.Id),
            r.TimeUtc,
            u(r.TimeLocal),
            u(r.User),
            u(r.Host),
            u(r.Text),
            u(r.ContentKind),
            u(r.HumanReadable),
            u(r.SymbolSize),
            u(r.Encodation),
            u(r.Profile),
            pathUtf8(r.JobTemplate),
            pathUtf8(r.Output),
            r.Sha256,
            u(r.ReadBack),
            u(r.Counter),
            r.Serial ? std::to_string(*r.Serial) : std::string()};
}

std::vector<std::string> RecordWords(const TMarkRecord& record,
                                     const config::TLanguageTexts& texts) {
    std::vector<std::string> values = RecordValues(record);
    const auto u = [](const std::string& text) { return base::Windows1252ToUtf8(text); };
    values[6] = u(ContentKindWords(texts, record.ContentKind));
    values[14] = u(ReadBackWords(texts, record.ReadBack));
    return values;
}

bool RecordMatches(const TMarkRecord& record, std::string_view needle) {
    // Capitals of ASCII and of Latin-1 (U+00C0-U+00DE but the multiplication sign, two bytes
    // in UTF-8 with 0xC3 first) become small; that covers the German texts.
    const auto fold = [](std::string text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto byte = static_cast<unsigned char>(text[i]);
            if (byte >= 'A' && byte <= 'Z') text[i] = static_cast<char>(byte - 'A' + 'a');
            if (byte == 0xC3 && i + 1 < text.size()) {
                const auto next = static_cast<unsigned char>(text[i + 1]);
                if (next >= 0x80 && next <= 0x9E && next != 0x97)
                    text[i + 1] = static_cast<char>(next + 0x20);
                ++i;
            }
        }
        return text;
    };
    const std::string folded = fold(std::string(needle));
    for (const std::string& value : RecordValues(record))
        if (fold(value).find(folded) != std::string::npos) return true;
    return false;
}

std::string RecordsCsv(const std::vector<TMarkRecord>& records,
                       const config::TLanguageTexts& texts) {
    std::string csv;
    for (std::size_t i = 0; i < RECORD_COLUMNS.size(); ++i)
        csv += std::string(i ? "," : "") + std::string(RECORD_COLUMNS[i]);
    csv += "\r\n";
    for (const TMarkRecord& record : records) {
        const auto values = RecordWords(record, texts);
        for (std::size_t i = 0; i < values.size(); ++i)
            csv += (i ? "," : "") + csvField(values[i]);
        csv += "\r\n";
    }
    return csv;
}

std::vector<std::vector<std::string>> ReadCsv(std::string_view csv) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < csv.size(); ++i) {
        const char c = csv[i];
        if (quoted) {
            if (c == '"' && i + 1 < csv.size() && csv[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < csv.size() && csv[i + 1] == '\n') ++i;
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
        } else {
            field += c;
        }
    }
    if (!field.empty() || !row.empty()) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string RecordsJson(const std::vector<TMarkRecord>& records) {
    std::string json = "[";
    for (std::size_t k = 0; k < records.size(); ++k) {
        const auto values = RecordValues(records[k]);
        json += k ? ",\n  {" : "\n  {";
        for (std::size_t i = 0; i < values.size(); ++i) {
            json += (i ? ", " : "") + jsonString(std::string(RECORD_COLUMNS[i])) + ": ";
            const bool number = i == 0 || i + 1 == values.size();
            json += number ? (values[i].empty() ? "null" : values[i]) : jsonString(values[i]);
        }
        json += "}";
    }
    return json + (records.empty() ? "]\n" : "\n]\n");
}

} // namespace korvex::log
