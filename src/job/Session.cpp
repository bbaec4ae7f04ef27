#include "job/Session.h"

#include "job/Job.h"

#include "config/ConfigError.h"
#include "config/ConfigFolder.h"
#include "config/DefaultConfiguration.h"
#include "config/SettingsFile.h"

namespace korvex::job {

TSession OpenSession(const std::filesystem::path& configFolder,
                     const std::filesystem::path& dataFolder) {
    TSession session{configFolder, dataFolder, {}, {}, {}, {}, {}};
    const config::TConfigFill fill = config::FillConfigFolder(configFolder, dataFolder);
    session.SettingsWarnings =
        config::LoadSettings(configFolder, session.Settings, session.Profiles);
    session.Texts.Load(dataFolder / config::LanguageFileName(session.Settings.Language));
    session.FillNotice = config::ConfigFillMessage(fill, configFolder, session.Texts);
    return session;
}

std::optional<ncgen::TProfileSelection> ChooseProfile(const TSession& session,
                                                      std::string_view choice) {
    return ncgen::SelectProfile(session.Profiles, choice);
}

base::TTextMessage CheckProfileFile(const TSession& session, int number) {
    const std::filesystem::path file =
        config::SettingsFile(session.ConfigFolder, "profil" + std::to_string(number));
    std::error_code ec;
    if (std::filesystem::is_regular_file(file, ec)) return CheckFileSize(file);
    return {0, 0, config::CannotOpenText(file), {}};
}

std::string DefaultProfileChoice(const TSession& session) {
    return std::to_string(session.Settings.DefaultProfile);
}

} // namespace korvex::job
