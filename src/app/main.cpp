#include "app/KorvexApplication.h"
#include "app/CodePage.h"
#include "app/Platform.h"
#include "app/TMainForm.h"
#include "config/ConfigFolder.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    using namespace korvex::app;
    const bool chosenOffscreen = ChooseOffscreenWithoutDisplay();
    KorvexApplication app(argc, argv);
    const bool headless = chosenOffscreen ||
                          QGuiApplication::platformName() == QLatin1String("offscreen") ||
                          QGuiApplication::platformName() == QLatin1String("minimal");

    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (headless && arguments.isEmpty()) {
        std::fprintf(stderr, "korvex: no display found; run a job unattended with "
                             "korvex /V job.ncm /D out.nc\n");
        return 1;
    }

    TStartOptions options;
    options.DataFolder = ToPath(QDir(QCoreApplication::applicationDirPath()).filePath("data"));
    const korvex::config::TConfigFolder folder = korvex::config::ConfigFolder(DocumentsFolder());
    options.ConfigFolder = folder.folder;
    options.Arguments = arguments;
    options.Headless = headless;

    TMainForm form(options);
    app.SetMessages(&form.Messenger());
    if (!folder.message.empty())
        form.Messenger().ShowText(korvex::app::FromCodePage(folder.message));
    if (headless)
        form.showMinimized();
    else
        form.showMaximized();
    try {
        form.Startup();
    } catch (const std::exception& error) {
        app.ShowError(error);
    }
    const int status = app.exec();
    return Messages::BatchFailures() > 0 ? 1 : status;
}
