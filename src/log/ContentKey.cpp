#include "log/ContentKey.h"

#include "content/ContentKind.h"
#include "content/Gs1Content.h"
#include "content/SymbolContent.h"

#include <algorithm>

namespace korvex::log {

std::string ContentKey(std::string_view contentKind, std::string_view text) {
    using content::TContentKind;
    const auto kind = content::ContentKindFromName(contentKind);
    const std::string raw = std::string(contentKind) + ':' + std::string(text);
    if (!kind) return raw;
    const content::TSymbolContent prepared = content::PrepareContent(*kind, text);
    if (!prepared.Ok()) return raw;
    if (*kind == TContentKind::Gs1 || *kind == TContentKind::Iso15434Format05) {
        content::TGs1Parse parse = content::ParseGs1(prepared.HumanReadable);
        if (!parse.Ok()) return raw;
        std::sort(parse.Elements.begin(), parse.Elements.end(), [](const auto& a, const auto& b) {
            return a.Ai != b.Ai ? a.Ai < b.Ai : a.Data < b.Data;
        });
        return "GS1:" + content::Gs1HumanReadable(parse.Elements);
    }
    if (*kind == TContentKind::Iso15434Format06) return "UII:" + prepared.HumanReadable;
    return std::string(content::ContentFileName(*kind)) + ':' + prepared.ReaderBytes;
}

} // namespace korvex::log
