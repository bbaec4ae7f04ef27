#pragma once

#include "base/TextMessage.h"
#include "content/ContentKind.h"
#include "datamatrix/TDatamatrix.h"

#include <string>
#include <string_view>

namespace korvex::content {

// What a scanner reports besides the bytes.
enum class TReaderContentType { Text, Gs1, Iso15434 };

// A layer's text made ready for the encoder, or the reason it cannot be.
struct TSymbolContent {
    base::TTextMessage Refusal; // empty when the content can be encoded
    std::string Code;           // the bytes for TDatamatrix::Code (Windows-1252)
    datamatrix::TCodewordMarks Marks;
    // The line under the symbol: "(01)09506000134352(17)261231" for GS1, the UII of format 06;
    // empty for a text.
    std::string HumanReadable;
    // What a reader returns: GS (0x1D) for each FNC1 separator, the 15434 envelope spelled out.
    std::string ReaderBytes;
    std::string SymbologyIdentifier = "]d1"; // ]d2 when FNC1 comes first (ISO/IEC 16022, N.1)
    TReaderContentType ReaderType = TReaderContentType::Text;
    bool Eci = false; // ECI 23 (Windows-1252) stands in front

    bool Ok() const { return Refusal.Empty(); }
};

// The text (Windows-1252; for ISO/IEC 15434 one data element per line, CR LF, LF or CR between
// them) as the given kind. A Text with none of the characters that Windows-1252 places at
// 0x80-0x9F is the bytes unchanged, as it has always been.
TSymbolContent PrepareContent(TContentKind kind, std::string_view text);

// What is said when no symbol size holds the content: a content kind names the largest
// symbol in the user's language; empty for a text, which keeps the system's range error.
base::TTextMessage TooLongForAnySymbol(TContentKind kind);

// Sets Code and Marks of the encoder.
void ApplyContent(const TSymbolContent& content, datamatrix::TDatamatrix& symbol);

// Whether Windows-1252 has a character of its own at this byte of 0x80-0x9F (27 of 32 do);
// ISO-8859-1, a reader's default, has control codes there.
bool NeedsEci(unsigned char byte);

} // namespace korvex::content
