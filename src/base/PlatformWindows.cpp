#include "base/Platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <knownfolders.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>

namespace korvex::base {

namespace fs = std::filesystem;

namespace {

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1U << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// What a replacement may carry over; the rest (directory, device, reparse point ...) is not
// ours to set.
constexpr DWORD KeptAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                 FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

std::string utf8(const wchar_t* text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string result(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    result.pop_back(); // the terminating zero
    return result;
}

// The registry's answer when the shell gives no common documents folder.
fs::path registryCommonDocuments() {
    wchar_t value[MAX_PATH * 2] = {};
    DWORD size = sizeof(value);
    const LSTATUS status =
        ::RegGetValueW(HKEY_LOCAL_MACHINE,
                       L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                       L"Common Documents", RRF_RT_REG_SZ, nullptr, value, &size);
    return status == ERROR_SUCCESS ? fs::path(value) : fs::path();
}

} // namespace

bool ReplaceFileContent(const fs::path& target, std::string_view bytes, const fs::path& temporary) {
    const DWORD old = ::GetFileAttributesW(target.c_str());
    const bool exists = old != INVALID_FILE_ATTRIBUTES;
    if (exists) {
        // The read-only attribute is the user's "do not overwrite", as a file without write
        // permission is on POSIX; a folder or device would be replaced by a plain file.
        if (old & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE))
            return false;
    }

    const HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = writeAll(file, bytes);
    // Flushed before the move, so a power cut leaves the old content or the new, never an empty
    // file.
    ok = ok && ::FlushFileBuffers(file);
    ok = ::CloseHandle(file) && ok;
    // The attributes go onto the replacement before it moves, so the file is never without
    // them. Not ReplaceFileW: it merges the two files in steps that, under Wine at least, can
    // leave a part-written file when the process dies; a rename cannot.
    const DWORD kept = exists ? old & KeptAttributes : 0;
    if (ok && kept) ok = ::SetFileAttributesW(temporary.c_str(), kept);
    ok = ok && ::MoveFileExW(temporary.c_str(), target.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) ::DeleteFileW(temporary.c_str());
    return ok;
}

fs::path ExecutableFolder() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return {};
        if (length < name.size()) {
            name.resize(length);
            return fs::path(name).parent_path();
        }
        if (name.size() >= 32768) return {}; // longer than any path the system allows
        name.resize(name.size() * 2);
    }
}

fs::path DocumentsFolder() {
    PWSTR shell = nullptr;
    fs::path folder;
    if (::SHGetKnownFolderPath(FOLDERID_PublicDocuments, 0, nullptr, &shell) == S_OK && shell)
        folder = fs::path(shell);
    ::CoTaskMemFree(shell);
    return folder.empty() ? registryCommonDocuments() : folder;
}

fs::path HomeFolder() {
    return {};
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    // argv holds the arguments in the ANSI code page, which cannot spell every file name.
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide)
        return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc)
                        : std::vector<std::string>();
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(utf8(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

void UseBinaryStandardStreams() {
    std::fflush(stdout);
    std::fflush(stderr);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    // Messages are UTF-8; a console shows them as such only when told.
    ::SetConsoleOutputCP(CP_UTF8);
}

} // namespace korvex::base
