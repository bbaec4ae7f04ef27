#include "config/ConfigFolder.h"

#include "base/Platform.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// Every user of the machine shares one configuration below the public documents folder,
// which a Windows installation always has; a relative folder would depend on where the
// program was started.
TEST(DefaultConfigFolderWindows, LiesBelowThePublicDocumentsFolder) {
    const fs::path documents = korvex::base::DocumentsFolder();
    ASSERT_TRUE(documents.is_absolute());
    EXPECT_TRUE(fs::is_directory(documents));
    EXPECT_EQ(documents.filename(), "Documents");
    EXPECT_EQ(documents.parent_path().filename(), "Public") << "not the user's own";
    const auto found = korvex::config::DefaultConfigFolder();
    EXPECT_EQ(found.message, "");
    EXPECT_EQ(found.folder, documents / "Korvex2" / "config" / "");
}

} // namespace
