#include "app/CommandLine.h"
#include "app/AppPlatform.h"
#include "app/GenerateController.h"
#include "app/Messages.h"
#include "config/IniFile.h"
#include "log/GradeRecord.h"
#include "support/AppFixture.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

using korvex::app::ParseCommandLine;
using korvex::app::TCommandLine;

class BatchTest : public QObject {
    Q_OBJECT
  private slots:
    void commandLineForms_data();
    void commandLineForms();
    void batchWritesWhatTheCliWritesForEveryProfile();
    void batchFailuresEndWithStatusOneAtOnce_data();
    void batchFailuresEndWithStatusOneAtOnce();
    void noWriterOfTheWindowReplacesTheJobFile();
    void nothingAfterDOnADisplayAsksNobody();
    void batchRecordsTheGradeTheCliRecords();
};

void BatchTest::commandLineForms_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("templateFile");
    QTest::addColumn<QString>("output");
    const int batch = int(TCommandLine::Form::Batch);
    const int open = int(TCommandLine::Form::Open);
    QTest::newRow("four arguments")
        << QStringList{"/V", "plate.ncm", "/D", "out.nc"} << batch << "plate.ncm"
        << "out.nc";
    QTest::newRow("three arguments")
        << QStringList{"/Vplate.ncm", "/D", "out.nc"} << batch << "plate.ncm"
        << "out.nc";
    QTest::newRow("character after /D dropped")
        << QStringList{"/V", "plate.ncm", "/Dout.nc"} << batch << "plate.ncm"
        << "ut.nc";
    QTest::newRow("blank in a path")
        << QStringList{"/V", "my", "plate.ncm", "/D", "out.nc"} << batch << "my plate.ncm"
        << "out.nc";
    QTest::newRow("no /D") << QStringList{"/V", "plate.ncm"}
                           << int(TCommandLine::Form::BatchNoOutput) << ""
                           << "";
    QTest::newRow("empty template") << QStringList{"/V", "/D", "out.nc"} << batch << ""
                                    << "out.nc";
    // "/" separates folders: a path holding "/D" is not cut there.
    QTest::newRow("/D inside the template path")
        << QStringList{"/V", "/home/x/Documents/plate.ncm", "/D", "/srv/Data/out.nc"} << batch
        << "/home/x/Documents/plate.ncm"
        << "/srv/Data/out.nc";
    QTest::newRow("/D inside a joined template path")
        << QStringList{"/V/srv/Data/plate.ncm", "/D", "out.nc"} << batch << "/srv/Data/plate.ncm"
        << "out.nc";
    QTest::newRow("nothing after /D")
        << QStringList{"/V", "plate.ncm", "/D"} << batch << "plate.ncm"
        << "";
    QTest::newRow("lower-case v is a file name")
        << QStringList{"/v", "plate.ncm", "/D", "out.nc"} << open << "/v"
        << "/D";
}

void BatchTest::commandLineForms() {
    QFETCH(QStringList, arguments);
    QFETCH(int, kind);
    std::vector<std::string> plain;
    for (const QString& argument : arguments)
        plain.push_back(argument.toStdString());
    const TCommandLine line = ParseCommandLine(plain);
    QCOMPARE(int(line.Kind), kind);
    QTEST(QString::fromStdString(line.Template), "templateFile");
    QTEST(QString::fromStdString(line.Output), "output");
}

void BatchTest::batchWritesWhatTheCliWritesForEveryProfile() {
    QTemporaryDir home;
    const QString job = DataFile("examples/typenschild.ncm");
    const QString config = home.filePath("Documents/Korvex2/config/");
    // The first run creates the configuration folder from the delivered defaults.
    QCOMPARE(
        RunProgram(KORVEX_CLI_PATH, {"generate", "-o", home.filePath("first.nc"), job}, home.path())
            .Status,
        0);
    // The same text marked eight times on purpose: the marking log would refuse the repeats.
    korvex::config::TIniFile(korvex::app::ToPath(config + "main.ini"), "log")
        .WriteString("Markierprotokoll", "0");
    for (int profile = 1; profile <= 4; ++profile) {
        korvex::config::TIniFile(korvex::app::ToPath(config + "main.ini"), "set")
            .WriteInteger("Profil", profile);
        const QString cliOut = home.filePath(QStringLiteral("cli%1.nc").arg(profile));
        const QString appOut = home.filePath(QStringLiteral("app%1.nc").arg(profile));
        const ProcessResult cli = RunProgram(
            KORVEX_CLI_PATH, {"generate", "--profile", QString::number(profile), "-o", cliOut, job},
            home.path());
        QCOMPARE(cli.Status, 0);
        const ProcessResult app =
            RunProgram(KORVEX_APP_PATH, {"/V", job, "/D", appOut}, home.path());
        QVERIFY2(app.Status == 0, app.Err.constData());
        const QByteArray expected = ReadAll(cliOut);
        QVERIFY(expected.size() > 100);
        QCOMPARE(ReadAll(appOut), expected);
    }
}

void BatchTest::batchFailuresEndWithStatusOneAtOnce_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QString job = DataFile("examples/typenschild.ncm");
    QTest::newRow("missing template") << QStringList{"/V", "/nowhere/job.ncm", "/D", "out.nc"}
                                      << "Vorlage [/nowhere/job.ncm] existiert nicht!";
    // Opened with an empty text and an output: the start-up job must not be written instead.
    QTest::newRow("missing template, opened") << QStringList{"/nowhere/job.ncm", "", "out.nc"}
                                              << "Vorlage [/nowhere/job.ncm] existiert nicht!";
    QTest::newRow("nothing after /D")
        << QStringList{"/V", job, "/D", ""} << "Nach /D fehlt die Ausgabedatei";
    QTest::newRow("unwritable output") << QStringList{"/V", job, "/D", "/nowhere/out.nc"}
                                       << "Datei /nowhere/out.nc kann nicht erstellt werden";
}

void BatchTest::batchFailuresEndWithStatusOneAtOnce() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QTemporaryDir home;
    const QString output = home.filePath(QStringLiteral("out.nc"));
    arguments.replaceInStrings(QRegularExpression(QStringLiteral("^out\\.nc$")), output);
    const ProcessResult app = RunProgram(KORVEX_APP_PATH, arguments, home.path());
    QCOMPARE(app.Status, 1);
    QVERIFY2(QString::fromUtf8(app.Err).contains(message), app.Err.constData());
    QVERIFY(!QFileInfo::exists(output));
}

void BatchTest::noWriterOfTheWindowReplacesTheJobFile() {
    QTemporaryDir home;
    const QString job = home.filePath(QStringLiteral("job.ncm"));
    QVERIFY(QFile::copy(DataFile("examples/typenschild.ncm"), job));
    QVERIFY(QFile::link(job, home.filePath(QStringLiteral("link.ncm"))));
    const QByteArray kept = ReadAll(job);
    for (const QString& output :
         {job, home.path() + QStringLiteral("/./job.ncm"), home.filePath("link.ncm")}) {
        const ProcessResult app =
            RunProgram(KORVEX_APP_PATH, {"/V", job, "/D", output}, home.path());
        QCOMPARE(app.Status, 1);
        QVERIFY2(app.Err.contains("die Ausgabedatei ist die Auftragsdatei selbst"),
                 app.Err.constData());
        QCOMPARE(ReadAll(job), kept);
    }
    // The window's own save goes through the same gate.
    StartedWindow window({job});
    window.form->Generator().ConvertClick();
    BoxAnswerer answers;
    QVERIFY(!window.form->SaveProgram(home.path() + QStringLiteral("/./job.ncm")));
    QCOMPARE(ReadAll(job), kept);
    QVERIFY(answers.Texts.join('|').contains(QStringLiteral("Auftragsdatei selbst")));
}

void BatchTest::nothingAfterDOnADisplayAsksNobody() {
    const int failures = korvex::app::Messages::BatchFailures();
    BoxAnswerer answers;
    StartedWindow window({"/V", DataFile("examples/typenschild.ncm"), "/D"});
    QTest::qWait(50);
    QCOMPARE(answers.Texts, QStringList());
    QCOMPARE(korvex::app::Messages::BatchFailures(), failures + 1);
}

// The batch's program goes into the log with its predicted grade, as korvex-cli's does.
void BatchTest::batchRecordsTheGradeTheCliRecords() {
    QTemporaryDir home;
    const QString job = DataFile("examples/typenschild.ncm");
    const QString config = home.filePath("Documents/Korvex2/config/");
    QCOMPARE(RunProgram(KORVEX_CLI_PATH, {"generate", job}, home.path()).Status, 0);
    korvex::config::TIniFile profile(korvex::app::ToPath(config + "profil1.ini"), "set");
    profile.WriteString("WzTyp", "1");
    profile.WriteString("WzWinkel", "90");
    profile.WriteString("WzSpitze", "0");
    const ProcessResult app =
        RunProgram(KORVEX_APP_PATH, {"/V", job, "/D", home.filePath("app.nc")}, home.path());
    QVERIFY2(app.Status == 0, app.Err.constData());
    QCOMPARE(RunProgram(KORVEX_CLI_PATH,
                        {"generate", "--allow-duplicate", "-o", home.filePath("cli.nc"), job},
                        home.path())
                 .Status,
             0);
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open((config + "korvex.sqlite").toLocal8Bit().constData(), &db), SQLITE_OK);
    const std::string batch = korvex::log::StoredGrade(db, 1);
    const std::string cli = korvex::log::StoredGrade(db, 2);
    sqlite3_close(db);
    QVERIFY(!batch.empty());
    QCOMPARE(QString::fromStdString(batch), QString::fromStdString(cli));
}

QTEST_MAIN(BatchTest)
#include "Batch_test.moc"
