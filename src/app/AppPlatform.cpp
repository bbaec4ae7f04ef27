#include "app/AppPlatform.h"

#include "app/AppTexts.h"
#include "app/CodePage.h"
#include "app/Messages.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QUrl>

namespace korvex::app {

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

QString FromPath(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

QString SeparateEditorFolder() {
    const QSettings settings(QSettings::SystemScope, QStringLiteral("Brevik"),
                             QStringLiteral("Path"));
    if (settings.status() != QSettings::NoError) return QStringLiteral("?");
    return settings.value(QStringLiteral("Main")).toString();
}

std::filesystem::path SeparateEditorFile(const QString& folder) {
    // The stored folder normally ends with its separator, so the name is appended as it is.
    return ToPath(folder + QStringLiteral("Brevik.tmp"));
}

QString StartSeparateEditor(const QString& folder) {
#ifdef Q_OS_WIN
    const QString program = folder + QStringLiteral("quillo.exe");
#else
    const QString program = folder + QStringLiteral("quillo");
#endif
    QProcess process;
    process.setProgram(program);
    process.setWorkingDirectory(folder);
    if (!process.startDetached()) {
        return QFileInfo::exists(program) ? process.errorString()
                                          : QStringLiteral("File was not found: ") + program;
    }
    return {};
}

QString HelpFile(const QString& relativeName) {
    return QDir(QCoreApplication::applicationDirPath()).filePath(relativeName);
}

THelpOpening OpenHelp(const QString& file) {
    if (!QFileInfo(file).isFile()) return THelpOpening::NotFound;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file)) ? THelpOpening::Opened
                                                                : THelpOpening::NoViewer;
}

void ShowHelp(const Messages& messages) {
    const QString file = HelpFile(messages.Text(text::HelpFileName));
    switch (OpenHelp(file)) {
    case THelpOpening::Opened:
        return;
    case THelpOpening::NotFound:
        messages.Show(text::HelpFileNotFound);
        return;
    case THelpOpening::NoViewer:
        // The file is there, but nothing on this desktop shows it: say where it lies.
        messages.Show(HelpViewerMissingText, ToCodePage(QDir::toNativeSeparators(file)).Bytes);
        return;
    }
}

} // namespace korvex::app
