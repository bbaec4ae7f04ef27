// Pictures of the windows for the README and the help pages: run under Xvfb,
//   xvfb-run -a build/bin/korvex-screenshots docs/screenshots
#include "app/CouponDialog.h"
#include "app/GenerateController.h"
#include "app/KorvexApplication.h"
#include "app/LogDialog.h"
#include "app/AppPlatform.h"
#include "app/SerialDialog.h"
#include "app/TEinstellungen.h"
#include "app/TFSymbol.h"
#include "app/TInfo.h"
#include "app/TMainForm.h"
#include "config/DefaultConfiguration.h"
#include "config/IniFile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QToolTip>
#include <QDir>
#include <QFile>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>
#include <QSpinBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace korvex;

namespace {

void save(QWidget* widget, const QString& file) {
    QTest::qWait(200);
    widget->grab().save(file);
}

// Runs `open`, which shows a modal window, and saves that window as `file` before closing it.
void saveModal(const QString& file, const std::function<void()>& open) {
    QTimer::singleShot(600, [file] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        modal->grab().save(file);
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    });
    open();
}

// The delivered example job in a fresh configuration folder below home, in the language.
app::TStartOptions exampleJob(const QTemporaryDir& home, int number) {
    app::TStartOptions options;
    options.DataFolder = app::ToPath(QStringLiteral(KORVEX_DATA_DIR));
    options.ConfigFolder = app::ToPath(home.filePath("config/"));
    config::FillConfigFolder(options.ConfigFolder, options.DataFolder);
    config::TIniFile(options.ConfigFolder / "main.ini", "set").WriteInteger("lang", number);
    options.Arguments = {QStringLiteral(KORVEX_DATA_DIR "/examples/typenschild.ncm")};
    options.ShowIntro = false;
    return options;
}

void capture(const QString& folder, const QString& language, int number) {
    QTemporaryDir home;
    const app::TStartOptions options = exampleJob(home, number);
    app::TMainForm form(options);
    form.resize(1100, 720);
    form.show();
    form.Startup();
    QTest::qWait(500);
    save(&form, folder + "/main-datamatrix-" + language + ".png");
    form.findChild<QAbstractButton*>("Convert")->click();
    save(&form, folder + "/main-program-" + language + ".png");
    const auto click = [&form](const char* name) {
        form.findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
    };
    click("BGrafik");
    click("Fit");
    save(&form, folder + "/main-graphic-axes-" + language + ".png");
    click("AxisButt");
    click("G0Butt");
    save(&form, folder + "/main-graphic-xyz-" + language + ".png");
    click("XYButt");
    save(&form, folder + "/main-graphic-xy-" + language + ".png");
    click("XYZButt");
    click("BPick");
    QWidget* grafik = form.findChild<QWidget*>(QStringLiteral("Grafik"));
    // From elsewhere first: the cursor may still stand there from the other language.
    QTest::mouseMove(grafik, QPoint(10, 10));
    QTest::mouseMove(grafik, QPoint(grafik->width() / 2 + 60, grafik->height() / 2 - 40));
    save(&form, folder + "/main-graphic-pick-" + language + ".png");
    click("BPick");
    // Moved partly off the blank: the warning line under the graphic.
    form.findChild<QLineEdit*>(QStringLiteral("EXVersatz"))->setText(QStringLiteral("27"));
    click("Convert");
    save(&form, folder + "/main-graphic-blankfit-" + language + ".png");
    form.findChild<QLineEdit*>(QStringLiteral("EXVersatz"))->setText(QStringLiteral("5"));
    click("Convert");
    // A rotation being typed: no box, the status bar says it and the field is marked.
    click("BDatamatrix");
    auto* rotation = form.findChild<QLineEdit*>(QStringLiteral("EDrehWinkel"));
    rotation->setText(QStringLiteral("-"));
    save(&form, folder + "/main-refused-rotation-" + language + ".png");
    rotation->setText(QStringLiteral("0"));
    click("Convert");
    // This machine has no program to show the help with: the window says so.
    saveModal(folder + "/help-message-" + language + ".png", [&form] { form.HelpClick(); });
    saveModal(folder + "/file-dialog-" + language + ".png", [&form] { form.SpeichernClick(); });
    click("BBlank");
    for (const char* shape : {"QUADER1", "ZYL1", "ZYL2", "ZYL3"}) {
        click(shape);
        save(&form, folder + "/main-blank-" + QString::fromLatin1(shape).toLower() + "-" +
                        language + ".png");
    }
    app::TFSymbol& symbol = *form.findChild<app::TFSymbol*>();
    symbol.Prepare(0, 0);
    symbol.show();
    save(&symbol, folder + "/symbol-dialog-" + language + ".png");
    symbol.hide();
    app::TInfo& info = *form.findChild<app::TInfo*>();
    info.Prepare();
    info.show();
    save(&info, folder + "/info-dialog-" + language + ".png");
    info.hide();
    app::TEinstellungen& settings = form.SettingsDialog();
    settings.show();
    save(&settings, folder + "/settings-program-" + language + ".png");
    settings.PageClick(1);
    save(&settings, folder + "/settings-profile-" + language + ".png");
    settings.hide();
    // A finished run, into a folder whose name reads well in the picture.
    QDir runFolder(QDir::temp().filePath("korvex-serie"));
    runFolder.removeRecursively();
    app::SerialDialog& serial = form.SerialRunDialog();
    serial.show();
    serial.SetLog(&form.MarkingLog(), form.TemplateFile());
    serial.findChild<QLineEdit*>("EStart")->setText("1001");
    serial.findChild<QSpinBox*>("EAnzahl")->setValue(25);
    serial.findChild<QLineEdit*>("ETextmuster")->setText("SN-{n:06}");
    serial.findChild<QLineEdit*>("EOrdner")->setText(runFolder.path());
    serial.findChild<QLineEdit*>("ENamensmuster")->setText("SN-{n:06}.nc");
    serial.StartClick();
    while (serial.Running())
        QTest::qWait(20);
    save(&serial, folder + "/serial-dialog-" + language + ".png");
    serial.hide();

    // Saving a program whose text the log holds already: the question, pictured and declined.
    form.findChild<QPlainTextEdit*>("EText")->setPlainText("SN-001007");
    form.findChild<QAbstractButton*>("Convert")->click();
    QTest::qWait(300);
    QTimer::singleShot(600, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->grab().save(folder + "/duplicate-question-" + language + ".png");
            box->button(QMessageBox::Cancel)->click();
        }
    });
    form.SaveProgram(runFolder.filePath("nochmal.nc"));

    app::LogDialog& log = form.MarkingLogDialog();
    log.show();
    log.Reload();
    save(&log, folder + "/marking-log-" + language + ".png");
    log.hide();
    runFolder.removeRecursively();

    // A UDI job: the GS1 elements under the symbol, and the read-back mark's tooltip naming the
    // identifier a scanner reports. The tooltip is a window of its own, so the screen is taken.
    form.findChild<QComboBox*>(QStringLiteral("EInhalt"))->setCurrentIndex(1);
    form.findChild<QPlainTextEdit*>(QStringLiteral("EText"))
        ->setPlainText(QStringLiteral("(01)09506000134352(17)261231(10)ABC123(21)7"));
    click("BDatamatrix");
    QTest::qWait(500);
    click("Convert");
    click("BDatamatrix");
    QTest::qWait(300);
    auto* mark = form.findChild<QLabel*>(QStringLiteral("ReadBackMark"));
    QToolTip::showText(mark->mapToGlobal(QPoint(0, -60)), mark->toolTip(), mark);
    QTest::qWait(400);
    const QRect area = form.frameGeometry();
    QGuiApplication::primaryScreen()
        ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .save(folder + "/main-gs1-" + language + ".png");
    QToolTip::hideText();
    // Last, so the pictures above keep the delivered profile without a tool: a 90 degree cone
    // on the first profile, which at the example's depth makes dots far too small.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->buttons().value(0)->click();
    });
    answer.start(20);
    settings.show();
    settings.PageClick(1);
    settings.findChild<QAbstractButton*>("EWzKegel")->click();
    settings.findChild<QLineEdit*>("EWzWinkel")->setText("90");
    settings.findChild<QLineEdit*>("EWzSpitze")->setText("0");
    save(&settings, folder + "/settings-profile-tool-" + language + ".png");
    // The saved tool counts at once: no profile button in between.
    settings.SpeichernClick();
    click("BGrafik");
    click("Convert");
    while (form.Generator().ReadBackPending())
        QTest::qWait(20);
    save(&form, folder + "/main-graphic-dots-too-small-" + language + ".png");
    form.KalibriermusterClick();
    click("Fit");
    save(&form, folder + "/main-graphic-coupon-" + language + ".png");
    app::CouponDialog& coupon = *form.findChild<app::CouponDialog*>();
    save(&coupon, folder + "/coupon-dialog-" + language + ".png");
    coupon.hide();
}

// The window at its smallest size, each view, and the menus opened: what a layout change must
// keep from clipping or losing.
void captureSmallest(const QString& folder, const QString& language, int number) {
    QTemporaryDir home;
    const app::TStartOptions options = exampleJob(home, number);
    app::TMainForm form(options);
    form.resize(form.minimumSize());
    form.show();
    form.Startup();
    QTest::qWait(500);
    const auto click = [&form](const char* name) {
        form.findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
    };
    const QString end = QStringLiteral("-smallest-") + language + QStringLiteral(".png");
    save(&form, folder + "/main-datamatrix" + end);
    click("Convert");
    click("BProgram");
    save(&form, folder + "/main-program" + end);
    click("BGrafik");
    save(&form, folder + "/main-graphic" + end);
    click("BBlank");
    save(&form, folder + "/main-blank" + end);
    for (const char* name : {"Datei1", "AnsichtMenu"}) {
        auto* menu = form.findChild<QMenu*>(QString::fromLatin1(name));
        menu->popup(form.mapToGlobal(QPoint(0, 0)));
        QTest::qWait(300);
        menu->grab().save(folder + "/menu-" + QString::fromLatin1(name).toLower() + "-" + language +
                          ".png");
        menu->hide();
    }
}

// A d20 shaft along X, marked with Z following the surface and on the rotary axis.
void captureShaft(const QString& folder) {
    QTemporaryDir home;
    const QString job = home.filePath(QStringLiteral("welle20.ncm"));
    QFile file(job);
    file.open(QIODevice::WriteOnly);
    file.write("LAYER Ebene 1\r\nSHOW\r\nSIZE 0.3\r\nDMFORM 0\r\nDMENC 0\r\nANGLE 0\r\n"
               "XDIS 0\r\nYDIS -1.35\r\nDATA\r\n/WN4711\r\n"
               "BLANK ROHDEF ZYL2 XM-3 YC0 RA10 ZC-10 XP8\r\n3DZ -60\r\n3DY 35\r\n"
               "3DX1 -6\r\n3DX2 10\r\n3DY1 -8\r\n3DY2 8\r\n3DZ1 -8\r\n3DZ2 8\r\n");
    file.close();
    app::TStartOptions options;
    options.DataFolder = app::ToPath(QStringLiteral(KORVEX_DATA_DIR));
    options.ConfigFolder = app::ToPath(home.filePath("config/"));
    config::FillConfigFolder(options.ConfigFolder, options.DataFolder);
    options.Arguments = {job};
    options.ShowIntro = false;
    app::TMainForm form(options);
    form.resize(1100, 720);
    form.show();
    form.Startup();
    QTest::qWait(300);
    const auto click = [&form](const char* name) {
        form.findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
    };
    const std::pair<const char*, const char*> surfaces[] = {{"ROberflaecheFolgen", "follow"},
                                                            {"ROberflaecheDrehachse", "rotary"}};
    for (const auto& [button, name] : surfaces) {
        click("BBlank");
        click(button);
        save(&form, folder + "/main-blank-" + name + "-de.png");
        click("BGrafik");
        click("Convert");
        click("XYZButt");
        save(&form, folder + "/main-graphic-shaft-" + name + "-xyz-de.png");
        click("YZButt");
        save(&form, folder + "/main-graphic-shaft-" + name + "-yz-de.png");
    }
}

// The example job on a round part: the cylinder chosen and filled in on the blank page is the
// blank without "Rohteil anzeigen".
void captureRoundBlank(const QString& folder, const QString& language, int number) {
    QTemporaryDir home;
    app::TMainForm form(exampleJob(home, number));
    form.resize(1100, 720);
    form.show();
    form.Startup();
    QTest::qWait(300);
    const auto click = [&form](const char* name) {
        form.findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
    };
    click("BBlank");
    click("ZYL2");
    form.findChild<QLineEdit*>("ZYL2_XM")->setText("-5");
    form.findChild<QLineEdit*>("ZYL2_XP")->setText("40");
    form.findChild<QLineEdit*>("ZYL2_Z")->setText("-10");
    form.findChild<QLineEdit*>("ZYL2_R")->setText("10");
    click("ROberflaecheFolgen");
    save(&form, folder + "/main-blank-round-" + language + ".png");
    click("BGrafik");
    click("Convert");
    save(&form, folder + "/main-graphic-round-" + language + ".png");
}

} // namespace

int main(int argc, char** argv) {
    app::KorvexApplication application(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);
    capture(folder, "de", 1);
    capture(folder, "en", 2);
    captureSmallest(folder, "de", 1);
    captureSmallest(folder, "en", 2);
    captureShaft(folder);
    captureRoundBlank(folder, "de", 1);
    captureRoundBlank(folder, "en", 2);
    return 0;
}
