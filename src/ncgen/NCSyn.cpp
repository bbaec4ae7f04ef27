#include "ncgen/NCSyn.h"

namespace korvex::ncgen {
namespace {

constexpr unsigned char NoCharacter = 255;

unsigned char firstCharacter(const std::string& text) {
    return text.empty() ? NoCharacter : static_cast<unsigned char>(text.front());
}

bool isBlank(unsigned char c) {
    return (c >= 1 && c <= 9) || c == 11 || c == 12 || (c >= 14 && c <= 32);
}

bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

bool isNumberCharacter(unsigned char c) {
    return c == '+' || c == ',' || c == '-' || c == '.' || isDigit(c);
}

} // namespace

const std::array<TNCAttribute, 8> NCAttributes = {{
    {"Comment", 0x00808080, false, true, true},
    {"Identifier", 0x00808080, false, true, true},
    {"Label", 0x000000FF, false, true, false},
    {"Key", 0x0000FF00, false, false, false},
    {"Number", 0x00800000, false, true, false},
    {"Marker", 0x00808080, false, false, true},
    {"Space", 0, true, false, false},
    {"Symbol", 0x0000FF00, false, false, false},
}};

const TNCAttribute* AttributeOf(TNCTokenKind kind) {
    switch (kind) {
    case TNCTokenKind::Comment:
        return &NCAttributes[0];
    case TNCTokenKind::Other:
        return &NCAttributes[1];
    case TNCTokenKind::AddressLetter:
        return &NCAttributes[2];
    case TNCTokenKind::Number:
        return &NCAttributes[4];
    case TNCTokenKind::BlockNumber:
        return &NCAttributes[5];
    case TNCTokenKind::Blank:
        return &NCAttributes[6];
    case TNCTokenKind::CommentClosing:
        break;
    }
    return nullptr;
}

TNCCommentCharacters CommentCharactersOf(const TNCFormat& format) {
    return {firstCharacter(format.Komstart), firstCharacter(format.Komende)};
}

TNCSyn::TNCSyn(const TNCFormat& lastUsedFormat) : TNCSyn(CommentCharactersOf(lastUsedFormat)) {}

TNCSyn::TNCSyn(TNCCommentCharacters comments) : comments_(comments) {
    for (int code = 0; code < 256; ++code) {
        const auto c = static_cast<unsigned char>(code);
        TScanner scanner = TScanner::Other;
        // First rule that applies: the comment characters win over their usual meaning.
        if (c == comments.Closing) {
            scanner = TScanner::CommentClosing;
        } else if (c == comments.Opening) {
            scanner = TScanner::Comment;
        } else if (c == 0) {
            scanner = TScanner::EndOfLine;
        } else if (c == '\r') {
            scanner = TScanner::LineEnd;
        } else if (c == '\n') {
            scanner = TScanner::SingleLF;
        } else if (isBlank(c)) {
            scanner = TScanner::Blank;
        } else if (isNumberCharacter(c)) {
            scanner = TScanner::Number;
        } else if (c == 'N') {
            scanner = TScanner::BlockNumber;
        } else if (c >= 'A' && c <= 'Z') {
            scanner = TScanner::AddressLetter;
        }
        table_[c] = scanner;
    }
}

std::vector<TNCToken> TNCSyn::Scan(std::string_view line) const {
    std::vector<TNCToken> tokens;
    Scan(line, tokens);
    return tokens;
}

void TNCSyn::Scan(std::string_view line, std::vector<TNCToken>& tokens) const {
    tokens.clear();
    const std::size_t size = line.size();
    // Past its end the line reads as the NUL that ends it, which no continuation accepts.
    const auto at = [&](std::size_t i) {
        return i < size ? static_cast<unsigned char>(line[i]) : static_cast<unsigned char>(0);
    };
    const auto skipWhile = [&](std::size_t i, auto accepts) {
        while (accepts(at(i))) {
            ++i;
        }
        return i;
    };
    std::size_t run = 0;
    // The end of the text ends the line even when NUL is a comment character.
    while (run < size) {
        const std::size_t start = run;
        TNCTokenKind kind = TNCTokenKind::Other;
        switch (table_[at(run)]) {
        case TScanner::EndOfLine:
            return;
        case TScanner::LineEnd:
            kind = TNCTokenKind::Blank;
            run += at(run + 1) == '\n' ? 2 : 1;
            break;
        case TScanner::SingleLF:
            kind = TNCTokenKind::Blank;
            ++run;
            break;
        case TScanner::Blank:
            kind = TNCTokenKind::Blank;
            run = skipWhile(run + 1, isBlank);
            break;
        case TScanner::Number:
            kind = TNCTokenKind::Number;
            run = skipWhile(run + 1, isNumberCharacter);
            break;
        case TScanner::BlockNumber:
            kind = TNCTokenKind::BlockNumber;
            run = skipWhile(run + 1, [](unsigned char c) { return c == ' ' || isDigit(c); });
            break;
        case TScanner::AddressLetter:
            kind = TNCTokenKind::AddressLetter;
            ++run;
            break;
        case TScanner::Other:
            kind = TNCTokenKind::Other;
            ++run;
            break;
        case TScanner::CommentClosing:
            kind = TNCTokenKind::CommentClosing;
            ++run;
            break;
        case TScanner::Comment:
            kind = TNCTokenKind::Comment;
            ++run;
            while (run < size) {
                const unsigned char c = at(run);
                if (c == 0 || c == '\r' || c == '\n') {
                    break;
                }
                ++run;
                if (c == comments_.Closing) {
                    break;
                }
            }
            break;
        }
        tokens.push_back({kind, static_cast<int>(start), static_cast<int>(run - start)});
    }
}

} // namespace korvex::ncgen
