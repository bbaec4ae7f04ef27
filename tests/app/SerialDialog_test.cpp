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

namespace {

template <typename T> T* child(QWidget& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no widget %s", name);
    return found;
}

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

    QByteArray JobBytes() {
        const QString file = folder.filePath(QStringLiteral("job.ncm"));
        form->SaveVorlage(file);
        return ReadAll(file);
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
    void fileInTheWayStopsTheRunAndKeepsEarlierFiles_data();
    void fileInTheWayStopsTheRunAndKeepsEarlierFiles();
    void cancelOrCloseStopsALongRunEarly_data();
    void cancelOrCloseStopsALongRunEarly();
    void textsFollowTheLanguage();
};

void SerialDialogTest::runWritesOneProgramPerNumberAsTheGenerateCommandDoes() {
    SerialWindow window;
    const QByteArray jobBefore = window.JobBytes();
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
    QCOMPARE(window.JobBytes(), jobBefore);

    // The third program is what Convert makes of its text.
    child<QPlainTextEdit>(*window.form, "EText")->setPlainText("SN-0013");
    QVERIFY(window.form->Generator().ConvertClick());
    const QString single = window.folder.filePath("single.nc");
    QVERIFY(window.form->SaveProgram(single));
    QCOMPARE(ReadAll(window.Out() + "/p3-13.nc"), ReadAll(single));
}

void SerialDialogTest::fileInTheWayStopsTheRunAndKeepsEarlierFiles_data() {
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("blocker"); // "folder/3.nc", "file/3" ...
    QTest::addColumn<QString>("target");  // program 3's file
    QTest::addColumn<int>("questions");   // a name that is taken is asked about first
    QTest::newRow("folder named like program 3") << "{n}.nc"
                                                 << "folder/3.nc"
                                                 << "3.nc" << 1;
    QTest::newRow("read-only program 3") << "{n}.nc"
                                         << "read-only/3.nc"
                                         << "3.nc" << 1;
    QTest::newRow("file where program 3's folder goes") << "{n}/p.nc"
                                                        << "file/3"
                                                        << "3/p.nc" << 0;
}

void SerialDialogTest::fileInTheWayStopsTheRunAndKeepsEarlierFiles() {
    QFETCH(QString, names);
    QFETCH(QString, blocker);
    QFETCH(QString, target);
    QFETCH(int, questions);
    SerialWindow window;
    const QString kind = blocker.section('/', 0, 0);
    const QString inTheWay = window.Out() + "/" + blocker.section('/', 1);
    if (kind == "folder") {
        QVERIFY(QDir().mkpath(inTheWay));
    } else {
        QFile file(inTheWay);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("old");
        file.close();
        if (kind == "read-only") QVERIFY(file.setPermissions(QFileDevice::ReadOwner));
    }
    SerialDialog& dialog = window.Opened("1", 6, "1", "A{n}", names);
    BoxAnswerer boxes;
    runToTheEnd(dialog);

    QCOMPARE(boxes.Texts.size(), questions);
    if (questions > 0) QCOMPARE(boxes.Texts.front(), window.Text(9149).arg(1));
    QStringList written{names, names};
    written[0].replace("{n}", "1");
    written[1].replace("{n}", "2");
    QCOMPARE(entries(window.Out()),
             (QStringList{written[0].section('/', 0, 0), written[1].section('/', 0, 0),
                          blocker.section('/', 1)}));
    verifyComplete(window.Out(), written);
    if (kind != "folder") QCOMPARE(ReadAll(inTheWay), QByteArray("old"));
    const QString file = QDir::toNativeSeparators(window.Out() + "/" + target);
    QCOMPARE(child<QLabel>(dialog, "LErgebnis")->text(),
             window.Text(9145).arg("3", "6", "A3", window.Text(9147).arg(file)) + "\n" +
                 window.Text(9144).arg(2).arg(QDir::toNativeSeparators(window.Out())));
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

void SerialDialogTest::textsFollowTheLanguage() {
    SerialWindow window;
    auto* menu = child<QMenu>(*window.form, "Datei1");
    auto* entry = child<QAction>(*window.form, "Serienlauf1");
    QVERIFY(menu->actions().indexOf(entry) <
            menu->actions().indexOf(child<QAction>(*window.form, "Beenden1")));
    const std::pair<const char*, QString> languages[] = {
        {"Beng", "Serial run"}, {"Bger", "Serienlauf"}, {"Beng", "Serial run"}};
    for (const auto& [language, title] : languages) {
        window.form->SettingsDialog().show();
        QTest::mouseClick(child<QAbstractButton>(window.form->SettingsDialog(), language),
                          Qt::LeftButton);
        window.form->SettingsDialog().hide();
        emit menu->aboutToShow();
        QCOMPARE(entry->text(), window.Text(9130));
        SerialDialog& dialog = window.form->SerialRunDialog();
        dialog.show();
        QCOMPARE(dialog.windowTitle(), title);
        QCOMPARE(child<QAbstractButton>(dialog, "Starten")->text(), window.Text(9138));
        dialog.hide();
    }
}

QTEST_MAIN(SerialDialogTest)
#include "SerialDialog_test.moc"
