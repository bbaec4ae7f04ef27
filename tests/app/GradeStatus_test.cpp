#include "app/GenerateController.h"
#include "app/GradeStatus.h"
#include "app/JobDocument.h"
#include "app/Messages.h"
#include "log/GradeRecord.h"
#include "readback/ReadBack.h"
#include "app/SymbolPreview.h"
#include "support/AppFixture.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

#include <sqlite3.h>

using korvex::app::TMainForm;

// The grade is worked out beside the window: a generation returns before it and the status
// bar's mark says so, then shows the report's summary; without a tool it says why there is none.
class GradeStatusTest : public QObject {
    Q_OBJECT
  private slots:
    void markFollowsEachGenerationWithoutHoldingTheWindow() {
        StartedWindow window;
        TMainForm& form = *window.form;
        auto* mark = child<QPushButton>(form, "GradeMark");
        QVERIFY(!mark->isEnabled());
        child<QPlainTextEdit>(form, "EText")->setPlainText(QStringLiteral("SN-0001"));
        Area<korvex::app::SymbolPreview>(form).DMTimerTimer();
        QVERIFY(form.Generator().ConvertClick());
        QCOMPARE(mark->text(), form.Messenger().Text(9959));
        const QString none =
            form.Messenger().Text(9952).replace(QStringLiteral("%1"), form.Messenger().Text(9953));
        QTRY_COMPARE(mark->text(), none);
        QVERIFY(mark->isEnabled());
    }

    // As korvex-cli grades: the profile file's TiefeToleranz sets both ends of the depth; and
    // the program the window saves is recorded with the grade the status bar shows.
    void gradeUsesTheProfilesToleranceAndIsRecordedOnSave() {
        StartedWindow window;
        TMainForm& form = *window.form;
        QFile profile(window.ConfigFolder() + QStringLiteral("profil1.ini"));
        QVERIFY(profile.open(QIODevice::Append));
        profile.write("TiefeToleranz=0.04\r\n");
        profile.close();
        QVERIFY(form.LadeVorlage(DataFile(QStringLiteral("examples/typenschild.ncm"))));
        Area<korvex::app::JobDocument>(form).Profile().Tool = {korvex::ncgen::TToolKind::Cone, 90,
                                                               0, 0};
        QVERIFY(form.Generator().ConvertClick());
        // Saved at once: the record waits for the grade still being worked out.
        QVERIFY(form.SaveProgram(window.folder.filePath(QStringLiteral("p.nc"))));
        auto& status = Area<korvex::app::GradeStatus>(form);
        QTRY_VERIFY(status.Report().has_value());
        QCOMPARE(static_cast<double>(status.Report()->Tolerance), 0.04);
        // korvex-cli records the same job in the same folder with the same grade.
        const ProcessResult cli =
            RunProgram(QStringLiteral(KORVEX_CLI_PATH),
                       {QStringLiteral("generate"), QStringLiteral("--config"),
                        window.ConfigFolder(), QStringLiteral("--tool"), QStringLiteral("cone:90"),
                        QStringLiteral("--allow-duplicate"), QStringLiteral("-o"),
                        window.folder.filePath(QStringLiteral("q.nc")),
                        DataFile(QStringLiteral("examples/typenschild.ncm"))},
                       window.folder.path());
        QCOMPARE(cli.Status, 0);
        sqlite3* db = nullptr;
        const QByteArray file = (window.ConfigFolder() + "korvex.sqlite").toLocal8Bit();
        QCOMPARE(sqlite3_open(file.constData(), &db), SQLITE_OK);
        const std::string saved = korvex::log::StoredGrade(db, 1);
        const std::string generated = korvex::log::StoredGrade(db, 2);
        sqlite3_close(db);
        QVERIFY(!saved.empty());
        QCOMPARE(QString::fromStdString(saved), QString::fromStdString(generated));
    }

    // 0.24 mm of a 90 degree cone: 120 % dots, over AS9132's window but read by both readers;
    // the window's read-back says so as korvex-cli's does, not "does not read".
    void mergingDotsThatReadAreReadable() {
        StartedWindow window;
        TMainForm& form = *window.form;
        QVERIFY(form.LadeVorlage(DataFile(QStringLiteral("examples/typenschild.ncm"))));
        Area<korvex::app::JobDocument>(form).Profile().Tool = {korvex::ncgen::TToolKind::Cone, 90,
                                                               0, 0};
        child<QLineEdit>(form, "ZEbeneauswahl")->setText(QStringLiteral("-0.24"));
        korvex::app::GenerateController& generator = form.Generator();
        QSignalSpy done(&generator, &korvex::app::GenerateController::ReadBackDone);
        QVERIFY(generator.ConvertClick());
        if (generator.ReadBackPending()) QVERIFY(done.wait(30000));
        const auto& check = generator.Notes().Check;
        QVERIFY(check.has_value());
        QVERIFY2(check->Verdict == korvex::readback::TReadBackVerdict::ReadsAsText,
                 korvex::readback::Describe(*check).c_str());
        QCOMPARE(check->Problem.Reason, korvex::readback::TProblem::DotsMerge);
    }
};

QTEST_MAIN(GradeStatusTest)
#include "GradeStatus_test.moc"
