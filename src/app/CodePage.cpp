#include "app/CodePage.h"

#include "base/Windows1252.h"

#include <array>

namespace korvex::app {

QString FromCodePage(std::string_view bytes) {
    const std::string utf8 = base::Windows1252ToUtf8(bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

TCodePageText ToCodePage(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    auto converted = base::Utf8ToWindows1252(std::string_view(utf8.constData(), utf8.size()));
    TCodePageText result;
    result.Ok = converted.ok;
    if (converted.ok)
        result.Bytes = std::move(converted.text);
    else
        result.Offending = QString::fromUtf8(converted.offending.data(),
                                             static_cast<qsizetype>(converted.offending.size()));
    return result;
}

QStringList TextLines(const QString& text) {
    QString unified = text;
    unified.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    unified.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    unified.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (unified.isEmpty()) return {};
    return unified.split(QLatin1Char('\n'));
}

std::vector<std::string> ToCodePageLines(const QStringList& lines, QString* offending) {
    std::vector<std::string> result;
    result.reserve(static_cast<std::size_t>(lines.size()));
    for (const QString& line : lines) {
        TCodePageText converted = ToCodePage(line);
        if (!converted.Ok) {
            if (offending) *offending = converted.Offending;
            return {};
        }
        result.push_back(std::move(converted.Bytes));
    }
    return result;
}

QString FromCodePageLines(const std::vector<std::string>& lines) {
    // Byte by byte through a table: a whole program is 30,000 lines on the largest symbol.
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> codes{};
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            codes[static_cast<std::size_t>(b)] =
                FromCodePage(std::string_view(&byte, 1)).at(0).unicode();
        }
        return codes;
    }();
    qsizetype size = 0;
    for (const auto& line : lines)
        size += static_cast<qsizetype>(line.size()) + 1;
    QString text(qMax<qsizetype>(0, size - 1), Qt::Uninitialized);
    QChar* out = text.data();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) *out++ = QLatin1Char('\n');
        for (const char c : lines[i])
            *out++ = QChar(table[static_cast<unsigned char>(c)]);
    }
    return text;
}

} // namespace korvex::app
