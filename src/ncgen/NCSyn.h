#pragma once

#include "ncgen/NCFormat.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace korvex::ncgen {

// What a run of characters in an NC line is; the editor paints each kind with its attribute.
enum class TNCTokenKind : std::uint8_t {
    Comment,        // CommentAttri
    AddressLetter,  // LabelAttri
    Number,         // NumberAttri
    Blank,          // SpaceAttri: spaces, control characters, line ends
    BlockNumber,    // SatzAttri
    Other,          // IdentifierAttri
    CommentClosing, // a closing character outside a comment: the editor's plain colours
};

// Kind, first character and length of one token. Positions count the bytes of the 8-bit line,
// one per character of the editor's text converted to Windows-1252.
struct TNCToken {
    TNCTokenKind Kind = TNCTokenKind::Other;
    int Start = 0;
    int Length = 0;

    bool operator==(const TNCToken&) const = default;
};

// Code 255 stands for an empty comment text.
struct TNCCommentCharacters {
    unsigned char Opening = 255;
    unsigned char Closing = 255;

    bool operator==(const TNCCommentCharacters&) const = default;
};

// First characters of Komstart and Komende of the format the program was generated with.
TNCCommentCharacters CommentCharactersOf(const TNCFormat& format);

// How a kind is painted. Colours are 0x00BBGGRR like the settings files'.
struct TNCAttribute {
    std::string_view Name;
    std::uint32_t Color = 0;
    bool EditorColor = false; // the editor's own foreground instead of Color
    bool Bold = false;
    bool Italic = false;
};

// The eight attributes in the order the highlighter registers them; KeyAttri and SymbolAttri
// paint no token.
extern const std::array<TNCAttribute, 8> NCAttributes;

// The attribute of a kind, or nullptr for a comment-closing token (plain editor colours).
const TNCAttribute* AttributeOf(TNCTokenKind kind);

// The NC highlighter's scanner: a character table built once from the comment characters,
// then one pass per line. Lines scan independently (a comment ends with its line at the
// latest), so the editor's per-block state carries nothing.
class TNCSyn {
  public:
    explicit TNCSyn(TNCCommentCharacters comments);
    explicit TNCSyn(const TNCFormat& lastUsedFormat);

    TNCCommentCharacters CommentCharacters() const { return comments_; }

    // Token runs of one line of 8-bit text, in order and without gaps, up to the end of the
    // text or a NUL character, whichever comes first.
    std::vector<TNCToken> Scan(std::string_view line) const;
    // The same into `tokens` (emptied first), to reuse its storage line after line.
    void Scan(std::string_view line, std::vector<TNCToken>& tokens) const;

  private:
    enum class TScanner : std::uint8_t {
        EndOfLine,
        LineEnd,
        SingleLF,
        Blank,
        Number,
        BlockNumber,
        AddressLetter,
        Other,
        CommentClosing,
        Comment,
    };

    TNCCommentCharacters comments_;
    std::array<TScanner, 256> table_{};
};

} // namespace korvex::ncgen
