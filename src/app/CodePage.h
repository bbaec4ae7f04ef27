#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::app {

// The widgets hold QString; the core holds Windows-1252 bytes.
QString FromCodePage(std::string_view bytes);

struct TCodePageText {
    std::string Bytes;
    bool Ok = true;
    QString Offending; // the first character without a Windows-1252 code
};

// Refuses a character without a code instead of replacing it, so nothing is marked that the
// user did not type.
TCodePageText ToCodePage(const QString& text);

// Lines of a plain text as the editor and the text field hold them (LF or paragraph breaks).
QStringList TextLines(const QString& text);
std::vector<std::string> ToCodePageLines(const QStringList& lines, QString* offending = nullptr);
QString FromCodePageLines(const std::vector<std::string>& lines);

} // namespace korvex::app
