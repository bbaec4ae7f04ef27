#pragma once

class QWidget;

namespace korvex::config {
class TLanguageTexts;
}

namespace korvex::app {

// Puts the language texts of the caption table onto the controls of one window, found by
// objectName: buttons, labels, actions, menus, tab pages, or the window title for an empty name.
// A menu text that is also a window title loses its "&".
void ApplyCaptions(QWidget* window, const char* windowClass, const config::TLanguageTexts& texts);

} // namespace korvex::app
