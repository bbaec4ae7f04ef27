#include "content/ContentKind.h"

namespace korvex::content {

namespace {

bool sameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

} // namespace

std::string_view ContentFileName(TContentKind kind) {
    return CONTENT_FILE_NAMES[static_cast<int>(kind)];
}

std::string_view ContentOptionName(TContentKind kind) {
    return CONTENT_OPTION_NAMES[static_cast<int>(kind)];
}

std::string ContentOptionList(std::string_view between, std::string_view beforeLast) {
    std::string list(ContentOptionName(TContentKind(0)));
    for (int i = 1; i < CONTENT_KIND_COUNT; ++i)
        list.append(i + 1 < CONTENT_KIND_COUNT ? between : beforeLast)
            .append(ContentOptionName(TContentKind(i)));
    return list;
}

std::optional<TContentKind> ContentKindFromName(std::string_view name) {
    for (int i = 0; i < CONTENT_KIND_COUNT; ++i)
        if (sameLetters(name, CONTENT_FILE_NAMES[i])) return static_cast<TContentKind>(i);
    return std::nullopt;
}

} // namespace korvex::content
