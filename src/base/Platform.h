#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// What differs between the systems Korvex runs on, each defined once per system
// (PlatformPosix.cpp, PlatformWindows.cpp); everything else in the core is the same everywhere.
namespace korvex::base {

// Puts the bytes in the place of the file in one step: a temporary file beside it, flushed to
// disk, then moved over it, so a reader or a crash sees the old content or the new, never a
// part. The file is no link (see WriteTarget). An existing file keeps what the system keeps
// with it (mode, owner and group on POSIX; attributes on Windows). Returns false and leaves the
// file as it was when it is read-only for this user, no plain file, or the system refuses.
// The temporary is named by the caller, so a log can record it before it exists.
bool ReplaceFileContent(const std::filesystem::path& file, std::string_view bytes,
                        const std::filesystem::path& temporary);

// A name beside the file for the temporary of ReplaceFileContent.
std::filesystem::path TemporarySibling(const std::filesystem::path& file);

// The folder of the running executable; empty when the system does not tell.
std::filesystem::path ExecutableFolder();

// The documents folder below which the configuration folder lives; empty when the system
// names none. POSIX: XDG_DOCUMENTS_DIR of user-dirs.dirs, else $HOME/Documents (both may be
// missing). Windows: the public documents folder, else the registry's "Common Documents".
std::filesystem::path DocumentsFolder();

// The user's home folder where the system has one to fall back on; empty on Windows, whose
// rule ends with the registry.
std::filesystem::path HomeFolder();

// The command line's arguments after the program name, as UTF-8 whatever the system's code page.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Standard output and error pass bytes unchanged, so a program written there keeps its CR LF
// and gains no second CR on Windows.
void UseBinaryStandardStreams();

} // namespace korvex::base
