#include "app/GenerateController.h"
#include "app/KorvexApplication.h"
#include "app/LogDialog.h"
#include "app/AppPlatform.h"
#include "app/SerialDialog.h"
#include "job/LoggedRun.h"
#include "log/LogExport.h"
#include "support/AppFixture.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSettings>
#include <QSpinBox>
#include <QStatusBar>
#include <QtTest>

#include <sqlite3.h>
#include <sys/wait.h>
#include <atomic>
#include <thread>
#include <unistd.h>

using korvex::app::LogDialog;
using korvex::app::SerialDialog;

class MarkingLogTest : public QObject {
    Q_OBJECT
  private slots:
    void savingAMarkedContentAsksFirst();
    void logWindowFindsAndExportsTheRecords();
    void handOffFileIsLogged();
    void checkedSerialRunLogsEachVerdict();
    void interruptedRunIsToldAtTheNextOpening();
    void numbersTakenElsewhereMeanwhileAreSaid();
    void dailyCounterShowsItsResetAndOffersTodaysFirstNumber();
    void recordIsOfTheProgramShown();
    void aLockedLogIsSaidOnTheStatusBar();
};

namespace {

QByteArray readAll(const QString& file) {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

} // namespace

void MarkingLogTest::savingAMarkedContentAsksFirst() {
    StartedWindow window;
    QVERIFY(window.form->LadeVorlage(DataFile("examples/typenschild.ncm")));
    QVERIFY(window.form->Generator().ConvertClick());
    const QString first = window.folder.filePath("first.nc");
    const QString second = window.folder.filePath("second.nc");
    QVERIFY(window.form->SaveProgram(first));
    {
        BoxAnswerer no(true);
        QVERIFY(!window.form->SaveProgram(second));
        QCOMPARE(no.Texts.size(), 1);
        QVERIFY2(no.Texts[0].contains(" wurde am ") &&
                     no.Texts[0].endsWith(" bereits markiert (Datei " +
                                          QDir::toNativeSeparators(first) +
                                          "). Trotzdem schreiben?"),
                 qPrintable(no.Texts[0]));
        QVERIFY(!QFile::exists(second));
    }
    {
        BoxAnswerer yes;
        QVERIFY(window.form->SaveProgram(second));
        QCOMPARE(yes.Texts.size(), 1);
    }
    QCOMPARE(readAll(second), readAll(first));

    // A serial run asks once, naming the first of its programs that was marked before, and
    // takes its first number from the template's counter.
    SerialDialog& dialog = window.form->SerialRunDialog();
    dialog.show();
    dialog.SetLog(&window.form->MarkingLog(), window.form->TemplateFile());
    QCOMPARE(child<QLineEdit>(dialog, "EStart")->text(), QStringLiteral("1"));
    child<QSpinBox>(dialog, "EAnzahl")->setValue(3);
    child<QLineEdit>(dialog, "ETextmuster")->setText("SN-{n}");
    child<QLineEdit>(dialog, "EOrdner")->setText(window.folder.filePath("run"));
    child<QLineEdit>(dialog, "ENamensmuster")->setText("{n}.nc");
    child<QPlainTextEdit>(*window.form, "EText")->setPlainText("SN-2");
    QVERIFY(window.form->Generator().ConvertClick());
    QVERIFY(window.form->SaveProgram(window.folder.filePath("sn2.nc")));
    {
        BoxAnswerer no(true);
        dialog.StartClick();
        QCOMPARE(no.Texts.size(), 1);
        QVERIFY2(no.Texts[0].startsWith("Programm 2 der Serie: SN-2 wurde am "),
                 qPrintable(no.Texts[0]));
        QVERIFY(!dialog.Running());
        QVERIFY(!QDir(window.folder.filePath("run")).exists());
    }
}

void MarkingLogTest::checkedSerialRunLogsEachVerdict() {
    StartedWindow window;
    QVERIFY(window.form->LadeVorlage(DataFile("examples/typenschild.ncm")));
    SerialDialog& dialog = window.form->SerialRunDialog();
    dialog.show();
    dialog.SetLog(&window.form->MarkingLog(), window.form->TemplateFile());
    child<QSpinBox>(dialog, "EAnzahl")->setValue(2);
    child<QLineEdit>(dialog, "ETextmuster")->setText("RB-{n}");
    child<QLineEdit>(dialog, "EOrdner")->setText(window.folder.filePath("run"));
    child<QLineEdit>(dialog, "ENamensmuster")->setText("{n}.nc");
    child<QAbstractButton>(dialog, "CLesekontrolle")->setChecked(true);
    dialog.StartClick();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.Running(), 30000);
    LogDialog& log = window.form->MarkingLogDialog();
    log.Reload();
    QCOMPARE(log.Shown().size(), std::size_t(2));
    for (const auto& record : log.Shown())
        QVERIFY2(!record.ReadBack.empty(), record.Text.c_str());
}

void MarkingLogTest::logWindowFindsAndExportsTheRecords() {
    StartedWindow window;
    QVERIFY(window.form->LadeVorlage(DataFile("examples/typenschild.ncm")));
    for (const char* text : {"SN-1", "SN-2", "Welle, \"Ø 12\""}) {
        child<QPlainTextEdit>(*window.form, "EText")->setPlainText(QString::fromUtf8(text));
        QVERIFY(window.form->Generator().ConvertClick());
        QVERIFY(window.form->SaveProgram(
            window.folder.filePath(QString::fromUtf8(text).left(4) + ".nc")));
    }
    LogDialog& dialog = window.form->MarkingLogDialog();
    dialog.Reload();
    QCOMPARE(dialog.Shown().size(), std::size_t(3));
    QCOMPARE(dialog.Shown().front().Text, std::string("Welle, \"\xD8 12\""));
    child<QLineEdit>(dialog, "ESuche")->setText("sn-");
    QCOMPARE(dialog.Shown().size(), std::size_t(2));
    child<QLineEdit>(dialog, "ESuche")->setText("ø 12");
    QCOMPARE(dialog.Shown().size(), std::size_t(1));

    const QString csv = window.folder.filePath("protokoll.csv");
    QVERIFY(dialog.ExportCsv(csv));
    const auto rows = korvex::log::ReadCsv(readAll(csv).toStdString());
    QCOMPARE(rows.size(), std::size_t(2));
    QCOMPARE(rows[0][5], std::string("text"));
    QCOMPARE(QString::fromStdString(rows[1][5]), QString::fromUtf8("Welle, \"Ø 12\""));
    QCOMPARE(QString::fromStdString(rows[1][12]), window.folder.filePath("Well.nc"));
}

void MarkingLogTest::handOffFileIsLogged() {
    // The system-wide editor setting of this test only.
    QTemporaryDir system;
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, system.path());
    StartedWindow window;
    const QString editor = window.folder.filePath("editor") + "/";
    QVERIFY(QDir().mkpath(editor));
    QSettings(QSettings::SystemScope, "Brevik", "Path").setValue("Main", editor);
    QCOMPARE(korvex::app::SeparateEditorFolder(), editor);
    QVERIFY(window.form->LadeVorlage(DataFile("examples/typenschild.ncm")));
    QVERIFY(window.form->Generator().ConvertClick());
    BoxAnswerer boxes; // the editor program itself is missing here
    window.form->BQuilloClick();
    QVERIFY(QFile::exists(editor + "Brevik.tmp"));
    LogDialog& dialog = window.form->MarkingLogDialog();
    dialog.Reload();
    QCOMPARE(dialog.Shown().size(), std::size_t(1));
    QCOMPARE(korvex::app::FromPath(dialog.Shown().front().Output), editor + "Brevik.tmp");
}

// Painted while the window waits for the log, then the lock is let go.
class WaitWatcher : public QObject {
  public:
    WaitWatcher(QStatusBar& bar, sqlite3* holder) : bar_(bar), holder_(holder) {
        bar.installEventFilter(this);
    }
    QString Said;
    std::atomic<bool> GaveUp{false}; // painted after this is no warning

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && Said.isEmpty() && !GaveUp &&
            bar_.currentMessage().contains(QStringLiteral("korvex.sqlite"))) {
            Said = bar_.currentMessage();
            sqlite3_exec(holder_, "COMMIT", nullptr, nullptr, nullptr);
        }
        return false;
    }

  private:
    QStatusBar& bar_;
    sqlite3* holder_;
};

void MarkingLogTest::aLockedLogIsSaidOnTheStatusBar() {
    StartedWindow window;
    QVERIFY(QTest::qWaitForWindowExposed(window.form.get())); // as a user's window is
    QVERIFY(window.form->LadeVorlage(DataFile("examples/typenschild.ncm")));
    QVERIFY(window.form->Generator().ConvertClick());
    QVERIFY(window.form->SaveProgram(window.folder.filePath("first.nc")));
    sqlite3* other = nullptr;
    const QByteArray file = (window.ConfigFolder() + "korvex.sqlite").toLocal8Bit();
    QCOMPARE(sqlite3_open(file.constData(), &other), SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    WaitWatcher watcher(*window.form->statusBar(), other);
    BoxAnswerer yes; // the content was logged by the first save
    // A window that says nothing would wait the log's full minute.
    std::thread giveUp([other, &watcher] {
        std::this_thread::sleep_for(std::chrono::seconds(3));
        watcher.GaveUp = true;
        sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    });
    const bool saved = window.form->SaveProgram(window.folder.filePath("second.nc"));
    giveUp.join();
    sqlite3_close(other);
    QVERIFY(saved);
    QVERIFY2(watcher.Said.contains(QDir::toNativeSeparators(window.ConfigFolder())) ||
                 watcher.Said.contains(window.ConfigFolder()),
             qPrintable(watcher.Said));
    QVERIFY(window.form->statusBar()->currentMessage() != watcher.Said);
}

int main(int argc, char** argv) {
    korvex::app::KorvexApplication app(argc, argv);
    MarkingLogTest test;
    return QTest::qExec(&test, argc, argv);
}
void MarkingLogTest::interruptedRunIsToldAtTheNextOpening() {
    StartedWindow window;
    const auto file = korvex::log::LogFileFor(korvex::app::ToPath(window.ConfigFolder()));
    QVERIFY(file);
    // A writer that takes 50 numbers and dies before writing any, as a killed run does.
    const pid_t pid = ::fork();
    if (pid == 0) {
        try {
            korvex::log::TMarkingLog(*file).TakeSerials("typenschild", 50, 1, {});
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    int status = 0;
    QCOMPARE(::waitpid(pid, &status, 0), pid);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    BoxAnswerer boxes;
    QVERIFY(window.form->MarkingLog().Log());
    QCOMPARE(boxes.Texts.size(), 1);
    QVERIFY2(boxes.Texts[0].startsWith("Eine Serie wurde unterbrochen: 0 von 50"),
             qPrintable(boxes.Texts[0]));
    // Told once: the window keeps its log open.
    QVERIFY(window.form->MarkingLog().Log());
    QCOMPARE(boxes.Texts.size(), 1);
}

// korvex-cli takes the numbers the dialog offers while it stands open: Start must say so and
// offer the next free one, not do nothing.
void MarkingLogTest::numbersTakenElsewhereMeanwhileAreSaid() {
    StartedWindow window;
    QVERIFY(window.form->LadeVorlage(DataFile("examples/typenschild.ncm")));
    SerialDialog& dialog = window.form->SerialRunDialog();
    dialog.show();
    dialog.SetLog(&window.form->MarkingLog(), window.form->TemplateFile());
    QCOMPARE(child<QLineEdit>(dialog, "EStart")->text(), QStringLiteral("1"));
    child<QLineEdit>(dialog, "EOrdner")->setText(window.folder.filePath("run"));
    const auto file = korvex::log::LogFileFor(korvex::app::ToPath(window.ConfigFolder()));
    QVERIFY(file);
    korvex::log::TMarkingLog(*file).TakeSerials(
        korvex::job::JobCounter(window.form->TemplateFile()), 5, 1, {});

    dialog.StartClick();
    QVERIFY(!dialog.Running());
    QCOMPARE(child<QLabel>(dialog, "LErgebnis")->text(),
             QStringLiteral("Die Nummern ab 1 wurden inzwischen anderswo vergeben; die nächste "
                            "freie Nummer 6 steht jetzt im Feld"));
    QCOMPARE(child<QLineEdit>(dialog, "EStart")->text(), QStringLiteral("6"));
    QVERIFY(!QDir(window.folder.filePath("run")).exists());
}

// A counter made by korvex-cli --reset day on an earlier day: the dialog says so and offers the
// number today's run will get, not the one where yesterday's stopped.
void MarkingLogTest::dailyCounterShowsItsResetAndOffersTodaysFirstNumber() {
    StartedWindow window;
    QVERIFY(window.form->LadeVorlage(DataFile("examples/typenschild.ncm")));
    const auto file = korvex::log::LogFileFor(korvex::app::ToPath(window.ConfigFolder()));
    QVERIFY(file);
    korvex::log::TCounterAsk yesterday{korvex::ncgen::TCounterReset::Day, false,
                                       [] { return korvex::ncgen::TMoment{2020, 1, 1, 12, 0, 0}; }};
    korvex::log::TMarkingLog(*file).TakeSerials(
        korvex::job::JobCounter(window.form->TemplateFile()), 5, 1, {}, yesterday);
    SerialDialog& dialog = window.form->SerialRunDialog();
    dialog.show();
    dialog.SetLog(&window.form->MarkingLog(), window.form->TemplateFile());
    QCOMPARE(child<QLineEdit>(dialog, "EStart")->text(), QStringLiteral("1"));
    QVERIFY(child<QLabel>(dialog, "LNeubeginn")->isVisible());
    QCOMPARE(child<QLabel>(dialog, "LNeubeginn")->text(),
             QStringLiteral("Der Zähler beginnt jeden Tag neu"));
}

// The record is the editor's program: the size its symbol got (as korvex-cli records it, not
// the "AUTO" asked for) and its text, even when the field was edited after generating.
void MarkingLogTest::recordIsOfTheProgramShown() {
    StartedWindow window;
    QVERIFY(window.form->LadeVorlage(DataFile("examples/typenschild.ncm")));
    QVERIFY(window.form->Generator().ConvertClick());
    child<QPlainTextEdit>(*window.form, "EText")->setPlainText("SN-OTHER");
    window.form->Generator().ConvertTimer().stop();
    QVERIFY(window.form->SaveProgram(window.folder.filePath("shown.nc")));
    const auto file = korvex::log::LogFileFor(korvex::app::ToPath(window.ConfigFolder()));
    QVERIFY(file);
    const auto records = korvex::log::TMarkingLog(*file).Query({});
    QCOMPARE(records.size(), std::size_t(1));
    QCOMPARE(records[0].Text, std::string("SN-2026-000123"));
    QCOMPARE(records[0].SymbolSize, std::string("C16X16"));
}

#include "MarkingLog_test.moc"
