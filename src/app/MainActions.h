#pragma once

namespace korvex::app {

class MainCommands;
class Messages;
namespace Ui {
class TMainForm;
}

// The window's commands as menus, toolbars and keys. TMainForm.ui lays the menus and the
// toolbar out; this gives the buttons their pictures, builds the editor's toolbar, and ties
// every action to the command it runs.
void SetUpActions(MainCommands& form, Ui::TMainForm& ui, const Messages& messages);

// The texts the caption table has no line for: the view menu speaks as the view bar does.
void ApplyActionTexts(Ui::TMainForm& ui, const Messages& messages);

} // namespace korvex::app
