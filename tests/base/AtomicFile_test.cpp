#include "base/AtomicFile.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

using namespace korvex::base;
namespace fs = std::filesystem;

namespace {

std::size_t entries(const fs::path& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(AtomicFile, EveryByteArrivesUnchangedAndReadsBack) {
    TempFolder scratch;
    const fs::path file = scratch / "program.nc";
    const std::string bytes("N10 G0\r\nX\xE9\x80\xFF\0Y\n\rend", 20);
    ASSERT_TRUE(WriteFileAtomically(file, bytes));
    EXPECT_EQ(readBytes(file), bytes);
    std::string back = "stale";
    ASSERT_TRUE(ReadFileBytes(file, back));
    EXPECT_EQ(back, bytes);
}

TEST(AtomicFile, ReadOnlyTargetIsRefusedAndKeepsItsContent) {
    TempFolder scratch;
    const fs::path dir = scratch.path();
    const fs::path file = dir / "job.ncm";
    std::ofstream(file) << "old";
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_TRUE(IsReadOnly(file));
    EXPECT_FALSE(WriteFileAtomically(file, "new"));
    EXPECT_EQ(readBytes(file), "old");
    EXPECT_EQ(entries(dir), 1U);
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_FALSE(IsReadOnly(file));
}

TEST(AtomicFile, TargetsThatCannotBeWrittenFailWithoutLeavingTemporaries) {
    TempFolder scratch;
    const fs::path dir = scratch.path();
    fs::create_directories(dir / "folder" / "inside");
    EXPECT_FALSE(WriteFileAtomically(dir / "folder", "x"));
    EXPECT_TRUE(fs::is_directory(dir / "folder" / "inside"));
    EXPECT_FALSE(WriteFileAtomically(dir / "missing" / "file.nc", "x"));
    EXPECT_EQ(entries(dir), 1U);
    EXPECT_FALSE(IsReadOnly(dir / "missing" / "file.nc"));
}

// The permission rule as the system applies it to an open for writing: the first class that
// matches the writer decides, and only a file with no write bit is closed to the superuser.
TEST(AtomicFile, MayReplaceOnlyWhatTheWriterMayWrite) {
    const TWriter anna{1000, {100, 20}};
    const TWriter root{0, {0}};
    const auto mode = [](unsigned bits) { return static_cast<fs::perms>(bits); };
    struct TCase {
        const char* name;
        unsigned mode;
        std::uint32_t owner, group;
        TWriter writer;
        bool allowed;
    };
    const TCase cases[] = {
        {"own 0644", 0644, 1000, 100, anna, true},
        {"own 0444", 0444, 1000, 100, anna, false},
        {"own 0466: the owner's bits decide", 0466, 1000, 100, anna, false},
        {"colleague's 0644 in a shared folder", 0644, 2000, 300, anna, false},
        {"colleague's 0664, same group", 0664, 2000, 100, anna, true},
        {"colleague's 0664, supplementary group", 0664, 2000, 20, anna, true},
        {"colleague's 0646, same group: the group's bits decide", 0646, 2000, 100, anna, false},
        {"colleague's 0666", 0666, 2000, 300, anna, true},
        {"root on another user's 0644", 0644, 2000, 300, root, true},
        {"root on a read-only file", 0444, 2000, 300, root, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MayReplace({mode(c.mode), c.owner, c.group}, c.writer), c.allowed) << c.name;
}

TEST(AtomicFile, ReadingAFolderOrAMissingFileFails) {
    TempFolder scratch;
    const fs::path dir = scratch.path();
    std::string bytes;
    EXPECT_FALSE(ReadFileBytes(dir, bytes));
    EXPECT_FALSE(ReadFileBytes(dir / "none.ncm", bytes));
    std::ofstream(dir / "empty.ncm").close();
    bytes = "stale";
    EXPECT_TRUE(ReadFileBytes(dir / "empty.ncm", bytes));
    EXPECT_TRUE(bytes.empty());
}

} // namespace
