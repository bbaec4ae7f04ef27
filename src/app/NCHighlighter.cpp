#include "app/NCHighlighter.h"

#include "app/PainterCanvas.h"
#include "base/Windows1252.h"

namespace korvex::app {

namespace {

// The Windows-1252 byte of a character, or "?" (an other-character token) when it has none.
// The editor's text came from Windows-1252, so one character is one byte and positions match.
char byteOf(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<char>(u);
    static const std::array<char16_t, 32> upper = [] {
        std::array<char16_t, 32> table{};
        for (int b = 0; b < 32; ++b) {
            const char byte = static_cast<char>(0x80 + b);
            const std::string utf8 = base::Windows1252ToUtf8(std::string_view(&byte, 1));
            table[static_cast<std::size_t>(b)] =
                QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).at(0).unicode();
        }
        return table;
    }();
    for (std::size_t b = 0; b < upper.size(); ++b)
        if (upper[b] == u) return static_cast<char>(0x80 + b);
    return '?';
}

} // namespace

QTextCharFormat NCHighlighter::FormatOf(ncgen::TNCTokenKind kind) {
    QTextCharFormat format;
    const ncgen::TNCAttribute* attribute = ncgen::AttributeOf(kind);
    if (!attribute) return format;
    if (!attribute->EditorColor) format.setForeground(ColorFromBgr(attribute->Color));
    format.setFontWeight(attribute->Bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(attribute->Italic);
    return format;
}

NCHighlighter::NCHighlighter(const ncgen::TNCFormat& format) : syn_(format) {
    for (std::size_t k = 0; k < formats_.size(); ++k) {
        const auto kind = static_cast<ncgen::TNCTokenKind>(k);
        formats_[k] = FormatOf(kind);
        // Blanks and comment-closing tokens keep the editor's plain format.
        const ncgen::TNCAttribute* attribute = ncgen::AttributeOf(kind);
        look_[k] = -1;
        if (!attribute || attribute->EditorColor) continue;
        look_[k] = static_cast<int>(k);
        for (std::size_t j = 0; j < k; ++j)
            if (look_[j] >= 0 && formats_[j] == formats_[k]) {
                look_[k] = static_cast<int>(j);
                break;
            }
    }
}

const std::vector<ncgen::TNCToken>& NCHighlighter::scan(const QString& line) {
    bytes_.resize(static_cast<std::size_t>(line.size()));
    for (qsizetype i = 0; i < line.size(); ++i)
        bytes_[static_cast<std::size_t>(i)] = byteOf(line.at(i));
    syn_.Scan(bytes_, tokens_);
    return tokens_;
}

const QList<QTextLayout::FormatRange>& NCHighlighter::Runs(const QString& line) {
    runs_.clear();
    int previousLook = -1;
    for (const ncgen::TNCToken& token : scan(line)) {
        const auto k = static_cast<std::size_t>(token.Kind);
        const int look = k < look_.size() ? look_[k] : -1;
        // Tokens have no gaps: the same look as the token before continues its run.
        if (look >= 0 && look == previousLook)
            runs_.back().length += token.Length;
        else if (look >= 0)
            runs_.append({token.Start, token.Length, formats_[static_cast<std::size_t>(look)]});
        previousLook = look;
    }
    return runs_;
}

} // namespace korvex::app
