#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::base {

// Replaces (or creates) a file with the given bytes through a temporary file in the same
// folder, flushed to disk, and a rename, so readers see either the old or the new content,
// never a part. A symbolic link is followed: its target gets the new content and the link
// stays. An existing file keeps its mode (and its owner and group where the system lets us).
// Returns false, leaving the target untouched, when the folder is missing, the target may not
// be written by this user (MayReplace) or the system refuses the write. A character device
// (a serial line to the machine, /dev/null) is written straight through, as no rename can put
// a file in its place.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes);

// The same through a temporary file the caller names (beside the file a write to this name
// reaches, see WriteTarget), for a writer that must know it beforehand to clean up after a
// crash. The temporary must not exist yet.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                         const std::filesystem::path& temporary);

// True for a character device, which takes bytes but cannot be replaced. A pipe is none: with
// nobody reading, a write to it would wait for ever.
bool IsCharacterDevice(const std::filesystem::path& file);

// The whole file as bytes; false when it cannot be opened.
bool ReadFileBytes(const std::filesystem::path& file, std::string& bytes);

// True when the file exists and carries no write permission for anybody (the read-only
// attribute of other systems); such files are never replaced.
bool IsReadOnly(const std::filesystem::path& file);

// The file a write to this name reaches: symbolic links followed, each relative target taken
// from the folder of its link. The name itself when it is no link; empty for a loop.
std::filesystem::path WriteTarget(const std::filesystem::path& file);

// Who writes: the effective user and every group it belongs to.
struct TWriter {
    std::uint32_t User = 0;
    std::vector<std::uint32_t> Groups;
};

// An existing file as the permission rule sees it.
struct TFileAccess {
    std::filesystem::perms Mode = std::filesystem::perms::none;
    std::uint32_t Owner = 0;
    std::uint32_t Group = 0;
};

// The rename that replaces a file needs only the folder's permission, so the file's own
// permission is checked here, the way the system checks an open for writing: the owner's bits
// for the owner, the group's bits for a member, the others' bits for everybody else. The
// superuser may replace any file that has a write bit at all; one without any is read-only
// for everybody.
bool MayReplace(const TFileAccess& file, const TWriter& writer);

// The running process as a writer.
TWriter CurrentWriter();

} // namespace korvex::base
