#include "app/KorvexApplication.h"
#include "app/AppPlatform.h"
#include "app/GenerateController.h"
#include "app/ProgramLog.h"
#include "app/VerifyDialog.h"
#include "base/TextNumbers.h"
#include "log/Verification.h"
#include "support/AppFixture.h"
#include "support/PhotoRender.h"

#include <QAbstractButton>
#include <QMimeData>
#include <QLabel>
#include <QTableWidget>
#include <QtTest>

#include <fstream>

using korvex::app::VerifyDialog;

class VerifyDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void photoOfASavedProgramIsShownAndRecordedWithItsRecord();
    void photoOfAnotherContentCannotBeRecorded();
    void droppedPhotoOpensItsVerification();
};

namespace {

std::filesystem::path photoOf(const StartedWindow& window, const std::string& text) {
    korvex::phototest::TPhotoScene scene;
    scene.Text = text;
    scene.AngleDegrees = 31;
    const std::filesystem::path file =
        korvex::app::ToPath(window.folder.filePath(QStringLiteral("part.png")));
    std::ofstream(file, std::ios::binary)
        << korvex::phototest::EncodePhoto(korvex::phototest::RenderPhoto(scene), ".png");
    return file;
}

// The saved program's record, its content the photo's.
korvex::log::TMarkRecord savedRecord(StartedWindow& window) {
    window.form->LadeVorlage(DataFile("examples/typenschild.ncm"));
    window.form->Generator().ConvertClick();
    window.form->SaveProgram(window.folder.filePath(QStringLiteral("part.nc")));
    const auto records = window.form->MarkingLog().Log()->Query({});
    return records.empty() ? korvex::log::TMarkRecord{} : records.back();
}

VerifyDialog& opened(StartedWindow& window, const std::filesystem::path& photo) {
    korvex::app::OpenVerifyDialog(*window.form, window.form->MarkingLog(), window.form->Messenger(),
                                  photo);
    return *window.form->findChild<VerifyDialog*>(QStringLiteral("VerifyMark"));
}

} // namespace

void VerifyDialogTest::photoOfASavedProgramIsShownAndRecordedWithItsRecord() {
    StartedWindow window;
    const korvex::log::TMarkRecord record = savedRecord(window);
    QVERIFY(record.Id > 0);
    VerifyDialog& dialog = opened(window, photoOf(window, record.Text));
    QTRY_VERIFY_WITH_TIMEOUT(dialog.Done(), 20000);
    QVERIFY(child<QTableWidget>(dialog, "VerifyParameters")->rowCount() > 8);
    QVERIFY(!child<QLabel>(dialog, "VerifyPicture")->pixmap().isNull());
    const QString found = child<QLabel>(dialog, "VerifyLogRecord")->text();
    QVERIFY2(found.contains(QString::number(record.Id)), qPrintable(found));
    auto* button = child<QAbstractButton>(dialog, "VerifyRecord");
    QVERIFY(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    const auto kept = window.form->MarkingLog().Log()->VerificationsOf(record.Id);
    QCOMPARE(kept.size(), std::size_t(1));
    QCOMPARE(kept[0].Grade.size(), std::size_t(1));
    QVERIFY(kept[0].DotSize > 0.7 && kept[0].DotSize < 0.9);
    QVERIFY(!button->isEnabled());
}

void VerifyDialogTest::photoOfAnotherContentCannotBeRecorded() {
    StartedWindow window;
    VerifyDialog& dialog = opened(window, photoOf(window, "NIE MARKIERT 1"));
    QTRY_VERIFY_WITH_TIMEOUT(dialog.Done(), 20000);
    QCOMPARE(child<QLabel>(dialog, "VerifyLogRecord")->text(),
             window.form->Messenger().Text(korvex::text::VerifyNotInLog));
    QVERIFY(!child<QAbstractButton>(dialog, "VerifyRecord")->isEnabled());
}

// Dropping a photo on the window verifies it; another file is not taken.
void VerifyDialogTest::droppedPhotoOpensItsVerification() {
    StartedWindow window;
    const std::filesystem::path photo = photoOf(window, "KORVEX 4711");
    const QString other = window.folder.filePath(QStringLiteral("notes.txt"));
    for (const QString& file : {other, korvex::app::FromPath(photo)}) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.form.get(), &enter);
        QCOMPARE(enter.isAccepted(), file != other);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.form.get(), &drop);
    }
    auto* dialog = window.form->findChild<VerifyDialog*>(QStringLiteral("VerifyMark"));
    QVERIFY(dialog);
    QCOMPARE(window.form->findChildren<VerifyDialog*>().size(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(dialog->Done(), 20000);
}

int main(int argc, char** argv) {
    korvex::app::KorvexApplication app(argc, argv);
    VerifyDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "VerifyDialog_test.moc"
