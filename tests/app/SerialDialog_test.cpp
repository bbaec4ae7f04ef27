#include "app/JobDocument.h"
#include "app/SerialDialog.h"
#include "app/GenerateController.h"
#include "app/Messages.h"
#include "app/TEinstellungen.h"
#include "support/AppFixture.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QtTest>

using korvex::app::SerialDialog;
using korvex::app::TEinstellungen;

namespace {

struct SerialWindow : StartedWindow {
    SerialWindow() : StartedWindow({DataFile(QStringLiteral("examples/typenschild.ncm"))}) {
        QDir().mkpath(Out());
    }
    QString Out() const { return folder.filePath(QStringLiteral("serien")); }

    // The dialog as the menu opens it, without blocking, with its fields filled in.
    SerialDialog& Opened(const QString& start, int count, const QString& step, const QString& text,
                         const QString& names) {
        SerialDialog& dialog = form->SerialRunDialog();
        dialog.show();
        child<QLineEdit>(dialog, "EStart")->setText(start);
        child<QSpinBox>(dialog, "EAnzahl")->setValue(count);
        child<QLineEdit>(dialog, "ESchritt")->setText(step);
        child<QLineEdit>(dialog, "ETextmuster")->setText(text);
        child<QLineEdit>(dialog, "EOrdner")->setText(Out());
        child<QLineEdit>(dialog, "ENamensmuster")->setText(names);
        return dialog;
    }

    QString Text(int number) const { return form->Messenger().Text(number); }
};

void runToTheEnd(SerialDialog& dialog) {
    QTest::mouseClick(child<QAbstractButton>(dialog, "Starten"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.Running(), 60000);
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                  QDir::Name);
}

// Each program ends as the first one does: nothing was cut off.
void verifyComplete(const QString& folder, const QStringList& files) {
    QVERIFY(!files.isEmpty());
    const QByteArray first = ReadAll(folder + "/" + files.front());
    const QByteArray end = first.mid(first.lastIndexOf("\r\n"));
    QVERIFY(end.size() > 2);
    for (const QString& file : files)
        QVERIFY2(ReadAll(folder + "/" + file).endsWith(end), qPrintable(file));
}

} // namespace

class SerialDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void runWritesOneProgramPerNumberAsTheGenerateCommandDoes();
    void lineNamesTheFilesAsKorvexCliDoes();
    void emptyTextIsToldInTheWindowsLanguage();
    void fileInTheWayStopsTheRunAndKeepsEarlierFiles_data();
    void fileInTheWayStopsTheRunAndKeepsEarlierFiles();
    void cancelOrCloseStopsALongRunEarly_data();
    void cancelOrCloseStopsALongRunEarly();
    void unreadableProgramStopsACheckedRun_data();
    void unreadableProgramStopsACheckedRun();
    void nameFollowsTheProfileUntilTyped();
    void textsFollowTheLanguage();
    void progressCountsBeforeARunAndReopeningClearsTheSummary();
};

void SerialDialogTest::runWritesOneProgramPerNumberAsTheGenerateCommandDoes() {
    SerialWindow window;
    const auto layersBefore = Area<korvex::app::JobDocument>(*window.form).Job().Layers.Layers;
    SerialDialog& dialog = window.Opened("7", 5, "3", "SN-{n:04}", "p{i}-{n}.nc");
    QCOMPARE(child<QLabel>(dialog, "LVorschau")->text().count("SN-0007"), 1);
    QVERIFY(child<QLabel>(dialog, "LVorschau")->text().contains("SN-0019"));
    runToTheEnd(dialog);

    const QStringList expected{"p1-7.nc", "p2-10.nc", "p3-13.nc", "p4-16.nc", "p5-19.nc"};
    QCOMPARE(entries(window.Out()), expected);
    auto* progress = child<QProgressBar>(dialog, "Fortschritt");
    QCOMPARE(progress->value(), 5);
    QCOMPARE(progress->maximum(), 5);
    QCOMPARE(child<QLabel>(dialog, "LErgebnis")->text(),
             window.Text(9144).arg(5).arg(QDir::toNativeSeparators(window.Out())));
    QVERIFY(Area<korvex::app::JobDocument>(*window.form).Job().Layers.Layers == layersBefore);

    // The third program is what Convert makes of its text.
    child<QPlainTextEdit>(*window.form, "EText")->setPlainText("SN-0013");
    QVERIFY(window.form->Generator().ConvertClick());
    const QString single = window.folder.filePath("single.nc");
    QVERIFY(window.form->SaveProgram(single));
    QCOMPARE(ReadAll(window.Out() + "/p3-13.nc"), ReadAll(single));
}

void SerialDialogTest::lineNamesTheFilesAsKorvexCliDoes() {
    SerialWindow window;
    SerialDialog& dialog = window.Opened("9", 2, "1", "Typ/{n:03}", "{line}_{i}.nc");
    QVERIFY(child<QLabel>(dialog, "LVorschau")->text().contains("Typ_009_1.nc"));
    runToTheEnd(dialog);
    QCOMPARE(entries(window.Out()), (QStringList{"Typ_009_1.nc", "Typ_010_2.nc"}));
}

void SerialDialogTest::emptyTextIsToldInTheWindowsLanguage() {
    SerialWindow window;
    SerialDialog& dialog = window.Opened("1", 2, "1", "{line}", "{i}.nc");
    runToTheEnd(dialog);
    QCOMPARE(child<QLabel>(dialog, "LErgebnis")->text(),
             window.Text(9145).arg("1", "2", "", window.Text(9401)) + "\n" +
                 window.Text(9144).arg(0).arg(QDir::toNativeSeparators(window.Out())));
    QVERIFY(entries(window.Out()).isEmpty());
}

void SerialDialogTest::fileInTheWayStopsTheRunAndKeepsEarlierFiles_data() {
    QTest::addColumn<bool>("folder");
    QTest::newRow("folder named like program 3") << true;
    QTest::newRow("read-only program 3") << false;
}

void SerialDialogTest::fileInTheWayStopsTheRunAndKeepsEarlierFiles() {
    QFETCH(bool, folder);
    SerialWindow window;
    const QString third = window.Out() + "/3.nc";
    if (folder) {
        QVERIFY(QDir().mkpath(third));
    } else {
        QFile file(third);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("old") == 3);
        QVERIFY(file.setPermissions(QFileDevice::ReadOwner));
    }
    SerialDialog& dialog = window.Opened("1", 6, "1", "A{n}", "{n}.nc");
    BoxAnswerer boxes;
    runToTheEnd(dialog);

    QCOMPARE(boxes.Texts, QStringList{window.Text(9149).arg(1)});
    QCOMPARE(entries(window.Out()), (QStringList{"1.nc", "2.nc", "3.nc"}));
    verifyComplete(window.Out(), {"1.nc", "2.nc"});
    if (!folder) QCOMPARE(ReadAll(third), QByteArray("old"));
    QCOMPARE(child<QLabel>(dialog, "LErgebnis")->text(),
             window.Text(9145).arg("3", "6", "A3",
                                   window.Text(9147).arg(QDir::toNativeSeparators(third))) +
                 "\n" + window.Text(9144).arg(2).arg(QDir::toNativeSeparators(window.Out())));
    QVERIFY(child<QAbstractButton>(dialog, "Starten")->isEnabled());
}

void SerialDialogTest::cancelOrCloseStopsALongRunEarly_data() {
    QTest::addColumn<bool>("close");
    QTest::newRow("Cancel") << false;
    QTest::newRow("Escape closes") << true;
}

void SerialDialogTest::cancelOrCloseStopsALongRunEarly() {
    QFETCH(bool, close);
    SerialWindow window;
    constexpr int count = 100000;
    SerialDialog& dialog = window.Opened("1", count, "1", "{n:06}", "{n}.nc");
    QTest::mouseClick(child<QAbstractButton>(dialog, "Starten"), Qt::LeftButton);
    QVERIFY(!child<QWidget>(dialog, "EStart")->isEnabled());
    QVERIFY(!child<QAbstractButton>(dialog, "Starten")->isEnabled());
    QTRY_VERIFY(child<QProgressBar>(dialog, "Fortschritt")->value() >= 1);
    if (close) {
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QVERIFY(!dialog.Running());
    } else {
        QTest::mouseClick(child<QAbstractButton>(dialog, "Abbrechen"), Qt::LeftButton);
    }
    QTRY_VERIFY(child<QLabel>(dialog, "LErgebnis")->text().size() > 0);

    const QStringList files = entries(window.Out());
    QVERIFY(files.size() < count);
    verifyComplete(window.Out(), files);
    const QString written = QString::number(files.size());
    QCOMPARE(child<QLabel>(dialog, "LErgebnis")->text(),
             window.Text(9146).arg(written, QString::number(count)) + "\n" +
                 window.Text(9144).arg(written, QDir::toNativeSeparators(window.Out())));
    QVERIFY(child<QWidget>(dialog, "EStart")->isEnabled());
}

void SerialDialogTest::unreadableProgramStopsACheckedRun_data() {
    QTest::addColumn<bool>("check");
    QTest::newRow("checked") << true;
    QTest::newRow("not checked") << false;
}

void SerialDialogTest::unreadableProgramStopsACheckedRun() {
    QFETCH(bool, check);
    SerialWindow window;
    BoxAnswerer boxes;
    // A first-point template that moves nowhere leaves the symbol without its first module.
    TEinstellungen& settings = window.form->SettingsDialog();
    settings.show();
    QTest::mouseClick(child<QAbstractButton>(settings, "P1"), Qt::LeftButton);
    child<QPlainTextEdit>(settings, "ESyntaxS")->setPlainText(QStringLiteral("G0 Z5"));
    QTest::mouseClick(child<QAbstractButton>(settings, "Speichern"), Qt::LeftButton);
    window.form->ProfilClick(1);
    // The window's own mark says so too.
    QVERIFY(window.form->Generator().ConvertClick());
    QLabel* mark = child<QLabel>(*window.form, "ReadBackMark");
    QVERIFY(mark->text().endsWith("nicht lesbar"));
    QVERIFY2(mark->toolTip().contains("der erste Punkt wird nicht markiert"),
             qPrintable(mark->toolTip()));

    SerialDialog& dialog = window.Opened("1", 3, "1", "A{n}", "{n}.nc");
    child<QAbstractButton>(dialog, "CLesekontrolle")->setChecked(check);
    runToTheEnd(dialog);
    const QStringList files = entries(window.Out());
    QCOMPARE(files.size(), check ? 1 : 3);
    verifyComplete(window.Out(), files);
    QCOMPARE(child<QLabel>(dialog, "LErgebnis")->text().contains("nicht lesbar"), check);
}

void SerialDialogTest::nameFollowsTheProfileUntilTyped() {
    SerialWindow window;
    // The menu entry opens the dialog modally; it is closed as soon as it shows.
    const auto openFromMenu = [&window] {
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&window] {
            if (window.form->SerialRunDialog().isVisible()) window.form->SerialRunDialog().close();
        });
        closer.start(20);
        child<QAction>(*window.form, "Serienlauf1")->trigger();
        return child<QLineEdit>(window.form->SerialRunDialog(), "ENamensmuster")->text();
    };
    QCOMPARE(openFromMenu(), QStringLiteral("{n}.nc"));
    window.form->ProfilClick(2);
    QCOMPARE(openFromMenu(), QStringLiteral("{n}.h"));
    child<QLineEdit>(window.form->SerialRunDialog(), "ENamensmuster")->setText("x{n}.nc");
    window.form->ProfilClick(3);
    QCOMPARE(openFromMenu(), QStringLiteral("x{n}.nc"));
}

void SerialDialogTest::textsFollowTheLanguage() {
    SerialWindow window;
    window.form->SerialRunDialog(); // made in German, shown after the switch
    window.form->SettingsDialog().show();
    QTest::mouseClick(child<QAbstractButton>(window.form->SettingsDialog(), "Beng"),
                      Qt::LeftButton);
    emit child<QMenu>(*window.form, "Datei1")->aboutToShow();
    QCOMPARE(child<QAction>(*window.form, "Serienlauf1")->text(),
             QStringLiteral("Se&rial run ..."));
    SerialDialog& dialog = window.form->SerialRunDialog();
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Serial run"));
    QCOMPARE(child<QAbstractButton>(dialog, "Starten")->text(), QStringLiteral("&Start"));
}

void SerialDialogTest::progressCountsBeforeARunAndReopeningClearsTheSummary() {
    SerialWindow window;
    SerialDialog& dialog = window.Opened("1", 10, "1", "SN-{n}", "{n}.nc");
    auto* progress = child<QProgressBar>(dialog, "Fortschritt");
    auto* summary = child<QLabel>(dialog, "LErgebnis");
    QCOMPARE(progress->text(), QStringLiteral("0 / 10"));
    runToTheEnd(dialog);
    QCOMPARE(progress->text(), QStringLiteral("10 / 10"));
    QVERIFY(!summary->text().isEmpty());
    dialog.hide();
    dialog.show();
    QVERIFY(summary->text().isEmpty());
    QCOMPARE(progress->text(), QStringLiteral("0 / 10"));
}

QTEST_MAIN(SerialDialogTest)
#include "SerialDialog_test.moc"
