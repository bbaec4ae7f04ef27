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

TEST(AtomicFile, ReplacingKeepsThePermissionsTheUserGaveTheFile) {
    TempFolder scratch;
    const fs::path dir = scratch.path();
    const fs::path file = dir / "main.ini";
    std::ofstream(file) << "a much longer old content than the new one";
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(file, perms);
    ASSERT_TRUE(WriteFileAtomically(file, "new"));
    EXPECT_EQ(readBytes(file), "new"); // no tail of the old content
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, perms);
    EXPECT_EQ(entries(dir), 1U); // the temporary was renamed, not left beside
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
