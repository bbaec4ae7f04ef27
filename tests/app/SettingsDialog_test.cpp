#include "app/JobDocument.h"
#include "app/CouponDialog.h"
#include "app/GenerateController.h"
#include "app/NCEditor.h"
#include "app/ProfilePanel.h"
#include "app/AppPlatform.h"
#include "ncgen/Coupon.h"
#include "app/GraphicPage.h"
#include "app/TEinstellungen.h"
#include "config/IniFile.h"
#include "log/MarkingLog.h"
#include "support/AppFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QtTest>

using korvex::app::TEinstellungen;

namespace {

void press(TEinstellungen& dialog, const char* button) {
    QTest::mouseClick(child<QAbstractButton>(dialog, button), Qt::LeftButton);
}

// The dialog as the settings command opens it, but without blocking.
TEinstellungen& opened(StartedWindow& window) {
    TEinstellungen& dialog = window.form->SettingsDialog();
    dialog.show();
    return dialog;
}

std::string stored(const StartedWindow& window, const QString& file, const char* section,
                   const char* key) {
    const QString path = window.ConfigFolder() + file;
    return korvex::config::TIniFile(path.toStdString(), section).ReadString(key);
}

QMap<QString, QByteArray> configFiles(const StartedWindow& window) {
    QMap<QString, QByteArray> files;
    for (const char* name :
         {"main.ini", "profil1.ini", "profil2.ini", "profil3.ini", "profil4.ini"})
        files[name] = ReadAll(window.ConfigFolder() + name);
    return files;
}

// Every caption a language can change, by object and kind.
QStringList captions(QWidget& window) {
    QStringList all;
    all << window.windowTitle();
    for (auto* b : window.findChildren<QAbstractButton*>())
        all << b->objectName() + "=" + b->text();
    for (auto* l : window.findChildren<QLabel*>())
        all << l->objectName() + "=" + l->text();
    for (auto* g : window.findChildren<QGroupBox*>())
        all << g->objectName() + "=" + g->title();
    for (auto* a : window.findChildren<QAction*>())
        all << a->objectName() + "=" + a->text();
    for (auto* t : window.findChildren<QTabWidget*>())
        for (int i = 0; i < t->count(); ++i)
            all << t->objectName() + "=" + t->tabText(i);
    return all;
}

} // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void cancelKeepsEditsForTheNextOpeningAndASaveWritesThem();
    void pageSwitchTakesTheProfileOverInMemoryOnly_data();
    void pageSwitchTakesTheProfileOverInMemoryOnly();
    void templatesCloseUpTheirGapsAndKeepTwentyLines();
    void steppersKeepTheirLimits_data();
    void steppersKeepTheirLimits();
    void startFieldFallsBackToTheStep();
    void pointAndTrailingZerosCannotBothBeOff();
    void refusedSaveKeepsTheDialogOpenAndTheFiles();
    void characterWithoutCodeKeepsThePage();
    void englishAndBackRestoresEveryCaption();
    void toolFieldsAreSavedAndTheWindowReadsTheDotsBesideIt();
    void couponGoesIntoTheEditorAndAMeasuredDotCorrectsTheTool();
    void saveAppliesTheGraphicDefaultsAndRedraws();
    void logSwitchStopsAndResumesTheRecords();
    void couponIsRecordedWithoutTheJobsContent();
    void savedChangeOfTheActiveProfileCountsAtOnce();
    void saveKeepsTheLayerName();
    void couponTakesTheDecimalComma();
    void dialogFitsA768PixelScreen();
    void statusBarShowsTheFiguresWholeAt1600Pixels();
    void shiftTableIsSavedAndABadStartRefused();
};

void SettingsDialogTest::cancelKeepsEditsForTheNextOpeningAndASaveWritesThem() {
    StartedWindow window;
    BoxAnswerer boxes;
    const std::string before = stored(window, "main.ini", "path", "nc");
    TEinstellungen& dialog = opened(window);
    child<QLineEdit>(dialog, "EZieldir")->setText(QStringLiteral("/srv/nc/cut"));
    press(dialog, "Abbrechen");
    QVERIFY(!dialog.isVisible());
    QCOMPARE(stored(window, "main.ini", "path", "nc"), before);

    dialog.show();
    QCOMPARE(child<QLineEdit>(dialog, "EZieldir")->text(), QStringLiteral("/srv/nc/cut"));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(stored(window, "main.ini", "path", "nc"), before);

    dialog.show();
    press(dialog, "Speichern");
    QVERIFY(!dialog.isVisible());
    QCOMPARE(stored(window, "main.ini", "path", "nc"), std::string("/srv/nc/cut"));
    QCOMPARE(boxes.Texts, QStringList{window.form->Messenger().Text(9101)});
}

void SettingsDialogTest::pageSwitchTakesTheProfileOverInMemoryOnly_data() {
    QTest::addColumn<bool>("viaProgramPage");
    QTest::newRow("P2 -> P3") << false;
    QTest::newRow("P2 -> Programm -> P3") << true;
}

void SettingsDialogTest::pageSwitchTakesTheProfileOverInMemoryOnly() {
    QFETCH(bool, viaProgramPage);
    StartedWindow window;
    const QByteArray onDisk = ReadAll(window.ConfigFolder() + "profil2.ini");
    TEinstellungen& dialog = opened(window);
    press(dialog, "P2");
    child<QLineEdit>(dialog, "EERebene")->setText(QStringLiteral("7.250"));
    if (viaProgramPage) press(dialog, "MP");
    press(dialog, "P3");
    QCOMPARE(dialog.CurrentProfilePage(), 3);
    press(dialog, "Abbrechen");

    QCOMPARE(ReadAll(window.ConfigFolder() + "profil2.ini"), onDisk);
    window.form->ProfilClick(2);
    QCOMPARE(Area<korvex::app::JobDocument>(*window.form).Profile().SafetyDistance,
             std::string("7.250"));
    QCOMPARE(child<QLineEdit>(*window.form, "REbeneauswahl")->text(), QStringLiteral("7.250"));
}

void SettingsDialogTest::templatesCloseUpTheirGapsAndKeepTwentyLines() {
    StartedWindow window;
    BoxAnswerer boxes;
    TEinstellungen& dialog = opened(window);
    press(dialog, "P1");
    child<QPlainTextEdit>(dialog, "ESyntaxS")->setPlainText(QStringLiteral("G0 A\n\nG1 C"));
    QStringList many;
    for (int n = 1; n <= 22; ++n)
        many << QStringLiteral("N%1").arg(n);
    child<QPlainTextEdit>(dialog, "ESyntaxE")->setPlainText(many.join('\n'));
    press(dialog, "P2");
    press(dialog, "P1");
    QCOMPARE(child<QPlainTextEdit>(dialog, "ESyntaxS")->toPlainText(),
             QStringLiteral("G0 A\nG1 C"));
    press(dialog, "Speichern");

    QCOMPARE(stored(window, "profil1.ini", "set", "SynS1"), std::string("G0 A"));
    QCOMPARE(stored(window, "profil1.ini", "set", "SynS2"), std::string("G1 C"));
    QCOMPARE(stored(window, "profil1.ini", "set", "SynS3"), std::string());
    QCOMPARE(stored(window, "profil1.ini", "set", "SynE20"), std::string("N20"));
    QCOMPARE(stored(window, "profil1.ini", "set", "SynE21"), std::string());
    // Values the page does not offer pass through the page unchanged.
    for (const char* key : {"X", "J", "R", "VorschubXY", "Komstart", "Komende"})
        QCOMPARE(
            stored(window, "profil1.ini", "set", key),
            korvex::config::TIniFile(DataFile("profil1.ini").toStdString(), "set").ReadString(key));
}

void SettingsDialogTest::steppersKeepTheirLimits_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("start"); // EEstart afterwards, when the step sets it

    QTest::newRow("Stellen 10 +") << "EEStellen"
                                  << "SPlus1"
                                  << "10"
                                  << "10"
                                  << "";
    QTest::newRow("Stellen 0 -") << "EEStellen"
                                 << "SMinus1"
                                 << "0"
                                 << "0"
                                 << "";
    QTest::newRow("Stellen 2.7 +") << "EEStellen"
                                   << "SPlus1"
                                   << "2.7"
                                   << "3"
                                   << "";
    QTest::newRow("Nachkomma 3 -") << "EENachkommastellen"
                                   << "NMinus1"
                                   << "3"
                                   << "2"
                                   << "";
    QTest::newRow("Schritt 99 +") << "EESatzschritt"
                                  << "SNPlus1"
                                  << "99"
                                  << "99"
                                  << "99";
    QTest::newRow("Schritt 99 -") << "EESatzschritt"
                                  << "SNMinus1"
                                  << "99"
                                  << "98"
                                  << "98";
    QTest::newRow("Schritt 1 -") << "EESatzschritt"
                                 << "SNMinus1"
                                 << "1"
                                 << "1"
                                 << "1";
    QTest::newRow("Aufloesung 0.10 -") << "EAufloesung"
                                       << "LMinus"
                                       << "0.10"
                                       << "0.10"
                                       << "";
    QTest::newRow("Aufloesung 0.15 -") << "EAufloesung"
                                       << "LMinus"
                                       << "0.15"
                                       << "0.05"
                                       << "";
    QTest::newRow("Aufloesung abc +") << "EAufloesung"
                                      << "LPlus"
                                      << "abc"
                                      << "abc"
                                      << "";
    QTest::newRow("R abc +") << "EERebene"
                             << "RPlus1"
                             << "abc"
                             << "0"
                             << "";
    QTest::newRow("R 2 +") << "EERebene"
                           << "RPlus1"
                           << "2"
                           << "2.100"
                           << "";
    QTest::newRow("Z 0.1 - no minus zero") << "EEZebene"
                                           << "ZMinus1"
                                           << "0.1"
                                           << "0.000"
                                           << "";
    QTest::newRow("Z 0 -") << "EEZebene"
                           << "ZMinus1"
                           << "0"
                           << "-0.100"
                           << "";
}

void SettingsDialogTest::steppersKeepTheirLimits() {
    QFETCH(QString, field);
    QFETCH(QString, button);
    QFETCH(QString, before);
    QFETCH(QString, start);
    StartedWindow window;
    TEinstellungen& dialog = opened(window);
    press(dialog, "P1");
    if (field == "EAufloesung") press(dialog, "MP");
    auto* edit = child<QLineEdit>(dialog, field.toLatin1().constData());
    auto* startField = child<QLineEdit>(dialog, "EEstart");
    startField->setText(QStringLiteral("10"));
    edit->setText(before);
    press(dialog, button.toLatin1().constData());
    QTEST(edit->text(), "after");
    QCOMPARE(startField->text(), start.isEmpty() ? QStringLiteral("10") : start);
}

void SettingsDialogTest::startFieldFallsBackToTheStep() {
    StartedWindow window;
    TEinstellungen& dialog = opened(window);
    press(dialog, "P1");
    child<QLineEdit>(dialog, "EESatzschritt")->setText(QStringLiteral("5"));
    auto* startField = child<QLineEdit>(dialog, "EEstart");
    startField->setText(QStringLiteral("100"));
    startField->setFocus();
    startField->end(false);
    QTest::keyClicks(startField, QStringLiteral("x"));
    QCOMPARE(startField->text(), QStringLiteral("5"));
    startField->clear();
    QCOMPARE(startField->text(), QStringLiteral("5"));
    // A step that is no number either must not loop.
    child<QLineEdit>(dialog, "EESatzschritt")->setText(QStringLiteral("?"));
    startField->setText(QStringLiteral("y"));
    QCOMPARE(startField->text(), QStringLiteral("?"));
}

void SettingsDialogTest::pointAndTrailingZerosCannotBothBeOff() {
    StartedWindow window;
    TEinstellungen& dialog = opened(window);
    press(dialog, "P1");
    auto* point = child<QCheckBox>(dialog, "EEDeziPunkt");
    auto* zeros = child<QCheckBox>(dialog, "EENNullen");
    point->setChecked(false);
    zeros->setChecked(true);
    zeros->click();
    QVERIFY(!zeros->isChecked());
    QVERIFY(point->isChecked());
    point->click();
    QVERIFY(!point->isChecked());
    QVERIFY(zeros->isChecked());
}

void SettingsDialogTest::refusedSaveKeepsTheDialogOpenAndTheFiles() {
    StartedWindow window;
    BoxAnswerer boxes;
    // A file without write permission is never replaced, for root too.
    QVERIFY(QFile::setPermissions(window.ConfigFolder() + "profil1.ini",
                                  QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const auto before = configFiles(window);
    TEinstellungen& dialog = opened(window);
    child<QLineEdit>(dialog, "EZieldir")->setText(QStringLiteral("/srv/elsewhere"));
    press(dialog, "P2");
    child<QLineEdit>(dialog, "EERebene")->setText(QStringLiteral("9.000"));
    press(dialog, "Speichern");

    QVERIFY(dialog.isVisible());
    QCOMPARE(boxes.Texts.size(), 1);
    QVERIFY2(boxes.Texts[0].contains("profil1.ini") &&
                 boxes.Texts[0].contains("kann nicht geschrieben werden"),
             qPrintable(boxes.Texts[0]));
    QCOMPARE(configFiles(window), before);
    QCOMPARE(child<QLineEdit>(dialog, "EZieldir")->text(), QStringLiteral("/srv/elsewhere"));
    QCOMPARE(child<QLineEdit>(dialog, "EERebene")->text(), QStringLiteral("9.000"));
}

void SettingsDialogTest::characterWithoutCodeKeepsThePage() {
    StartedWindow window;
    BoxAnswerer boxes;
    const QByteArray onDisk = ReadAll(window.ConfigFolder() + "profil1.ini");
    TEinstellungen& dialog = opened(window);
    press(dialog, "P1");
    const QString name = child<QLineEdit>(dialog, "EEProfil")->text();
    child<QLineEdit>(dialog, "EEProfil")->setText(QStringLiteral("Fräsen Ω"));
    press(dialog, "P2");
    QCOMPARE(dialog.CurrentProfilePage(), 1);
    QVERIFY(child<QAbstractButton>(dialog, "P1")->isChecked());
    QCOMPARE(child<QLineEdit>(dialog, "EEProfil")->text(), QStringLiteral("Fräsen Ω"));
    press(dialog, "Speichern");
    QVERIFY(dialog.isVisible());
    QCOMPARE(boxes.Texts.size(), 2);
    QVERIFY(boxes.Texts[0].endsWith(QStringLiteral(": Ω")));
    QCOMPARE(ReadAll(window.ConfigFolder() + "profil1.ini"), onDisk);
    window.form->ProfilClick(1);
    QCOMPARE(child<QLabel>(*window.form, "NCProfilname")->text(), name);
}

void SettingsDialogTest::englishAndBackRestoresEveryCaption() {
    StartedWindow window;
    TEinstellungen& dialog = opened(window);
    // The layer's name shares its label with a caption, so the German state is the start.
    press(dialog, "Bger");
    const QStringList mainBefore = captions(*window.form);
    const QStringList dialogBefore = captions(dialog);
    press(dialog, "Beng");
    QCOMPARE(child<QAbstractButton>(dialog, "Speichern")->text(), QStringLiteral("&Save"));
    QCOMPARE(child<QAbstractButton>(*window.form, "Convert")->text(),
             window.form->Messenger().Text(3012));
    QVERIFY(captions(*window.form) != mainBefore);
    press(dialog, "Bger");
    QCOMPARE(captions(*window.form), mainBefore);
    QCOMPARE(captions(dialog), dialogBefore);
}

void SettingsDialogTest::saveAppliesTheGraphicDefaultsAndRedraws() {
    StartedWindow window({DataFile(QStringLiteral("examples/typenschild.ncm"))});
    child<QAbstractButton>(*window.form, "Convert")->click();
    child<QAbstractButton>(*window.form, "BGrafik")->click();
    korvex::app::GraphicPage& page = Area<korvex::app::GraphicPage>(*window.form);
    const bool axes = page.View().showAxes;
    const bool rapids = page.View().showRapidMoves;
    TEinstellungen& dialog = opened(window);
    press(dialog, "XZButt");
    child<QCheckBox>(dialog, "AxisButt")->setChecked(!axes);
    child<QCheckBox>(dialog, "G0Butt")->setChecked(!rapids);
    const int passes = page.PassCount();
    BoxAnswerer boxes;
    press(dialog, "Speichern");
    QCOMPARE(page.View().showAxes, !axes);
    QCOMPARE(page.View().showRapidMoves, !rapids);
    QCOMPARE(child<QAbstractButton>(page, "AxisButt")->isChecked(), !axes);
    QVERIFY(child<QAbstractButton>(page, "XZButt")->isChecked());
    QCOMPARE(page.Grafik().D3Yrotation(), 90.0L);
    QVERIFY(page.PassCount() > passes);
}

// Switched off, programs are written without records (so no duplicate question); switched on
// again, the same log knows the content once more.
void SettingsDialogTest::logSwitchStopsAndResumesTheRecords() {
    StartedWindow window;
    QVERIFY(window.form->LadeVorlage(DataFile("examples/typenschild.ncm")));
    QVERIFY(window.form->Generator().ConvertClick());
    QVERIFY(window.form->SaveProgram(window.folder.filePath("first.nc")));
    QVERIFY(stored(window, "main.ini", "log", "Markierprotokoll").empty());
    BoxAnswerer cancel(true);
    for (const bool on : {false, true}) {
        TEinstellungen& dialog = opened(window);
        auto* box = child<QAbstractButton>(dialog, "CMarkierprotokoll");
        QCOMPARE(box->isChecked(), !on);
        box->setChecked(on);
        press(dialog, "Speichern");
        QCOMPARE(stored(window, "main.ini", "log", "Markierprotokoll"),
                 std::string(on ? "1" : "0"));
        cancel.Texts.clear();
        const QString file = window.folder.filePath(on ? "third.nc" : "second.nc");
        QCOMPARE(window.form->SaveProgram(file), !on);
        QCOMPARE(cancel.Texts.size(), on ? 1 : 0);
    }
}

QTEST_MAIN(SettingsDialogTest)
#include "SettingsDialog_test.moc"

namespace {

void chooseCone(StartedWindow& window) {
    TEinstellungen& dialog = opened(window);
    press(dialog, "P1");
    press(dialog, "EWzKegel");
    child<QLineEdit>(dialog, "EWzWinkel")->setText(QStringLiteral("90"));
    child<QLineEdit>(dialog, "EWzSpitze")->setText(QStringLiteral("0"));
    press(dialog, "Speichern");
    window.form->ProfilClick(1);
}

} // namespace

// A 90 degree cone on the delivered example's depth makes dots far under 60 % of the spacing:
// the tool goes into the profile file, and the window's mark, grey while the dots are read
// beside it, then says they are too small.
void SettingsDialogTest::toolFieldsAreSavedAndTheWindowReadsTheDotsBesideIt() {
    StartedWindow window({DataFile(QStringLiteral("examples/typenschild.ncm"))});
    BoxAnswerer boxes;
    TEinstellungen& dialog = opened(window);
    press(dialog, "P1");
    QVERIFY(child<QAbstractButton>(dialog, "EWzKein")->isChecked());
    press(dialog, "Abbrechen");
    chooseCone(window);
    QCOMPARE(stored(window, "profil1.ini", "set", "WzTyp"), std::string("1"));
    QCOMPARE(stored(window, "profil1.ini", "set", "WzWinkel"), std::string("90"));
    QCOMPARE(stored(window, "profil1.ini", "set", "WzSpitze"), std::string("0"));
    // The other profiles never had a tool and keep their files without the keys.
    QVERIFY(!ReadAll(window.ConfigFolder() + "profil2.ini").contains("WzTyp"));

    korvex::app::GenerateController& generator = window.form->Generator();
    QSignalSpy done(&generator, &korvex::app::GenerateController::ReadBackDone);
    QVERIFY(generator.ConvertClick());
    QLabel* mark = child<QLabel>(*window.form, "ReadBackMark");
    if (done.isEmpty()) {
        QVERIFY(generator.ReadBackPending());
        QVERIFY2(mark->text().contains(QStringLiteral("#808080")), qPrintable(mark->text()));
        QVERIFY(done.wait(20000));
    }
    QVERIFY(!generator.ReadBackPending());
    QVERIFY2(mark->text().endsWith(QStringLiteral("nicht lesbar")), qPrintable(mark->text()));
    QVERIFY2(mark->toolTip().contains(QStringLiteral("Punkte zu klein")),
             qPrintable(mark->toolTip()));
}

// The coupon needs a tool; with one its dots go into the editor and the graphic, and a dot
// measured wider than the model expects gives the profile a wider cone, in its file too.
void SettingsDialogTest::couponGoesIntoTheEditorAndAMeasuredDotCorrectsTheTool() {
    StartedWindow window({DataFile(QStringLiteral("examples/typenschild.ncm"))});
    BoxAnswerer boxes;
    window.form->KalibriermusterClick();
    QCOMPARE(boxes.Texts.value(0), window.form->Messenger().Text(9674));
    chooseCone(window);
    boxes.Texts.clear();
    window.form->KalibriermusterClick();
    int dots = 0;
    for (const std::string& line : window.form->Generator().SimulationLines())
        dots += line.starts_with("XY;") ? 1 : 0;
    QCOMPARE(dots, korvex::ncgen::CouponDots + 1); // the row and its index dot
    QVERIFY(!window.form->Editor().document()->isEmpty());
    QVERIFY(child<QAbstractButton>(*window.form, "Convert")->isEnabled());

    korvex::app::CouponDialog& coupon = Area<korvex::app::CouponDialog>(*window.form);
    QVERIFY(coupon.isVisible());
    child<QLineEdit>(coupon, "KGemessen")->setText(QStringLiteral("0"));
    QTest::mouseClick(child<QAbstractButton>(coupon, "KKorrigieren"), Qt::LeftButton);
    QCOMPARE(boxes.Texts.value(0), window.form->Messenger().Text(9680));
    QCOMPARE(Area<korvex::app::JobDocument>(*window.form).Profile().Tool.Angle, 90.0L);
    child<QLineEdit>(coupon, "KGemessen")->setText(QStringLiteral("0.5"));
    QTest::mouseClick(child<QAbstractButton>(coupon, "KKorrigieren"), Qt::LeftButton);
    const long double angle = Area<korvex::app::JobDocument>(*window.form).Profile().Tool.Angle;
    QVERIFY2(angle > 90 && angle < 179, qPrintable(QString::number(double(angle))));
    const auto saved = korvex::ncgen::ReadTool({stored(window, "profil1.ini", "set", "WzTyp"),
                                                stored(window, "profil1.ini", "set", "WzWinkel"),
                                                stored(window, "profil1.ini", "set", "WzSpitze"),
                                                stored(window, "profil1.ini", "set", "WzRadius")});
    QVERIFY(std::fabs(static_cast<double>(saved.Tool.Angle - angle)) < 0.01);
}

// The coupon encodes no text: saved after the job's program it is neither a duplicate of it nor
// recorded as carrying its serial.
void SettingsDialogTest::couponIsRecordedWithoutTheJobsContent() {
    StartedWindow window({DataFile(QStringLiteral("examples/typenschild.ncm"))});
    QVERIFY(window.form->Generator().ConvertClick());
    QVERIFY(window.form->SaveProgram(window.folder.filePath("part.nc")));
    BoxAnswerer boxes;
    chooseCone(window);
    window.form->KalibriermusterClick();
    boxes.Texts.clear();
    QVERIFY(window.form->SaveProgram(window.folder.filePath("coupon.nc")));
    QCOMPARE(boxes.Texts, QStringList());
    const auto file = korvex::log::LogFileFor(korvex::app::ToPath(window.ConfigFolder()));
    QVERIFY(file);
    const auto records = korvex::log::TMarkingLog(*file).Query({});
    QCOMPARE(records.size(), std::size_t(2));
    QCOMPARE(records[0].Text, std::string("SN-2026-000123"));
    QCOMPARE(records[1].Text, std::string());
}

// Saving a tool and an R for the profile in use is what korvex-cli then writes: the window must
// not go on judging the program of the old profile.
void SettingsDialogTest::savedChangeOfTheActiveProfileCountsAtOnce() {
    StartedWindow window({DataFile(QStringLiteral("examples/typenschild.ncm"))});
    BoxAnswerer boxes;
    korvex::app::GenerateController& generator = window.form->Generator();
    QVERIFY(generator.ConvertClick());
    TEinstellungen& dialog = opened(window);
    press(dialog, "P1");
    press(dialog, "EWzKegel");
    child<QLineEdit>(dialog, "EWzWinkel")->setText(QStringLiteral("90"));
    child<QLineEdit>(dialog, "EWzSpitze")->setText(QStringLiteral("0"));
    child<QLineEdit>(dialog, "EERebene")->setText(QStringLiteral("7"));
    QSignalSpy done(&generator, &korvex::app::GenerateController::ReadBackDone);
    press(dialog, "Speichern");

    QCOMPARE(Area<korvex::app::JobDocument>(*window.form).Profile().Tool.Kind,
             korvex::ncgen::TToolKind::Cone);
    QCOMPARE(Area<korvex::app::ProfilePanel>(*window.form).REbeneauswahl(), std::string("7"));
    // The program in the editor is the new profile's, and so is the read-back's verdict.
    QVERIFY(window.form->Editor().toPlainText().contains(QStringLiteral("G0 Z7")));
    if (generator.ReadBackPending()) QVERIFY(done.wait(20000));
    QLabel* mark = child<QLabel>(*window.form, "ReadBackMark");
    QVERIFY2(mark->text().endsWith(QStringLiteral("nicht lesbar")), qPrintable(mark->text()));
}

// The label above the text names the layer; the caption table's "Text" must not replace it.
void SettingsDialogTest::saveKeepsTheLayerName() {
    StartedWindow window;
    BoxAnswerer boxes;
    QLabel* layer = child<QLabel>(*window.form, "LText");
    QCOMPARE(layer->text(), QStringLiteral("Ebene 1"));
    TEinstellungen& dialog = opened(window);
    press(dialog, "Speichern");
    QCOMPARE(layer->text(), QStringLiteral("Ebene 1"));
    dialog.show();
    press(dialog, "Beng");
    QCOMPARE(layer->text(), QStringLiteral("Ebene 1"));
}

void SettingsDialogTest::couponTakesTheDecimalComma() {
    StartedWindow window({DataFile(QStringLiteral("examples/typenschild.ncm"))});
    BoxAnswerer boxes;
    chooseCone(window);
    window.form->KalibriermusterClick();
    korvex::app::CouponDialog& coupon = Area<korvex::app::CouponDialog>(*window.form);
    boxes.Texts.clear();
    QTest::keyClicks(child<QLineEdit>(coupon, "KGemessen"), QStringLiteral("0,5"));
    QTest::mouseClick(child<QAbstractButton>(coupon, "KKorrigieren"), Qt::LeftButton);
    QVERIFY2(!boxes.Texts.contains(window.form->Messenger().Text(9680)),
             qPrintable(boxes.Texts.join('|')));
    const long double angle = Area<korvex::app::JobDocument>(*window.form).Profile().Tool.Angle;
    QVERIFY2(angle > 90 && angle < 179, qPrintable(QString::number(double(angle))));
}

// "Speichern" stays on a 1024 x 768 screen, below a title bar and above a task bar.
void SettingsDialogTest::dialogFitsA768PixelScreen() {
    StartedWindow window;
    BoxAnswerer boxes;
    TEinstellungen& dialog = opened(window);
    for (const char* page : {"MP", "P1"}) {
        press(dialog, page);
        const QSize smallest = dialog.minimumSizeHint().expandedTo(dialog.minimumSize());
        QVERIFY2(
            smallest.height() <= 680 && smallest.width() <= 1000,
            qPrintable(QStringLiteral("%1 x %2").arg(smallest.width()).arg(smallest.height())));
        dialog.resize(smallest);
        QApplication::processEvents();
        QWidget* save = child<QWidget>(dialog, "Speichern");
        const QRect shown(save->mapTo(&dialog, QPoint(0, 0)), save->size());
        QVERIFY(dialog.rect().contains(shown));
    }
}

// With a tool the figures and the dots' notes make the longest status line there is.
void SettingsDialogTest::statusBarShowsTheFiguresWholeAt1600Pixels() {
    StartedWindow window({DataFile(QStringLiteral("examples/typenschild.ncm"))});
    BoxAnswerer boxes;
    chooseCone(window);
    korvex::app::GenerateController& generator = window.form->Generator();
    QSignalSpy done(&generator, &korvex::app::GenerateController::ReadBackDone);
    QVERIFY(generator.ConvertClick());
    if (generator.ReadBackPending()) QVERIFY(done.wait(20000));
    window.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.form.get()));
    window.form->resize(1600, 900);
    QTest::qWait(50);
    QCOMPARE(window.form->width(), 1600);
    QLabel* stats = child<QLabel>(*window.form, "MarkingStats");
    QLabel* mark = child<QLabel>(*window.form, "ReadBackMark");
    QVERIFY2(stats->width() >= stats->sizeHint().width(),
             qPrintable(QStringLiteral("%1 of %2: %3")
                            .arg(stats->width())
                            .arg(stats->sizeHint().width())
                            .arg(stats->text().replace(QLatin1Char('\n'), QLatin1Char('|')))));
    QVERIFY(mark->geometry().right() <= window.form->statusBar()->width());
}

void SettingsDialogTest::shiftTableIsSavedAndABadStartRefused() {
    StartedWindow window;
    BoxAnswerer boxes;
    TEinstellungen& dialog = opened(window);
    auto* table = child<QTableWidget>(dialog, "TSchichten");
    QCOMPARE(table->rowCount(), 1); // the delivered main.ini has no shifts
    const auto type = [table](int row, int column, const QString& text) {
        table->setItem(row, column, new QTableWidgetItem(text));
    };
    type(0, 0, QStringLiteral("Früh"));
    type(0, 1, QStringLiteral("06:00"));
    type(1, 0, QStringLiteral("Nacht"));
    type(1, 1, QStringLiteral("22:00"));
    QCOMPARE(table->rowCount(), 3);
    press(dialog, "Speichern");
    QCOMPARE(stored(window, "main.ini", "Schichten", "Schicht1"), std::string("Fr\xFCh 06:00"));
    QCOMPARE(stored(window, "main.ini", "Schichten", "Schicht2"), std::string("Nacht 22:00"));

    TEinstellungen& again = opened(window);
    table = child<QTableWidget>(again, "TSchichten");
    QCOMPARE(table->item(1, 0)->text(), QStringLiteral("Nacht"));
    table->item(1, 1)->setText(QStringLiteral("22.00"));
    const auto before = configFiles(window);
    boxes.Texts.clear();
    press(again, "Speichern");
    QVERIFY(again.isVisible());
    QCOMPARE(boxes.Texts.size(), 1);
    QVERIFY2(boxes.Texts[0].contains("Schicht2") && boxes.Texts[0].contains("HH:MM"),
             qPrintable(boxes.Texts[0]));
    QCOMPARE(configFiles(window), before);
}
