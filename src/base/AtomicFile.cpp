#include "base/AtomicFile.h"

#include "base/Platform.h"

#include <algorithm>
#include <fstream>
#include <random>

namespace korvex::base {

namespace fs = std::filesystem;

fs::path TemporarySibling(const fs::path& file) {
    std::random_device device;
    std::uniform_int_distribution<unsigned> digits(0, 0xFFFFFF);
    auto name = file.filename();
    name += ".tmp" + std::to_string(digits(device));
    return file.parent_path() / name;
}

bool IsReadOnly(const fs::path& file) {
    std::error_code ec;
    const auto status = fs::status(file, ec);
    if (ec || !fs::exists(status)) return false;
    constexpr auto anyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (status.permissions() & anyWrite) == fs::perms::none;
}

bool MayReplace(const TFileAccess& file, const TWriter& writer) {
    using fs::perms;
    const auto has = [&file](perms bit) { return (file.Mode & bit) != perms::none; };
    if (!has(perms::owner_write) && !has(perms::group_write) && !has(perms::others_write))
        return false;
    if (writer.User == 0) return true;
    if (file.Owner == writer.User) return has(perms::owner_write);
    if (std::ranges::find(writer.Groups, file.Group) != writer.Groups.end())
        return has(perms::group_write);
    return has(perms::others_write);
}

fs::path WriteTarget(const fs::path& file) {
    fs::path target = file;
    // The system gives up after 40 links as well.
    for (int links = 0; links <= 40; ++links) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(target, ec))) return target;
        const fs::path next = fs::read_symlink(target, ec);
        if (ec) return {};
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return {};
}

namespace {

// A device cannot be replaced by a rename: it takes the bytes as they come.
bool writeThrough(const fs::path& device, std::string_view bytes) {
    std::ofstream out(device, std::ios::binary | std::ios::app);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    return static_cast<bool>(out);
}

} // namespace

bool ReadFileBytes(const fs::path& file, std::string& bytes) {
    std::error_code ec;
    if (fs::is_directory(file, ec)) return false;
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    try {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::exception&) {
        return false; // the stream library reports some read errors by throwing
    }
    return !in.bad();
}

bool WriteFileAtomically(const fs::path& file, std::string_view bytes) {
    const fs::path target = WriteTarget(file);
    if (target.empty()) return false;
    return WriteFileAtomically(file, bytes, TemporarySibling(target));
}

bool WriteFileAtomically(const fs::path& file, std::string_view bytes, const fs::path& temporary) {
    // Renaming onto a link would replace the link and leave the file it names unchanged.
    const fs::path target = WriteTarget(file);
    if (target.empty()) return false;
    if (IsCharacterDevice(target)) return writeThrough(target, bytes);
    return ReplaceFileContent(target, bytes, temporary);
}

bool IsCharacterDevice(const fs::path& file) {
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    return !ec && fs::is_character_file(status);
}

} // namespace korvex::base
