#include "app/KorvexApplication.h"
#include "app/CodePage.h"
#include "app/AppPlatform.h"
#include "app/TMainForm.h"
#include "config/ConfigFolder.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>

namespace {

const char* const Usage =
    "usage: korvex [JOB.ncm]\n"
    "       korvex /V JOB.ncm /D OUT.nc\n"
    "       korvex --version | --help\n"
    "\n"
    "Without arguments: the window. With a job file: the window with that job.\n"
    "/V ... /D: generate the job's first layer into OUT.nc unattended and end;\n"
    "status 1 and a message on standard error when it cannot.\n";

} // namespace

int main(int argc, char** argv) {
    using namespace korvex::app;
    // Answered before any display is looked for, so they work on a server and in scripts.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("korvex %s\n", KORVEX_VERSION);
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(Usage, stdout);
        return 0;
    }
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
    const korvex::config::TConfigFolder folder = korvex::config::DefaultConfigFolder();
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
