#include "config/ConfigFolder.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>

namespace fs = std::filesystem;

namespace {

// Sets an environment variable for one test and puts the old value back.
class TScopedVariable {
  public:
    TScopedVariable(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~TScopedVariable() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    TScopedVariable(const TScopedVariable&) = delete;
    TScopedVariable& operator=(const TScopedVariable&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// The window once took the documents folder the desktop names even where it did not exist
// and lay outside the home (created at start), while korvex-cli fell back to the home: the
// two kept their settings in different folders. Both now ask DefaultConfigFolder.
TEST(DefaultConfigFolder, ADocumentsFolderThatIsMissingOutsideTheHomeGivesTheHome) {
    TempFolder dir;
    fs::create_directories(dir / "home" / ".config");
    const TScopedVariable home("HOME", (dir / "home").string());
    const TScopedVariable xdg("XDG_CONFIG_HOME", (dir / "home" / ".config").string());
    struct TCase {
        const char* documents; // the line in user-dirs.dirs
        fs::path expected;
    };
    const TCase cases[] = {
        {"XDG_DOCUMENTS_DIR=\"/nonexistent-korvex/Dokumente\"", dir / "home"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"", dir / "home" / "Dokumente"},
        {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"", dir / "home" / "Documents"},
    };
    for (const auto& c : cases) {
        std::ofstream(dir / "home" / ".config" / "user-dirs.dirs") << c.documents << '\n';
        const auto found = korvex::config::DefaultConfigFolder();
        EXPECT_EQ(found.folder, c.expected / "Korvex2" / "config" / "") << c.documents;
        EXPECT_EQ(found.message, "") << c.documents;
    }
}

} // namespace
