#pragma once

#include <span>

namespace korvex::config {

// Where a language text goes when a language is loaded: the window class, and the objectName
// of its control, or an empty name for the window's own caption.
struct TCaption {
    int number;
    const char* window; // "TMainForm", "TEinstellungen" or "TFSymbol"
    const char* objectName;
};

// The caption table in the order the texts are applied.
std::span<const TCaption> CaptionTable();

} // namespace korvex::config
