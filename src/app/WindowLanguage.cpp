#include "app/WindowLanguage.h"
#include "base/EKorvexError.h"

#include "app/CodePage.h"
#include "app/Messages.h"
#include "config/LanguageTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <exception>

namespace korvex::app {

WindowLanguage::WindowLanguage(config::TLanguageTexts& texts, const Messages& messages)
    : texts_(texts), messages_(messages) {}

WindowLanguage::~WindowLanguage() {
    if (qtTranslator_) QCoreApplication::removeTranslator(qtTranslator_.get());
}

bool WindowLanguage::Load(const std::filesystem::path& dataFolder, int language) {
    try {
        texts_.Load(dataFolder / config::LanguageFileName(language));
    } catch (const EKorvexError& e) {
        messages_.ShowError(FromCodePage(e.what()));
        return false;
    }
    return true;
}

void WindowLanguage::TranslateQt(int language) {
    const QString qtLanguage = QString::fromStdString(config::LanguageCode(language));
    if (qtTranslator_) QCoreApplication::removeTranslator(qtTranslator_.get());
    qtTranslator_ = std::make_unique<QTranslator>();
    if (qtTranslator_->load(QStringLiteral("qtbase_") + qtLanguage,
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtTranslator_.get());
}

} // namespace korvex::app
