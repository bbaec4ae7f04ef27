#include "base/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
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

TWriter CurrentWriter() {
    TWriter writer;
    writer.User = ::geteuid();
    writer.Groups.push_back(::getegid());
    const int count = ::getgroups(0, nullptr);
    if (count > 0) {
        std::vector<gid_t> groups(static_cast<std::size_t>(count));
        const int got = ::getgroups(count, groups.data());
        for (int i = 0; i < got; ++i)
            writer.Groups.push_back(groups[static_cast<std::size_t>(i)]);
    }
    return writer;
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
    return WriteFileAtomically(file, bytes, temporarySibling(target));
}

bool WriteFileAtomically(const fs::path& file, std::string_view bytes, const fs::path& temporary) {
    // Renaming onto a link would replace the link and leave the file it names unchanged.
    const fs::path target = WriteTarget(file);
    if (target.empty()) return false;

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    const TWriter writer = CurrentWriter();
    if (exists) {
        // A device or pipe would be replaced by a plain file.
        if (!S_ISREG(old.st_mode)) return false;
        const TFileAccess access{static_cast<fs::perms>(old.st_mode & 07777), old.st_uid,
                                 old.st_gid};
        if (!MayReplace(access, writer)) return false;
    }

    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    bool ok = writeAll(fd, bytes);
    if (ok && exists) {
        // The replacement is another file: give it the old one's group (and owner, which only
        // the superuser may give away) and mode, so whoever could use it still can.
        const uid_t owner = writer.User == 0 ? old.st_uid : static_cast<uid_t>(-1);
        [[maybe_unused]] const int kept = ::fchown(fd, owner, old.st_gid);
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    }
    // Flushed before the rename, so a power cut leaves the old content or the new, never an
    // empty file.
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok) ok = ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(temporary.c_str());
    return ok;
}

} // namespace korvex::base
