#include "base/AtomicFile.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

using namespace korvex::base;
namespace fs = std::filesystem;

namespace {

constexpr std::size_t ContentSize = 4 << 20;

// Started again with this variable naming a file, the test program replaces that file with
// 'a's and 'b's by turns until it is killed, before GoogleTest runs anything.
const wchar_t* const WriterVariable = L"KORVEX_TEST_REPLACE_UNTIL_KILLED";
[[maybe_unused]] const bool writerStarted = [] {
    wchar_t file[32768];
    if (::GetEnvironmentVariableW(WriterVariable, file, 32768) == 0) return false;
    const std::string a(ContentSize, 'a'), b(ContentSize, 'b');
    for (bool first = true;; first = !first)
        WriteFileAtomically(fs::path(file), first ? a : b);
}();

// Whole old content, or a whole replacement, and nothing else.
bool isWhole(const std::string& bytes, const std::string& old) {
    if (bytes == old) return true;
    return bytes.size() == ContentSize &&
           bytes.find_first_not_of(bytes.front()) == std::string::npos;
}

TEST(AtomicFileWindows, AWriterKilledAtAnyMomentLeavesAWholeFile) {
    TempFolder scratch;
    const fs::path file = scratch / "Auftrag 17.nc";
    const std::string old = "N10 G0 X0 Y0\r\nM30";
    wchar_t self[32768];
    ASSERT_GT(::GetModuleFileNameW(nullptr, self, 32768), 0U);
    for (const DWORD killAfter : {0, 30, 150, 400}) {
        writeBytes(file, old);
        ASSERT_TRUE(::SetEnvironmentVariableW(WriterVariable, file.c_str()));
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child{};
        std::wstring commandLine = L"\"" + std::wstring(self) + L"\"";
        const BOOL started = ::CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0,
                                              nullptr, nullptr, &startup, &child);
        ::SetEnvironmentVariableW(WriterVariable, nullptr);
        ASSERT_TRUE(started);
        ::Sleep(killAfter);
        ::TerminateProcess(child.hProcess, 9);
        ::WaitForSingleObject(child.hProcess, INFINITE);
        ::CloseHandle(child.hThread);
        ::CloseHandle(child.hProcess);
        EXPECT_TRUE(isWhole(readBytes(file), old)) << "killed after " << killAfter << " ms";
        // What the killed writer left beside the file does not stand in the way.
        EXPECT_TRUE(WriteFileAtomically(file, "next")) << killAfter;
        EXPECT_EQ(readBytes(file), "next");
    }
}

TEST(AtomicFileWindows, TheReadOnlyAttributeIsRefusedAndTheFileKept) {
    TempFolder scratch;
    const fs::path file = scratch / "profil1.ini";
    writeBytes(file, "[set]");
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(IsReadOnly(file));
    EXPECT_FALSE(WriteFileAtomically(file, "[changed]"));
    EXPECT_EQ(readBytes(file), "[set]");
    EXPECT_TRUE(::GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path()), fs::directory_iterator()), 1);
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Folder and file names as a German shop gives them, created, replaced and read back; a
// hidden file stays hidden.
TEST(AtomicFileWindows, NamesWithUmlautsAndBlanksAreWrittenAndReplaced) {
    struct TCase {
        const wchar_t* folder;
        const wchar_t* name;
        DWORD attributes;
    };
    const TCase cases[] = {
        {L"Auftr\u00e4ge 2026", L"Pr\u00fcfteil \u00d6lpumpe.nc", FILE_ATTRIBUTE_ARCHIVE},
        {L"Gro\u00dfe Teile", L"Welle \u20ac 1.ncm", FILE_ATTRIBUTE_ARCHIVE},
        {L"Einstellungen", L"m\u00e4in.ini", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE},
    };
    for (const auto& c : cases) {
        TempFolder scratch;
        const fs::path folder = scratch.path() / c.folder;
        fs::create_directory(folder);
        const fs::path file = folder / c.name;
        ASSERT_TRUE(WriteFileAtomically(file, "alt\r\n")) << "case " << &c - cases;
        ASSERT_TRUE(::SetFileAttributesW(file.c_str(), c.attributes));
        ASSERT_TRUE(WriteFileAtomically(file, "neu\r\n")) << "case " << &c - cases;
        std::string back;
        ASSERT_TRUE(ReadFileBytes(file, back));
        EXPECT_EQ(back, "neu\r\n");
        EXPECT_EQ(::GetFileAttributesW(file.c_str()) & ~FILE_ATTRIBUTE_ARCHIVE,
                  c.attributes & ~FILE_ATTRIBUTE_ARCHIVE)
            << "case " << &c - cases;
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
        ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

} // namespace
