#pragma once

#include <filesystem>
#include <memory>

class QTranslator;

namespace korvex::config {
class TLanguageTexts;
}

namespace korvex::app {

class Messages;

// The user's language: the program's texts from its file, and Qt's own dialogs and buttons
// (file dialogs, "Cancel") in the same language.
class WindowLanguage {
  public:
    WindowLanguage(config::TLanguageTexts& texts, const Messages& messages);
    ~WindowLanguage();

    // The texts of `language` (the settings' number) from the data folder; false, told, when
    // the file cannot be read: the lines loaded before stay, and so do the captions made from
    // them.
    bool Load(const std::filesystem::path& dataFolder, int language);
    // Qt's translation of `language`, in place of the one installed before.
    void TranslateQt(int language);

  private:
    config::TLanguageTexts& texts_;
    const Messages& messages_;
    std::unique_ptr<QTranslator> qtTranslator_;
};

} // namespace korvex::app
