#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace korvex::content {

// What the text of a layer stands for. Text is the text taken literally, as always.
enum class TContentKind { Text, Gs1, Iso15434Format05, Iso15434Format06, Iso15434Format12 };

inline constexpr int CONTENT_KIND_COUNT = 5;

// The names of the .ncm line "CONTENT name" (Text has no line) and of korvex-cli's --content.
inline constexpr std::array<std::string_view, CONTENT_KIND_COUNT> CONTENT_FILE_NAMES = {
    "TEXT", "GS1", "ISO15434-05", "ISO15434-06", "ISO15434-12"};
inline constexpr std::array<std::string_view, CONTENT_KIND_COUNT> CONTENT_OPTION_NAMES = {
    "text", "gs1", "iso15434-05", "iso15434-06", "iso15434-12"};

std::string_view ContentFileName(TContentKind kind);
std::string_view ContentOptionName(TContentKind kind);
// Every kind's option name, for usage lines: joined by `between`, the last by `beforeLast`.
std::string ContentOptionList(std::string_view between, std::string_view beforeLast);
// Case-insensitive, so a hand-edited file or a typed option in capitals still counts.
std::optional<TContentKind> ContentKindFromName(std::string_view name);

inline constexpr bool IsIso15434(TContentKind kind) {
    return kind == TContentKind::Iso15434Format05 || kind == TContentKind::Iso15434Format06 ||
           kind == TContentKind::Iso15434Format12;
}

} // namespace korvex::content
