#pragma once

#include <QString>

#include <filesystem>
#include <string>

namespace korvex::app {

// A QString path as the core's std::filesystem path.
std::filesystem::path ToPath(const QString& path);
QString FromPath(const std::filesystem::path& path);

// The separate editor's folder from the system-wide setting "Brevik/Path", value "Main";
// "?" when the setting cannot be read at all.
QString SeparateEditorFolder();

// Writes the program to folder + "Brevik.tmp" and starts the editor without waiting.
// Returns an empty text on success, else the reason to show.
QString HandOffToSeparateEditor(const QString& folder, const std::string& programBytes);

// The file of the help text, relative to the executable's folder.
QString HelpFile(const QString& relativeName);
enum class THelpOpening { Opened, NotFound, NoViewer };
THelpOpening OpenHelp(const QString& file);

} // namespace korvex::app
