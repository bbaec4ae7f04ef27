#include "support/AppFixture.h"

#include "app/KorvexApplication.h"
#include "app/AppPlatform.h"
#include "support/TestLocale.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QProcess>

namespace {

// Before main: QApplication reads the environment when the test constructs it.
[[maybe_unused]] const bool testLanguage = UseTestLanguage(false);

} // namespace

StartedWindow::StartedWindow(const QStringList& arguments, const QString& dataFolder) {
    korvex::app::TStartOptions options;
    options.DataFolder =
        korvex::app::ToPath(dataFolder.isEmpty() ? QStringLiteral(KORVEX_DATA_DIR) : dataFolder);
    options.ConfigFolder = korvex::app::ToPath(ConfigFolder());
    options.Arguments = arguments;
    options.ShowIntro = false;
    form = std::make_unique<korvex::app::TMainForm>(options);
    form->resize(1000, 700);
    form->show();
    if (auto* app = qobject_cast<korvex::app::KorvexApplication*>(qApp))
        app->SetMessages(&form->Messenger());
    form->Startup();
}

BoxAnswerer::BoxAnswerer(bool cancel) : cancel_(cancel) {
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, [this] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        Texts << box->text();
        QAbstractButton* button = box->button(cancel_ ? QMessageBox::Cancel : QMessageBox::Ok);
        if (!button) button = box->buttons().value(0);
        button->click();
    });
    timer_.start();
}

QString DataFile(const QString& name) {
    return QStringLiteral(KORVEX_DATA_DIR "/") + name;
}

ProcessResult RunProgram(const QString& program, const QStringList& arguments,
                         const QString& home) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // No display: the program has to find its way alone.
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
    environment.insert(QStringLiteral("HOME"), home);
    process.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    process.waitForFinished(20000);
    ProcessResult result;
    result.Milliseconds = clock.elapsed();
    result.Status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.Out = process.readAllStandardOutput();
    result.Err = process.readAllStandardError();
    return result;
}

QByteArray ReadAll(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) return {};
    return in.readAll();
}
