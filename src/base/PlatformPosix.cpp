#include "base/Platform.h"

#include "base/AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvex::base {

namespace fs = std::filesystem;

namespace {

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

// XDG_DOCUMENTS_DIR of user-dirs.dirs, with "$HOME" expanded; empty when it is not set.
fs::path xdgDocuments(const fs::path& home) {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const fs::path dirs =
        (configHome && *configHome ? fs::path(configHome) : home / ".config") / "user-dirs.dirs";
    std::ifstream in(dirs);
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(in, line)) {
        if (!line.starts_with(key)) continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.starts_with("$HOME")) return home / value.substr(value.size() > 5 ? 6 : 5);
        if (value.starts_with("/")) return value;
    }
    return {};
}

} // namespace

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

bool ReplaceFileContent(const fs::path& target, std::string_view bytes, const fs::path& temporary) {
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

fs::path ExecutableFolder() {
    std::error_code ec;
    const fs::path executable = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : executable.parent_path();
}

fs::path HomeFolder() {
    const char* home = std::getenv("HOME");
    return home && *home ? fs::path(home) : fs::path();
}

fs::path DocumentsFolder() {
    const fs::path home = HomeFolder();
    if (home.empty()) return {};
    const fs::path documents = xdgDocuments(home);
    return documents.empty() ? home / "Documents" : documents;
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

void UseBinaryStandardStreams() {}

} // namespace korvex::base
