#pragma once

#include <QString>

#include <filesystem>
#include <string>

namespace korvex::app {

class Messages;

// A QString path as the core's std::filesystem path.
std::filesystem::path ToPath(const QString& path);
QString FromPath(const std::filesystem::path& path);

// The separate editor's folder from the system-wide setting "Brevik/Path", value "Main";
// "?" when the setting cannot be read at all.
QString SeparateEditorFolder();

// The file the separate editor is given the program in: folder + "Brevik.tmp".
std::filesystem::path SeparateEditorFile(const QString& folder);
// Starts the separate editor of the folder without waiting; empty, or why it did not start.
QString StartSeparateEditor(const QString& folder);

// The file of the help text, relative to the executable's folder.
QString HelpFile(const QString& relativeName);
enum class THelpOpening { Opened, NotFound, NoViewer };
THelpOpening OpenHelp(const QString& file);
// Opens the help file of the user's language, or says why it cannot.
void ShowHelp(const Messages& messages);

} // namespace korvex::app
