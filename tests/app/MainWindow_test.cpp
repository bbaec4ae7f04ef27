#include "app/JobDocument.h"
#include "app/GenerateController.h"
#include "app/JobPanel.h"
#include "app/KorvexApplication.h"
#include "base/EKorvexError.h"
#include "app/NCEditor.h"
#include "app/NumericKeyFilter.h"
#include "app/AppPlatform.h"
#include "app/SymbolPreview.h"
#include "base/TextNumbers.h"
#include "app/TEinstellungen.h"
#include "app/TInfo.h"
#include "app/TFSymbol.h"
#include "app/TestPrint.h"
#include "app/TextField.h"
#include "support/AppFixture.h"

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QTextBlock>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QtTest>

using korvex::app::TMainForm;

namespace {

QPlainTextEdit* textField(TMainForm& form) {
    return child<QPlainTextEdit>(form, "EText");
}

// Types characters that QTest's key table does not know.
void typeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// Waits until the preview's timer has fired.
void settle(int milliseconds = 400) {
    QTest::qWait(milliseconds);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void typingFiveCharactersRefreshesThePreviewOnce();
    void convertFollowsTheStatusCheck_data();
    void convertFollowsTheStatusCheck();
    void invalidFieldsNameTheFieldAndResetOffsets_data();
    void invalidFieldsNameTheFieldAndResetOffsets();
    void captionRedForATooSmallSizeAndBlackUnderAuto();
    void emptyTextShowsThePlaceholderGrid();
    void symbolDialogChoiceIsWhatIsMarkedAndSaved();
    void dmreJobIsPreviewedMarkedAndSavedAsDmre();
    void profileButtonsFillRZAndFeed();
    void numericFieldsFilterTypedAndPastedText();
    void stepButtonsKeepTheirLimits_data();
    void stepButtonsKeepTheirLimits();
    void characterWithoutCodeIsRefused();
    void openGenerateSaveWritesTheCliProgram();
    void generateRightAfterTypingMarksTheNewText();
    void textThatFitsNoSizeNeverMarksTheOldSymbol();
    void closeQuestionCancelKeepsTheWindow();
    void badTemplateFilesLeaveTheJobAsItWas();
    void testPrintIsOnePageWithTheSymbol();
    void handOffWithoutTheEditorSaysItIsNotInstalled();
    void feedWithoutCodeIsRefusedAndTheProgramKeepsItsFeed();
    void textFieldTakesAtMostOneHundredLines();
    void onlyTheSystemsOwnErrorsReadAsMessages();
    void templateLoadSaysWhatItLeftOut();
    void trailingLineBreakIsSaidInCaptionAndReadBackTip();
    void missingLanguageFileKeepsTheCaptions();
    void refusedGenerationLeavesNoGeneratingStatus();
    void qtDialogsSpeakTheChosenLanguage();
    void helpThatCannotBeShownSaysSo();
    void titleInfoAndVersionOptionShowOneVersion();
    void keyboardReachesEveryViewHelpAndTheSizeList();
    void gs1ContentIsCheckedWhileTypingAndShownUnderThePreview();
    void iuidMarkOffItsLimitsIsSaidBesideTheFigures();
    void refusedContentLeavesNoSymbolInThePreview();
    void contentTooLongSaysSoInTheUsersLanguageAndShowsNoSymbol();
    void readBackTipNamesContentTypeAndEci_data();
    void readBackTipNamesContentTypeAndEci();
    void cylinderOnTheBlankPageIsTheRoundPartsBlank();
    void fileMenuHasUniqueMnemonicsAndTheStandardKeys();
};

void MainWindowTest::typingFiveCharactersRefreshesThePreviewOnce() {
    StartedWindow window;
    QSignalSpy refreshed(&Area<korvex::app::SymbolPreview>(*window.form),
                         &korvex::app::SymbolPreview::Refreshed);
    settle();
    refreshed.clear();
    QTest::keyClicks(textField(*window.form), QStringLiteral("AB123"), Qt::NoModifier, 20);
    QCOMPARE(refreshed.count(), 0);
    settle();
    QCOMPARE(refreshed.count(), 1);
    QVERIFY(Area<korvex::app::SymbolPreview>(*window.form).SymbolCurrent());
}

void MainWindowTest::convertFollowsTheStatusCheck_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("angle");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("message");
    QTest::addColumn<QString>("field");
    QTest::newRow("empty text") << ""
                                << "0" << false << false << "";
    QTest::newRow("text") << "A1"
                          << "0" << true << false << "";
    QTest::newRow("360 degrees") << "A1"
                                 << "360" << true << false << "";
    QTest::newRow("361 degrees") << "A1"
                                 << "361" << false << true << "EDrehWinkel";
    QTest::newRow("-1 degree") << "A1"
                               << "-1" << false << true << "EDrehWinkel";
    QTest::newRow("empty rotation") << "A1"
                                    << "" << false << true << "EDrehWinkel";
    QTest::newRow("lone minus") << "A1"
                                << "-" << false << true << "EDrehWinkel";
}

void MainWindowTest::convertFollowsTheStatusCheck() {
    QFETCH(QString, text);
    QFETCH(QString, angle);
    StartedWindow window;
    BoxAnswerer boxes;
    child<QLineEdit>(*window.form, "EDrehWinkel")->setText(angle);
    textField(*window.form)->setPlainText(text);
    QTest::qWait(50);
    QTEST(child<QPushButton>(*window.form, "Convert")->isEnabled(), "enabled");
    // While typing no box: the status bar says it and the field is marked.
    QFETCH(bool, message);
    QFETCH(QString, field);
    const QString said = window.form->Messenger().Text(9002);
    QVERIFY(boxes.Texts.isEmpty());
    QCOMPARE(window.form->statusBar()->currentMessage() == said, message);
    for (const char* name : {"EDrehWinkel", "REbeneauswahl", "ZEbeneauswahl"})
        QCOMPARE(!child<QLineEdit>(*window.form, name)->styleSheet().isEmpty(),
                 field == QLatin1String(name));
    // The box comes when a generation is asked for.
    window.form->Generator().ConvertClick();
    QCOMPARE(boxes.Texts.contains(said), message);
}

void MainWindowTest::invalidFieldsNameTheFieldAndResetOffsets_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("detail");
    QTest::addColumn<QString>("after");
    QTest::newRow("spacing 0") << "EGroesse"
                               << "0" << 9009 << "0";
    QTest::newRow("spacing 1,5") << "EGroesse"
                                 << "1,5" << 9009 << "1,5";
    QTest::newRow("offset X") << "EXVersatz"
                              << "x1" << 9010 << "0.0";
    QTest::newRow("offset Y") << "EYVersatz"
                              << "" << 9011 << "0.0";
}

void MainWindowTest::invalidFieldsNameTheFieldAndResetOffsets() {
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(int, detail);
    StartedWindow window;
    BoxAnswerer boxes;
    textField(*window.form)->setPlainText(QStringLiteral("A1"));
    // Set as a template would set it: the key filter only judges typing.
    korvex::app::NumericKeyFilter::SetText(
        child<QLineEdit>(*window.form, field.toLatin1().constData()), value);
    QVERIFY(!window.form->Generator().ConvertClick());
    const auto& messages = window.form->Messenger();
    QCOMPARE(boxes.Texts, QStringList{messages.Text(9008) + ": " + messages.Text(detail)});
    QTEST(child<QLineEdit>(*window.form, field.toLatin1().constData())->text(), "after");
    QVERIFY(window.form->Editor().document()->isEmpty());
    QVERIFY(window.form->Generator().SimulationLines().empty());
}

void MainWindowTest::captionRedForATooSmallSizeAndBlackUnderAuto() {
    StartedWindow window;
    auto* caption = child<QLabel>(*window.form, "Schriftname");
    auto& preview = Area<korvex::app::SymbolPreview>(*window.form);
    textField(*window.form)->setPlainText(QStringLiteral("1234567890ABCDEF"));
    preview.SetDatamatrix(1, 0); // C10X10, ASCII
    preview.DMTimerTimer();
    QCOMPARE(caption->text(), QStringLiteral("C16X16 - ASCII"));
    QVERIFY(caption->styleSheet().contains("red"));
    preview.SetDatamatrix(0, 0);
    preview.DMTimerTimer();
    QCOMPARE(caption->text(), QStringLiteral("C16X16 - ASCII"));
    QVERIFY(caption->styleSheet().contains("black"));
    // C8X18: 18 x 8 discs at the top of a square picture of 450 pixels.
    textField(*window.form)->setPlainText(QStringLiteral("12"));
    preview.SetDatamatrix(25, 0);
    preview.DMTimerTimer();
    QVERIFY(caption->text().startsWith("C8X18"));
    QVERIFY(caption->styleSheet().contains("black"));
    QCOMPARE(preview.Picture().size(), QSize(450, 450));
}

void MainWindowTest::emptyTextShowsThePlaceholderGrid() {
    StartedWindow window;
    auto& preview = Area<korvex::app::SymbolPreview>(*window.form);
    textField(*window.form)->setPlainText(QStringLiteral("A1"));
    window.form->Generator().ConvertClick();
    QVERIFY(!window.form->Editor().document()->isEmpty());
    textField(*window.form)->clear();
    preview.DMTimerTimer();
    QVERIFY(window.form->Editor().document()->isEmpty());
    QCOMPARE(preview.Picture().width(), 10 * 25);
    // C12X26 is 650 pixels wide: a panel lower than that shows it as a square of its height.
    const int panel = preview.findChild<QWidget*>("PDMGrafik")->height();
    preview.SetDatamatrix(27, 0);
    preview.ClearDMGrafik();
    const QImage picture = preview.Picture();
    QCOMPARE(picture.width(), qMin(26 * 25, panel));
    QCOMPARE(preview.findChild<QWidget*>("DMGrafik")->size(), picture.size());
    // The arrow points left: row 2 and (2, 0) are gold, (0, 0) and (0, 3) grey.
    const double cell = picture.width() / 26.0;
    const auto disc = [&](int x, int y) {
        return QColor(picture.pixel(int((x + 0.5) * cell), int((y + 0.5) * cell)));
    };
    const QColor gold(224, 192, 0), grey(64, 64, 64);
    QCOMPARE(disc(0, 2), gold);
    QCOMPARE(disc(25, 2), gold);
    QCOMPARE(disc(2, 0), gold);
    QCOMPARE(disc(0, 0), grey);
    QCOMPARE(disc(0, 3), grey);
    QCOMPARE(disc(3, 4), grey);
}

void MainWindowTest::symbolDialogChoiceIsWhatIsMarkedAndSaved() {
    StartedWindow window;
    TMainForm& form = *window.form;
    textField(form)->setPlainText(QStringLiteral("A1"));
    QTimer chooser;
    QObject::connect(&chooser, &QTimer::timeout, [&] {
        if (!Area<korvex::app::TFSymbol>(form).isVisible()) return;
        child<QListWidget>(Area<korvex::app::TFSymbol>(form), "Symbox")
            ->setCurrentRow(27); // C12X26
        child<QListWidget>(Area<korvex::app::TFSymbol>(form), "Codebox")->setCurrentRow(1); // C40
        Area<korvex::app::TFSymbol>(form).accept();
    });
    chooser.start(20);
    form.SchriftartSingleClick();
    Area<korvex::app::SymbolPreview>(form).DMTimerTimer();
    QCOMPARE(child<QLabel>(form, "Schriftname")->text(), QStringLiteral("C12X26 - C40"));
    QVERIFY(form.Generator().ConvertClick());
    QCOMPARE(int(form.Generator().Fields().Layer.CurrentSymbolSize), 27);
    QCOMPARE(Area<korvex::app::SymbolPreview>(form).MatrixCols(), 26);
    const QString job = window.folder.filePath("c12x26.ncm");
    form.SaveVorlage(job);
    const QByteArray saved = ReadAll(job);
    QVERIFY(saved.contains("DMFORM 27\r\n"));
    QVERIFY(saved.contains("DMENC 1\r\n"));
}

// A job whose layer allows DMRE: the preview, the program and the saved file all keep it.
void MainWindowTest::dmreJobIsPreviewedMarkedAndSavedAsDmre() {
    StartedWindow window;
    const QString job = window.folder.filePath("welle.ncm");
    QFile file(job);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("LAYER Ebene 1\r\nSHOW\r\nSIZE 0.3\r\nDMFORM 25\r\nDMENC 0\r\nDMRE 1\r\n"
               "ANGLE 0\r\nXDIS 0\r\nYDIS 0\r\nDATA\r\n/KX-2026-SN-000012345\r\nBLANK \r\n");
    file.close();
    QVERIFY(window.form->LadeVorlage(job));
    Area<korvex::app::SymbolPreview>(*window.form).DMTimerTimer();
    QCOMPARE(child<QLabel>(*window.form, "Schriftname")->text(), QStringLiteral("C8X48 - ASCII"));
    QVERIFY(window.form->Generator().ConvertClick());
    QCOMPARE(window.form->Generator().Record().SymbolSize, std::string("C8X48"));
    const auto& warnings = window.form->Generator().ContentWarnings();
    QCOMPARE(int(warnings.size()), 1);
    QCOMPARE(warnings.front().Text, korvex::text::DmreOlderReaders);
    const QString saved = window.folder.filePath("saved.ncm");
    window.form->SaveVorlage(saved);
    QVERIFY(ReadAll(saved).contains("DMENC 0\r\nDMRE 1\r\nANGLE"));
}

void MainWindowTest::profileButtonsFillRZAndFeed() {
    StartedWindow window;
    const auto profiles =
        window.form->findChildren<QRadioButton*>(QRegularExpression("^Profil\\d$"));
    QCOMPARE(profiles.size(), 4);
    QStringList seen;
    for (int n = 4; n >= 1; --n) {
        child<QRadioButton>(*window.form, QStringLiteral("Profil%1").arg(n).toLatin1())->click();
        const auto& profile = Area<korvex::app::JobDocument>(*window.form).Profile();
        QCOMPARE(child<QLineEdit>(*window.form, "REbeneauswahl")->text(),
                 QString::fromLatin1(profile.SafetyDistance));
        QCOMPARE(child<QLineEdit>(*window.form, "ZEbeneauswahl")->text(),
                 QString::fromLatin1(profile.InfeedDepth));
        QCOMPARE(child<QLineEdit>(*window.form, "EVorschubZ")->text(),
                 QString::fromLatin1(profile.FeedZ));
        seen << child<QLabel>(*window.form, "NCProfilname")->text();
    }
    seen.removeDuplicates();
    QCOMPARE(seen.size(), 4);
}

void MainWindowTest::numericFieldsFilterTypedAndPastedText() {
    StartedWindow window;
    auto* field = child<QLineEdit>(*window.form, "EGroesse");
    field->clear();
    QTest::keyClicks(field, QStringLiteral("1,5x"));
    QCOMPARE(field->text(), QStringLiteral("1.5"));
    QGuiApplication::clipboard()->setText(QStringLiteral("a,2b-"));
    field->paste();
    QCOMPARE(field->text(), QStringLiteral("1.5.2-"));
    // A controller parameter the profile put there survives typing behind it (the status
    // check then objects to the changed parameter).
    BoxAnswerer boxes;
    auto* r = child<QLineEdit>(*window.form, "REbeneauswahl");
    korvex::app::NumericKeyFilter::SetText(r, QStringLiteral("Q200"));
    r->end(false);
    QTest::keyClicks(r, QStringLiteral("1a"));
    QCOMPARE(r->text(), QStringLiteral("Q2001"));
}

void MainWindowTest::stepButtonsKeepTheirLimits_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("GMinus at 0.1") << "EGroesse"
                                   << "GMinus"
                                   << "0.1"
                                   << "0.1";
    QTest::newRow("GMinus at 0.25") << "EGroesse"
                                    << "GMinus"
                                    << "0.25"
                                    << "0.15";
    QTest::newRow("DPlus at 355") << "EDrehWinkel"
                                  << "DPlus"
                                  << "355"
                                  << "360.00";
    QTest::newRow("DPlus at 356") << "EDrehWinkel"
                                  << "DPlus"
                                  << "356"
                                  << "356";
    QTest::newRow("DMinus at 5") << "EDrehWinkel"
                                 << "DMinus"
                                 << "5"
                                 << "0.00";
    QTest::newRow("DMinus at 4.9") << "EDrehWinkel"
                                   << "DMinus"
                                   << "4.9"
                                   << "4.9";
    QTest::newRow("Xplus") << "EXVersatz"
                           << "Xplus"
                           << "0.5"
                           << "0.60";
    QTest::newRow("YMinus") << "EYVersatz"
                            << "YMinus"
                            << "0"
                            << "-0.10";
    QTest::newRow("RPlus") << "REbeneauswahl"
                           << "RPlus"
                           << "2"
                           << "2.10";
    QTest::newRow("ZMinus on a parameter") << "ZEbeneauswahl"
                                           << "ZMinus"
                                           << "Q1"
                                           << "Q1";
}

void MainWindowTest::stepButtonsKeepTheirLimits() {
    QFETCH(QString, field);
    QFETCH(QString, button);
    QFETCH(QString, before);
    StartedWindow window;
    BoxAnswerer boxes;
    auto* edit = child<QLineEdit>(*window.form, field.toLatin1().constData());
    korvex::app::NumericKeyFilter::SetText(edit, before);
    QTest::mouseClick(child<QAbstractButton>(*window.form, button.toLatin1().constData()),
                      Qt::LeftButton);
    QTEST(edit->text(), "after");
}

void MainWindowTest::characterWithoutCodeIsRefused() {
    StartedWindow window;
    auto* text = textField(*window.form);
    typeText(text, QStringLiteral("A€Ω"));
    QGuiApplication::clipboard()->setText(QStringLiteral("x→y"));
    text->paste();
    QCOMPARE(text->toPlainText(), QStringLiteral("A€"));
    QVERIFY(window.form->statusBar()->currentMessage().contains(QStringLiteral("→")));
    // Long pasted text is taken whole.
    QGuiApplication::clipboard()->setText(QString(5000, QLatin1Char('7')));
    text->paste();
    QCOMPARE(text->toPlainText().size(), 5002);
}

void MainWindowTest::openGenerateSaveWritesTheCliProgram() {
    StartedWindow window;
    const QString job = DataFile("examples/typenschild.ncm");
    QVERIFY(window.form->LadeVorlage(job));
    QVERIFY(window.form->windowTitle().endsWith(" [" + QDir::toNativeSeparators(job) + "]"));
    QVERIFY(window.form->Generator().ConvertClick());
    // Generating from the symbol view shows the program.
    QCOMPARE(child<QWidget>(*window.form, "PNCProgramm")->isVisible(), true);
    QCOMPARE(child<QWidget>(*window.form, "Verlauf1")->width(), 233);
    const QString out = window.folder.filePath("out.nc");
    QVERIFY(window.form->SaveProgram(out));
    const ProcessResult cli =
        RunProgram(KORVEX_CLI_PATH,
                   {"generate", "--config", window.ConfigFolder(), "--allow-duplicate", "-o",
                    window.folder.filePath("cli.nc"), job},
                   window.folder.path());
    QCOMPARE(cli.Status, 0);
    QCOMPARE(ReadAll(out), ReadAll(window.folder.filePath("cli.nc")));
    QVERIFY(!ReadAll(out).endsWith("\r\n"));

    // A read-only target keeps its old content.
    QFile::setPermissions(out, QFileDevice::ReadOwner);
    BoxAnswerer boxes;
    window.form->Editor().setPlainText(QStringLiteral("G0 X0"));
    QVERIFY(!window.form->SaveProgram(out));
    QCOMPARE(ReadAll(out), ReadAll(window.folder.filePath("cli.nc")));
    QCOMPARE(boxes.Texts.size(), 1);
}

void MainWindowTest::generateRightAfterTypingMarksTheNewText() {
    StartedWindow window;
    const QString job = DataFile("examples/typenschild.ncm");
    QVERIFY(window.form->LadeVorlage(job));
    settle();
    auto* text = textField(*window.form);
    text->selectAll();
    QTest::keyClicks(text, QStringLiteral("NEU-42"));
    // No wait: the preview's refresh is still pending.
    QVERIFY(Area<korvex::app::SymbolPreview>(*window.form).RefreshPending());
    QTest::mouseClick(child<QPushButton>(*window.form, "Convert"), Qt::LeftButton);
    const QString out = window.folder.filePath("out.nc");
    QVERIFY(window.form->SaveProgram(out));
    const ProcessResult cli =
        RunProgram(KORVEX_CLI_PATH,
                   {"generate", "--config", window.ConfigFolder(), "--text", "NEU-42",
                    "--allow-duplicate", "-o", window.folder.filePath("cli.nc"), job},
                   window.folder.path());
    QCOMPARE(cli.Status, 0);
    QCOMPARE(ReadAll(out), ReadAll(window.folder.filePath("cli.nc")));
}

void MainWindowTest::textThatFitsNoSizeNeverMarksTheOldSymbol() {
    StartedWindow window;
    BoxAnswerer boxes;
    auto* text = textField(*window.form);
    text->setPlainText(QStringLiteral("A1"));
    settle();
    const int columns = Area<korvex::app::SymbolPreview>(*window.form).MatrixCols();
    text->setPlainText(QString(4000, QLatin1Char('Z')));
    settle();
    QCOMPARE(boxes.Texts.size(), 1); // the range error, once
    QCOMPARE(Area<korvex::app::SymbolPreview>(*window.form).MatrixCols(), columns);
    auto* convert = child<QPushButton>(*window.form, "Convert");
    QVERIFY(convert->isEnabled());
    QTest::mouseClick(convert, Qt::LeftButton);
    QTest::qWait(50);
    QVERIFY(window.form->Editor().document()->isEmpty());
}

void MainWindowTest::closeQuestionCancelKeepsTheWindow() {
    StartedWindow window;
    {
        BoxAnswerer cancel(true);
        QVERIFY(!window.form->close());
        QCOMPARE(cancel.Texts, QStringList{window.form->Messenger().Text(9106)});
    }
    QVERIFY(window.form->isVisible());
    BoxAnswerer ok;
    QVERIFY(window.form->close());
}

void MainWindowTest::badTemplateFilesLeaveTheJobAsItWas() {
    StartedWindow window;
    BoxAnswerer boxes;
    auto* text = textField(*window.form);
    text->setPlainText(QStringLiteral("KEEP"));
    const QString title = window.form->windowTitle();
    // Garbage without any layer line.
    const QString garbage = window.folder.filePath("garbage.ncm");
    QFile file(garbage);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("\x00\xff\x13PK\x03\x04 not a job\r\n/SECRET\r\n", 30));
    file.close();
    QVERIFY(!window.form->LadeVorlage(garbage));
    QCOMPARE(boxes.Texts.size(), 1);
    QVERIFY(boxes.Texts.first().startsWith(window.form->Messenger().Text(9015)));
    QCOMPARE(text->toPlainText(), QStringLiteral("KEEP"));
    QCOMPARE(window.form->windowTitle(), title);

    // Saving over a read-only template shows 9013 and keeps the old file.
    const QString job = window.folder.filePath("job.ncm");
    window.form->SaveVorlage(job);
    QVERIFY(window.form->windowTitle().endsWith("[" + QDir::toNativeSeparators(job) + "]"));
    const QByteArray saved = ReadAll(job);
    QVERIFY(saved.contains("/KEEP\r\n"));
    QFile::setPermissions(job, QFileDevice::ReadOwner);
    text->setPlainText(QStringLiteral("OTHER"));
    window.form->SaveVorlage(job);
    QCOMPARE(boxes.Texts.size(), 2);
    QVERIFY(boxes.Texts.last().startsWith(window.form->Messenger().Text(9013)));
    QCOMPARE(ReadAll(job), saved);
    // "Neu" drops the file name from the caption.
    window.form->NeuErstellen1Click();
    QCOMPARE(window.form->windowTitle(), QStringLiteral("KORVEX 2.01"));
    QVERIFY(text->toPlainText().isEmpty());
}

void MainWindowTest::testPrintIsOnePageWithTheSymbol() {
    StartedWindow window;
    textField(*window.form)->setPlainText(QStringLiteral("SN-1"));
    Area<korvex::app::SymbolPreview>(*window.form).DMTimerTimer();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = window.folder.filePath("print.pdf");
    printer.setOutputFileName(pdf);
    korvex::app::PrintSymbol(Area<korvex::app::SymbolPreview>(*window.form).Encoder(), printer);
    const QByteArray bytes = ReadAll(pdf);
    QVERIFY(bytes.startsWith("%PDF"));
    QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r"), 1);
    QCOMPARE(Area<korvex::app::SymbolPreview>(*window.form).Encoder().PixelsDot, 20);
}

void MainWindowTest::handOffWithoutTheEditorSaysItIsNotInstalled() {
    if (!korvex::app::SeparateEditorFolder().isEmpty() &&
        korvex::app::SeparateEditorFolder() != QStringLiteral("?"))
        QSKIP("this machine has the separate editor set up");
    StartedWindow window;
    BoxAnswerer boxes;
    window.form->BQuilloClick();
    QCOMPARE(boxes.Texts, QStringList{window.form->Messenger().Text(9014)});
}

void MainWindowTest::feedWithoutCodeIsRefusedAndTheProgramKeepsItsFeed() {
    StartedWindow window;
    auto* feed = child<QLineEdit>(*window.form, "EVorschubZ");
    const QString before = feed->text();
    QVERIFY(!before.isEmpty());
    feed->end(false);
    typeText(feed, QStringLiteral("Ω"));
    QCOMPARE(feed->text(), before);
    QVERIFY(window.form->statusBar()->currentMessage().contains(QStringLiteral("Ω")));
    QGuiApplication::clipboard()->setText(QStringLiteral("1\u2009"));
    feed->paste();
    QCOMPARE(feed->text(), before);
    textField(*window.form)->setPlainText(QStringLiteral("A1"));
    QVERIFY(window.form->Generator().ConvertClick());
    const QString program = window.form->Editor().toPlainText();
    QVERIFY(program.contains(QStringLiteral(" F") + before));
    QVERIFY(!program.contains(
        QRegularExpression(QStringLiteral("F$"), QRegularExpression::MultilineOption)));
}

// A fault of ours (an index out of range) must not pass for a message the user can act on.
void MainWindowTest::onlyTheSystemsOwnErrorsReadAsMessages() {
    StartedWindow window;
    auto& app = static_cast<korvex::app::KorvexApplication&>(*QCoreApplication::instance());
    app.SetMessages(&window.form->Messenger());
    BoxAnswerer boxes;
    app.ShowError(korvex::EKorvexError("Die Datei ist schreibgesch\xFCtzt"));
    app.ShowError(std::out_of_range("vector::_M_range_check"));
    app.SetMessages(nullptr);
    QCOMPARE(boxes.Texts,
             (QStringList{QStringLiteral("Die Datei ist schreibgesch\u00fctzt."),
                          window.form->Messenger().Text(9960).arg("vector::_M_range_check") +
                              QLatin1Char('.')}));
}

void MainWindowTest::textFieldTakesAtMostOneHundredLines() {
    StartedWindow window;
    auto* text = textField(*window.form);
    const QString said = window.form->Messenger().Text(9352).arg(100);
    QStringList lines;
    for (int n = 1; n <= 150; ++n)
        lines << QString::number(n);
    QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
    text->paste();
    QCOMPARE(text->document()->blockCount(), 100);
    QVERIFY(text->toPlainText().endsWith(QStringLiteral("\n99\n100")));
    QCOMPARE(window.form->statusBar()->currentMessage(), said);
    window.form->statusBar()->clearMessage();
    text->moveCursor(QTextCursor::End);
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(text->document()->blockCount(), 100);
    QCOMPARE(window.form->statusBar()->currentMessage(), said);
    // Replacing a selection gives its breaks back: the whole paste fits in place of all.
    text->selectAll();
    QGuiApplication::clipboard()->setText(lines.mid(0, 100).join(QLatin1Char('\n')));
    window.form->statusBar()->clearMessage();
    text->paste();
    QCOMPARE(text->document()->blockCount(), 100);
    QVERIFY(window.form->statusBar()->currentMessage().isEmpty());
    // What is marked is what is stored: the generated text equals the field.
    QCOMPARE(window.form->Panel().Fields().EText.size(), std::size_t{100});
}

void MainWindowTest::templateLoadSaysWhatItLeftOut() {
    StartedWindow window;
    BoxAnswerer boxes;
    const QString job = window.folder.filePath("long.ncm");
    QFile file(job);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("LAYER Ebene 1\r\nDATA\r\n");
    for (int n = 1; n <= 150; ++n)
        file.write(QByteArray("/L") + QByteArray::number(n) + "\r\n");
    file.write("DMFORM 999\r\n");
    file.close();
    QVERIFY(window.form->LadeVorlage(job));
    const auto& m = window.form->Messenger();
    QCOMPARE(boxes.Texts,
             QStringList{m.Text(9353) + ":\n" + m.Text(9405).arg(50) + "\n" + m.Text(9408).arg(1)});
    QCOMPARE(textField(*window.form)->document()->blockCount(), 100);
    // A file taken over whole says nothing.
    QVERIFY(window.form->LadeVorlage(DataFile("examples/typenschild.ncm")));
    QCOMPARE(boxes.Texts.size(), 1);
}

void MainWindowTest::trailingLineBreakIsSaidInCaptionAndReadBackTip() {
    StartedWindow window;
    auto* caption = child<QLabel>(*window.form, "Schriftname");
    auto* mark = child<QLabel>(*window.form, "ReadBackMark");
    const QString note = window.form->Messenger().Text(9351);
    QVERIFY(!note.isEmpty());
    textField(*window.form)->setPlainText(QStringLiteral("SN-0001\n"));
    Area<korvex::app::SymbolPreview>(*window.form).DMTimerTimer();
    QVERIFY(caption->text().contains(note));
    QVERIFY(window.form->Generator().ConvertClick());
    QVERIFY(mark->toolTip().contains(note));
    textField(*window.form)->setPlainText(QStringLiteral("SN-0001"));
    Area<korvex::app::SymbolPreview>(*window.form).DMTimerTimer();
    QVERIFY(!caption->text().contains(note));
    QVERIFY(window.form->Generator().ConvertClick());
    QVERIFY(!mark->toolTip().contains(note));
}

void MainWindowTest::missingLanguageFileKeepsTheCaptions() {
    QTemporaryDir data;
    for (const QFileInfo& entry :
         QDir(QStringLiteral(KORVEX_DATA_DIR)).entryInfoList(QDir::Files | QDir::NoDotAndDotDot))
        if (entry.fileName() != QLatin1String("german.txt"))
            QVERIFY(QFile::copy(entry.filePath(), data.filePath(entry.fileName())));
    BoxAnswerer boxes;
    StartedWindow window({}, data.path());
    QCOMPARE(boxes.Texts.size(), 1);
    QVERIFY(boxes.Texts.first().contains(QStringLiteral("german.txt")));
    QCOMPARE(child<QPushButton>(*window.form, "Convert")->text(),
             QStringLiteral("&NC-Programm generieren"));
    QCOMPARE(child<QMenu>(*window.form, "Datei1")->title(), QStringLiteral("&Datei"));
    QCOMPARE(child<QLabel>(*window.form, "LZeigerposition")->text(),
             QStringLiteral("Zeigerposition"));
}

void MainWindowTest::refusedGenerationLeavesNoGeneratingStatus() {
    StartedWindow window;
    BoxAnswerer boxes;
    textField(*window.form)->setPlainText(QStringLiteral("A1"));
    korvex::app::NumericKeyFilter::SetText(child<QLineEdit>(*window.form, "EXVersatz"), "x1");
    QVERIFY(!window.form->Generator().ConvertClick());
    const auto& m = window.form->Messenger();
    const QString status = window.form->statusBar()->currentMessage();
    QVERIFY(!status.contains(m.Text(9107)));
    QCOMPARE(status, m.Text(9350) + ": " + m.Text(9008) + ": " + m.Text(9010));
}

void MainWindowTest::qtDialogsSpeakTheChosenLanguage() {
    StartedWindow window;
    const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
    QCOMPARE(cancel(), QStringLiteral("Abbrechen"));
    window.form->SettingsDialog().show();
    QTest::mouseClick(child<QAbstractButton>(window.form->SettingsDialog(), "Beng"),
                      Qt::LeftButton);
    QCOMPARE(cancel(), QStringLiteral("Cancel"));
    QTest::mouseClick(child<QAbstractButton>(window.form->SettingsDialog(), "Bger"),
                      Qt::LeftButton);
    QCOMPARE(cancel(), QStringLiteral("Abbrechen"));
}

void MainWindowTest::helpThatCannotBeShownSaysSo() {
    // The offscreen platform has no program to show a page with.
    StartedWindow window;
    BoxAnswerer boxes;
    window.form->HelpClick();
    QCOMPARE(boxes.Texts.size(), 1);
    QVERIFY(boxes.Texts.first().startsWith(window.form->Messenger().Text(9358)));
    QVERIFY(boxes.Texts.first().contains(QStringLiteral("hilfe.html")));
    // The settings dialog's button asks the same.
    window.form->SettingsDialog().show();
    QTest::mouseClick(child<QAbstractButton>(window.form->SettingsDialog(), "Hilfe"),
                      Qt::LeftButton);
    QCOMPARE(boxes.Texts.size(), 2);
}

void MainWindowTest::titleInfoAndVersionOptionShowOneVersion() {
    const ProcessResult version = RunProgram(KORVEX_APP_PATH, {"--version"}, QDir::tempPath());
    QCOMPARE(version.Status, 0);
    const QString number = QString::fromUtf8(version.Out).trimmed().section(QLatin1Char(' '), 1);
    QVERIFY(!number.isEmpty());
    StartedWindow window;
    QCOMPARE(window.form->windowTitle(), QStringLiteral("KORVEX ") + number);
    Area<korvex::app::TInfo>(*window.form).Prepare();
    const auto labels = Area<korvex::app::TInfo>(*window.form).findChildren<QLabel*>();
    QVERIFY(std::any_of(labels.begin(), labels.end(),
                        [&](QLabel* l) { return l->text().endsWith(QLatin1Char(' ') + number); }));
}

void MainWindowTest::keyboardReachesEveryViewHelpAndTheSizeList() {
    StartedWindow window;
    TMainForm& form = *window.form;
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    const std::pair<Qt::Key, const char*> views[] = {{Qt::Key_3, "BGrafik"},
                                                     {Qt::Key_4, "BBlank"},
                                                     {Qt::Key_2, "BProgram"},
                                                     {Qt::Key_1, "BDatamatrix"}};
    for (const auto& [key, button] : views) {
        QTest::keyClick(&form, key, Qt::ControlModifier);
        QVERIFY2(child<QAbstractButton>(form, button)->isChecked(), button);
    }
    // Tab goes from field to field, past the step buttons.
    auto* spacing = child<QLineEdit>(form, "EGroesse");
    spacing->setFocus();
    QTest::keyClick(spacing, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(form, "EXVersatz"));
    {
        BoxAnswerer boxes;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        QCOMPARE(boxes.Texts.size(), 1);
    }
    QTimer closer;
    QWidget* focused = nullptr;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (!Area<korvex::app::TFSymbol>(form).isVisible()) return;
        focused = QApplication::focusWidget();
        Area<korvex::app::TFSymbol>(form).reject();
    });
    closer.start(20);
    form.SchriftartSingleClick();
    QVERIFY(focused);
    QCOMPARE(focused->objectName(), QStringLiteral("Symbox"));
}

void MainWindowTest::gs1ContentIsCheckedWhileTypingAndShownUnderThePreview() {
    StartedWindow window;
    BoxAnswerer boxes;
    child<QComboBox>(*window.form, "EInhalt")->setCurrentIndex(1); // GS1
    textField(*window.form)->setPlainText(QStringLiteral("(01)09506000134353(21)7"));
    settle();
    QVERIFY(!child<QPushButton>(*window.form, "Convert")->isEnabled());
    QCOMPARE(window.form->statusBar()->currentMessage(),
             QStringLiteral("Falsche Prüfziffer im GS1-Element: (01)09506000134353"));
    QVERIFY(!Area<korvex::app::SymbolPreview>(*window.form).SymbolCurrent());
    QVERIFY(boxes.Texts.isEmpty());

    textField(*window.form)->setPlainText(QStringLiteral("(01)09506000134352(21)7"));
    settle();
    QVERIFY(child<QPushButton>(*window.form, "Convert")->isEnabled());
    QCOMPARE(window.form->statusBar()->currentMessage(), QString());
    QCOMPARE(child<QLabel>(*window.form, "Klarschrift")->text(),
             QStringLiteral("(01)09506000134352(21)7"));
    QVERIFY(Area<korvex::app::SymbolPreview>(*window.form).SymbolCurrent());
    QCOMPARE(Area<korvex::app::SymbolPreview>(*window.form).Encoder().DataCodewords().front(), 232);
    QVERIFY(window.form->Generator().ConvertClick());
    const QString job = window.folder.filePath("gs1.ncm");
    window.form->SaveVorlage(job);
    QVERIFY(ReadAll(job).contains("CONTENT GS1\r\n"));
}

void MainWindowTest::iuidMarkOffItsLimitsIsSaidBesideTheFigures() {
    StartedWindow window;
    BoxAnswerer boxes;
    child<QComboBox>(*window.form, "EInhalt")->setCurrentIndex(3); // ISO/IEC 15434 (06)
    textField(*window.form)->setPlainText(QStringLiteral("17V0CVA5\n1P1234-5\nS786950"));
    korvex::app::NumericKeyFilter::SetText(window.form->Panel().EGroesse(), QStringLiteral("1"));
    settle();
    QVERIFY(window.form->Generator().ConvertClick());
    QVERIFY(child<QLabel>(*window.form, "MarkingStats")
                ->text()
                .contains(QStringLiteral("Warnung: IUID: Punktabstand außerhalb 0.19 bis 0.64 mm: "
                                         "1.000 mm")));
    QVERIFY(boxes.Texts.isEmpty());
    // The rule was the content kind's: under Text it no longer applies.
    child<QComboBox>(*window.form, "EInhalt")->setCurrentIndex(0);
    QVERIFY(!child<QLabel>(*window.form, "MarkingStats")->text().contains(QStringLiteral("IUID")));
}

void MainWindowTest::refusedContentLeavesNoSymbolInThePreview() {
    StartedWindow window;
    auto& preview = Area<korvex::app::SymbolPreview>(*window.form);
    child<QComboBox>(*window.form, "EInhalt")->setCurrentIndex(1); // GS1
    textField(*window.form)->setPlainText(QString());
    settle();
    const QImage placeholder = preview.Picture();
    textField(*window.form)->setPlainText(QStringLiteral("(01)09506000134352(21)7"));
    settle();
    QVERIFY(preview.Picture() != placeholder);
    textField(*window.form)->setPlainText(QStringLiteral("(01)09506000134353(21)7"));
    settle();
    QCOMPARE(preview.Picture(), placeholder);
}

void MainWindowTest::contentTooLongSaysSoInTheUsersLanguageAndShowsNoSymbol() {
    StartedWindow window;
    auto& preview = Area<korvex::app::SymbolPreview>(*window.form);
    child<QComboBox>(*window.form, "EInhalt")->setCurrentIndex(1); // GS1
    textField(*window.form)->setPlainText(QString());
    settle();
    const QImage placeholder = preview.Picture();
    const QString tooLong =
        QStringLiteral("(91)").append(QString(90, QLatin1Char('A'))).repeated(20);
    for (const char* language : {"Beng", "Bger"}) {
        window.form->SettingsDialog().show();
        QTest::mouseClick(child<QAbstractButton>(window.form->SettingsDialog(), language),
                          Qt::LeftButton);
        window.form->SettingsDialog().hide();
        // The new language's captions name no symbol over the placeholder.
        QCOMPARE(child<QLabel>(*window.form, "Schriftname")->text(),
                 QStringLiteral("AUTO - ASCII"));
        textField(*window.form)->setPlainText(QStringLiteral("(01)09506000134352(21)7"));
        settle();
        QVERIFY(preview.Picture() != placeholder);
        BoxAnswerer boxes;
        textField(*window.form)->setPlainText(tooLong);
        settle();
        // 144 x 144 ends in a digit, so the box adds a full stop.
        QCOMPARE(boxes.Texts, QStringList{window.form->Messenger().Text(9550) + "."});
        QCOMPARE(preview.Picture(), placeholder);
    }
    QVERIFY(window.form->Messenger().Text(9550).startsWith(QStringLiteral("Der Inhalt")));
}

void MainWindowTest::readBackTipNamesContentTypeAndEci_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("told");
    QTest::newRow("text") << 0 << "A1"
                          << "(]d1, Inhalt Text, ohne ECI)";
    QTest::newRow("GS1") << 1 << "(01)09506000134352(21)7"
                         << "(]d2, Inhalt GS1, ohne ECI)";
    QTest::newRow("ISO/IEC 15434") << 3 << "17V0CVA5\n1P1234-5\nS786950"
                                   << "(]d1, Inhalt ISO15434, ohne ECI)";
}

void MainWindowTest::readBackTipNamesContentTypeAndEci() {
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QString, told);
    StartedWindow window;
    BoxAnswerer boxes;
    child<QComboBox>(*window.form, "EInhalt")->setCurrentIndex(kind);
    textField(*window.form)->setPlainText(text);
    settle();
    QVERIFY(window.form->Generator().ConvertClick());
    const QString tip = child<QLabel>(*window.form, "ReadBackMark")->toolTip();
    QVERIFY2(tip.contains(told), qPrintable(tip));
}

// Follow and rotary need a cylinder: the one chosen and filled in on the page is it, and a refusal
// for want of one leaves the button to try again.
void MainWindowTest::cylinderOnTheBlankPageIsTheRoundPartsBlank() {
    StartedWindow window;
    BoxAnswerer boxes;
    textField(*window.form)->setPlainText(QStringLiteral("A1"));
    settle();
    window.form->BBlankClick();
    child<QAbstractButton>(*window.form, "ROberflaecheFolgen")->click();
    QVERIFY(!window.form->Generator().ConvertClick());
    QCOMPARE(boxes.Texts.value(0), window.form->Messenger().Text(9850));
    QVERIFY(child<QPushButton>(*window.form, "Convert")->isEnabled());

    child<QAbstractButton>(*window.form, "ZYL2")->click();
    child<QLineEdit>(*window.form, "ZYL2_R")->setText(QStringLiteral("10"));
    QVERIFY(child<QPushButton>(*window.form, "Convert")->isEnabled());
    QVERIFY(window.form->Generator().ConvertClick());
    const std::string& blank = Area<korvex::app::JobDocument>(*window.form).Job().BlankDefinition;
    QVERIFY2(blank.find("ZYL2") != std::string::npos && blank.find("RA10") != std::string::npos,
             blank.c_str());
}

// Each visible command of the file menu has its own letter, in both languages, and the usual
// keys work wherever the focus is, the editor included.
void MainWindowTest::fileMenuHasUniqueMnemonicsAndTheStandardKeys() {
    StartedWindow window;
    TMainForm& form = *window.form;
    const std::pair<const char*, QKeySequence> keys[] = {
        {"Neueerstellen1", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"OpenVorlage", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"NCProgrammspeichern1", QKeySequence(Qt::CTRL | Qt::Key_S)}};
    for (const auto& [name, key] : keys)
        QCOMPARE(form.findChild<QAction*>(name)->shortcut(), key);
    for (const char* language : {"Bger", "Beng"}) {
        form.SettingsDialog().show();
        QTest::mouseClick(child<QAbstractButton>(form.SettingsDialog(), language), Qt::LeftButton);
        form.SettingsDialog().hide();
        QMenu* file = child<QMenu>(form, "Datei1");
        emit file->aboutToShow();
        QMap<QChar, QString> letters;
        for (QAction* action : file->actions()) {
            if (!action->isVisible() || action->isSeparator()) continue;
            const QString text = action->text();
            const qsizetype at = text.indexOf(QLatin1Char('&'));
            QVERIFY2(at >= 0 && at + 1 < text.size(), qPrintable(text));
            const QChar letter = text[at + 1].toLower();
            QVERIFY2(!letters.contains(letter), qPrintable(letters.value(letter) + " / " + text));
            letters[letter] = text;
        }
    }
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.BProgramClick();
    form.Editor().setFocus();
    QSignalSpy saved(form.findChild<QAction*>("NCProgrammspeichern1"), &QAction::triggered);
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    closer.start(50);
    QTest::keyClick(&form.Editor(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(saved.count(), 1);
}

int main(int argc, char** argv) {
    korvex::app::KorvexApplication app(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "MainWindow_test.moc"
