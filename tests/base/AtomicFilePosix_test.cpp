#include "base/AtomicFile.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace korvex::base;
namespace fs = std::filesystem;

namespace {

std::size_t entries(const fs::path& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
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

// The name is written through links into the machine's share; the links stay links.
TEST(AtomicFile, WritingThroughALinkWritesItsTargetAndKeepsTheLink) {
    struct TCase {
        const char* name;
        fs::path link;   // below the scratch folder
        fs::path points; // what the (first) link holds
        fs::path second; // a second link in the chain, or empty
        bool targetExists;
    };
    const TCase cases[] = {
        {"relative link", "work/current.nc", "../share/prog.nc", "", true},
        {"link to a link", "work/current.nc", "../share/alias.nc", "share/alias.nc", true},
        {"link to a missing file", "work/current.nc", "../share/prog.nc", "", false},
    };
    for (const auto& c : cases) {
        TempFolder scratch;
        fs::create_directories(scratch / "work");
        fs::create_directories(scratch / "share");
        if (c.targetExists) writeBytes(scratch / "share/prog.nc", "old program");
        if (!c.second.empty()) fs::create_symlink("prog.nc", scratch.path() / c.second);
        fs::create_symlink(c.points, scratch.path() / c.link);

        ASSERT_TRUE(WriteFileAtomically(scratch.path() / c.link, "new program")) << c.name;
        EXPECT_TRUE(fs::is_symlink(scratch.path() / c.link)) << c.name;
        EXPECT_EQ(fs::read_symlink(scratch.path() / c.link), c.points) << c.name;
        EXPECT_EQ(readBytes(scratch / "share/prog.nc"), "new program") << c.name;
        EXPECT_EQ(entries(scratch / "work"), 1U) << c.name;
        EXPECT_EQ(entries(scratch / "share"), c.second.empty() ? 1U : 2U) << c.name;
    }
    // An absolute link, written as a relative name from inside its folder.
    TempFolder scratch;
    writeBytes(scratch / "prog.nc", "old");
    fs::create_symlink(scratch / "prog.nc", scratch / "current.nc");
    ASSERT_TRUE(WriteFileAtomically(scratch / "current.nc", "new"));
    EXPECT_TRUE(fs::is_symlink(scratch / "current.nc"));
    EXPECT_EQ(readBytes(scratch / "prog.nc"), "new");
}

TEST(AtomicFile, LinkLoopsAndSpecialFilesAreRefusedUntouched) {
    TempFolder scratch;
    fs::create_symlink("b.ini", scratch / "a.ini");
    fs::create_symlink("a.ini", scratch / "b.ini");
    EXPECT_FALSE(WriteFileAtomically(scratch / "a.ini", "x"));
    EXPECT_TRUE(fs::is_symlink(scratch / "a.ini"));
    EXPECT_TRUE(WriteTarget(scratch / "a.ini").empty());

    ASSERT_EQ(::mkfifo((scratch / "pipe.nc").c_str(), 0666), 0);
    EXPECT_FALSE(WriteFileAtomically(scratch / "pipe.nc", "x"));
    EXPECT_TRUE(fs::is_fifo(scratch / "pipe.nc")) << "replaced by a plain file";
    EXPECT_EQ(entries(scratch.path()), 3U);
}

// "-o /dev/null" was refused: a device takes the bytes, there is nothing to rename into place.
TEST(AtomicFile, CharacterDeviceIsWrittenThroughAndStaysADevice) {
    ASSERT_TRUE(WriteFileAtomically("/dev/null", "G0 X0\r\n"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    TempFolder scratch;
    fs::create_symlink("/dev/null", scratch / "sink.nc");
    ASSERT_TRUE(WriteFileAtomically(scratch / "sink.nc", "x", scratch / "sink.nc.tmp1"));
    EXPECT_TRUE(fs::is_symlink(scratch / "sink.nc"));
    EXPECT_EQ(entries(scratch.path()), 1U) << "no temporary file";
}

// Runs the write in a child process that has become another user, as a colleague at the
// same machine would. Needs the superuser to change user; the tests run as root in CI.
int writeAs(uid_t user, const fs::path& file) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(user) != 0 || ::setuid(user) != 0) ::_exit(3);
        ::_exit(WriteFileAtomically(file, "replaced") ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(AtomicFile, AnotherUsersFileInASharedFolderIsRefusedAndKeepsItsOwner) {
    if (::geteuid() != 0) GTEST_SKIP() << "changing user needs the superuser";
    constexpr uid_t colleague = 65534;
    TempFolder scratch;
    const fs::path shared = scratch / "shared";
    fs::create_directory(shared);
    fs::permissions(shared, fs::perms::all); // everybody may create and rename here
    const fs::path theirs = shared / "profil1.ini";
    writeBytes(theirs, "root's profile");
    fs::permissions(theirs, static_cast<fs::perms>(0644));

    EXPECT_EQ(writeAs(colleague, theirs), 1);
    EXPECT_EQ(readBytes(theirs), "root's profile");
    struct stat after {};
    ASSERT_EQ(::stat(theirs.c_str(), &after), 0);
    EXPECT_EQ(after.st_uid, 0U);
    EXPECT_EQ(after.st_mode & 07777, 0644U);
    EXPECT_EQ(entries(shared), 1U);

    // The same user may replace a file of its own there, so the refusal above is the rule's.
    const fs::path own = shared / "own.nc";
    writeBytes(own, "old");
    ASSERT_EQ(::chown(own.c_str(), colleague, colleague), 0);
    EXPECT_EQ(writeAs(colleague, own), 0);
    EXPECT_EQ(readBytes(own), "replaced");

    // The superuser replaces the colleague's group-writable file; it stays the colleague's.
    fs::permissions(own, static_cast<fs::perms>(0664));
    ASSERT_TRUE(WriteFileAtomically(own, "by root"));
    ASSERT_EQ(::stat(own.c_str(), &after), 0);
    EXPECT_EQ(after.st_uid, colleague);
    EXPECT_EQ(after.st_gid, colleague);
    EXPECT_EQ(after.st_mode & 07777, 0664U);
}

} // namespace
