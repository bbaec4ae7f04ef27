#pragma once

#include <array>

namespace korvex::config {

// Language texts that dialogs set on themselves when they are shown (outside the caption table).
inline constexpr int SymbolDialogCancel = 5101;     // "&Abbrechen" of the symbol dialog
inline constexpr int SymbolDialogPreview = 5102;    // label "Vorschau"
inline constexpr int SymbolDialogSize = 5103;       // label "Symbolgröße"
inline constexpr int SymbolDialogEncodation = 5104; // label "Kodierung"

// The information dialog: caption, lines of its text and its buttons, in display order.
inline constexpr std::array<int, 13> INFORMATION_DIALOG_TEXTS = {
    6001, 6002, 6003, 6004, 6005, 6006, 6007, 6008, 6009, 6010, 6108, 6051, 6052};

} // namespace korvex::config
