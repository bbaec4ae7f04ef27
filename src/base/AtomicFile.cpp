#include "base/AtomicFile.h"

#include <fstream>
#include <random>

namespace korvex::base {

namespace fs = std::filesystem;

namespace {

fs::path temporarySibling(const fs::path& file) {
    std::random_device device;
    std::uniform_int_distribution<unsigned> digits(0, 0xFFFFFF);
    auto name = file.filename();
    name += ".tmp" + std::to_string(digits(device));
    return file.parent_path() / name;
}

} // namespace

bool IsReadOnly(const fs::path& file) {
    std::error_code ec;
    const auto status = fs::status(file, ec);
    if (ec || !fs::exists(status)) return false;
    constexpr auto anyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (status.permissions() & anyWrite) == fs::perms::none;
}

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
    std::error_code ec;
    if (IsReadOnly(file)) return false;
    if (fs::is_directory(file, ec)) return false;
    const fs::path temporary = temporarySibling(file);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            fs::remove(temporary, ec);
            return false;
        }
    }
    // Keep the permissions a user gave the existing file.
    const auto old = fs::status(file, ec);
    if (!ec && fs::exists(old)) fs::permissions(temporary, old.permissions(), ec);
    fs::rename(temporary, file, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

} // namespace korvex::base
