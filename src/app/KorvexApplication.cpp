#include "app/KorvexApplication.h"

#include "app/CodePage.h"
#include "app/Messages.h"
#include "app/Version.h"
#include "base/EKorvexError.h"
#include "base/TextNumbers.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace korvex::app {

KorvexApplication::KorvexApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // QApplication took the C library's locale from the environment; a library that formats
    // through it would write "1,900" under a German locale.
    std::setlocale(LC_NUMERIC, "C");
    // No display name: the platform would append it to every title that already holds it.
    setApplicationName(ProgramTitle);
    setApplicationVersion(ProgramVersion);
}

void KorvexApplication::ShowError(const std::exception& error) const {
    // The core's messages are Windows-1252 bytes. Only EKorvexError carries one for the user;
    // anything else (out_of_range, bad_alloc) is our fault and is reported as such.
    QString text = FromCodePage(error.what());
    if (!dynamic_cast<const EKorvexError*>(&error))
        text = messages_ ? messages_->Text(text::InternalErrorText).arg(text)
                         : QStringLiteral("internal error, please report: ") + text;
    if (messages_)
        messages_->ShowError(text);
    else
        std::fprintf(stderr, "%s\n", WithFullStop(text).toUtf8().constData());
}

bool KorvexApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowError(error);
    }
    return false;
}

bool ChooseOffscreenWithoutDisplay() {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) return false;
    const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return false;
#else
    if (x11 || wayland) return false;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
#endif
}

} // namespace korvex::app
