// The layer page's human-readable line in dots and DMRE choice: what the user sets there is
// previewed, marked and saved.

#include "app/GenerateController.h"
#include "app/SymbolPreview.h"
#include "support/AppFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

#include <algorithm>

using korvex::app::SymbolPreview;

namespace {

void writeJob(const QString& file, const QByteArray& bytes) {
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(bytes);
}

// Pixels of `colour` in the picture's bottom seventh.
int pixelsAtTheBottom(const QImage& picture, const QColor& colour) {
    int count = 0;
    for (int y = picture.height() * 6 / 7; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            count += picture.pixelColor(x, y) == colour ? 1 : 0;
    return count;
}

const QColor Dark(224, 192, 0), Light(64, 64, 64); // the preview's module discs

} // namespace

class DotLineTest : public QObject {
    Q_OBJECT
  private slots:
    void lineSetOnThePageIsPreviewedMarkedAndSaved();
    void lineOfAJobFileIsShownOnThePage();
    void dmreBoxLetsTheSymbolGrowIntoDmreAndWarns();
};

void DotLineTest::lineSetOnThePageIsPreviewedMarkedAndSaved() {
    StartedWindow window;
    auto& preview = Area<SymbolPreview>(*window.form);
    child<QPlainTextEdit>(*window.form, "EText")->setPlainText(QStringLiteral("SN-42"));
    preview.DMTimerTimer();
    // The symbol fills the square picture, its light modules down to the bottom.
    QVERIFY(pixelsAtTheBottom(preview.Picture(), Light) > 0);

    child<QComboBox>(*window.form, "HrtPosition")->setCurrentIndex(1); // below
    child<QLineEdit>(*window.form, "HrtHeight")->setText(QStringLiteral("1.2"));
    preview.DMTimerTimer();
    // The symbol moves up; the line's dots, all dark, lie under it.
    QCOMPARE(pixelsAtTheBottom(preview.Picture(), Light), 0);
    QVERIFY(pixelsAtTheBottom(preview.Picture(), Dark) > 100);

    QVERIFY(window.form->Generator().ConvertClick());
    const std::vector<std::string>& lines = window.form->Generator().SimulationLines();
    const auto mark = std::find(lines.begin(), lines.end(), std::string("HT;"));
    QVERIFY(mark != lines.end());
    QVERIFY(std::count_if(mark, lines.end(),
                          [](const std::string& line) { return line.rfind("XY;", 0) == 0; }) > 50);
    const QString saved = window.folder.filePath("saved.ncm");
    window.form->SaveVorlage(saved);
    QVERIFY(ReadAll(saved).contains("DMENC 0\r\nHRT BELOW 1.2\r\nANGLE"));
}

void DotLineTest::lineOfAJobFileIsShownOnThePage() {
    StartedWindow window;
    const QString job = window.folder.filePath("job.ncm");
    writeJob(job, "LAYER Ebene 1\r\nSHOW\r\nSIZE 0.5\r\nDMFORM 0\r\nDMENC 0\r\nHRT LEFT 2 0.3\r\n"
                  "HRTTEXT LOT {line}\r\nANGLE 0\r\nXDIS 0\r\nYDIS 0\r\nDATA\r\n/77\r\nBLANK \r\n");
    QVERIFY(window.form->LadeVorlage(job));
    QCOMPARE(child<QComboBox>(*window.form, "HrtPosition")->currentIndex(), 3);
    QCOMPARE(child<QLineEdit>(*window.form, "HrtHeight")->text(), QStringLiteral("2"));
    QCOMPARE(child<QLineEdit>(*window.form, "HrtPitch")->text(), QStringLiteral("0.3"));
    QCOMPARE(child<QLineEdit>(*window.form, "HrtText")->text(), QStringLiteral("LOT {line}"));
    QVERIFY(window.form->Generator().ConvertClick());
    const QString saved = window.folder.filePath("saved.ncm");
    window.form->SaveVorlage(saved);
    QVERIFY(ReadAll(saved).contains("HRT LEFT 2 0.3\r\nHRTTEXT LOT {line}\r\n"));
}

void DotLineTest::dmreBoxLetsTheSymbolGrowIntoDmreAndWarns() {
    StartedWindow window;
    const QString job = window.folder.filePath("welle.ncm");
    writeJob(job, "LAYER Ebene 1\r\nSHOW\r\nSIZE 0.3\r\nDMFORM 25\r\nDMENC 0\r\nANGLE 0\r\n"
                  "XDIS 0\r\nYDIS 0\r\nDATA\r\n/KX-2026-SN-000012345\r\nBLANK \r\n");
    QVERIFY(window.form->LadeVorlage(job));
    auto& preview = Area<SymbolPreview>(*window.form);
    auto* dmre = child<QCheckBox>(*window.form, "DmreAllowed");
    QVERIFY(!dmre->isChecked());
    QVERIFY(child<QLabel>(*window.form, "DmreWarning")->isHidden());
    dmre->click();
    preview.DMTimerTimer();
    QVERIFY(!child<QLabel>(*window.form, "DmreWarning")->isHidden());
    QCOMPARE(child<QLabel>(*window.form, "Schriftname")->text(), QStringLiteral("C8X48 - ASCII"));
    QVERIFY(window.form->Generator().ConvertClick());
    QCOMPARE(window.form->Generator().Record().SymbolSize, std::string("C8X48"));
    const QString saved = window.folder.filePath("saved.ncm");
    window.form->SaveVorlage(saved);
    QVERIFY(ReadAll(saved).contains("DMENC 0\r\nDMRE 1\r\nANGLE"));
}

QTEST_MAIN(DotLineTest)
#include "DotLine_test.moc"
