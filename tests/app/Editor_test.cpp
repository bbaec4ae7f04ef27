#include "app/KorvexApplication.h"
#include "app/NCEditor.h"
#include "app/TMainForm.h"
#include "base/TextLines.h"

#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

using korvex::app::NCEditor;
using korvex::ncgen::TNCFormat;

namespace {

// What the editor shows of one line: each painted run as "text:colour/b/i", blanks left out.
QString paintedRuns(const NCEditor& editor, int lineNumber) {
    QString shown;
    const QTextBlock block = editor.document()->findBlockByNumber(lineNumber);
    const QString line = block.text();
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        const QTextCharFormat& f = range.format;
        shown += line.mid(range.start, range.length) + ':' +
                 (f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().name()
                                                              : QStringLiteral("plain")) +
                 (f.fontWeight() == QFont::Bold ? "/b" : "") + (f.fontItalic() ? "/i" : "") + ' ';
    }
    return shown.trimmed();
}

// Lines are coloured when the editor paints them, as on the user's screen.
bool showAndPaint(NCEditor& editor) {
    editor.show();
    if (!QTest::qWaitForWindowExposed(&editor)) return false;
    QCoreApplication::processEvents();
    return true;
}

// The runs of a generated line "N<number> G1 X5".
QString numberedLineRuns(const QString& numbered) {
    const QString grey = "#808080", red = "#ff0000", navy = "#000080";
    return QString("%1 :%2/i G:%3/b 1:%4/b X:%3/b 5:%4/b").arg(numbered, grey, red, navy);
}

} // namespace

class EditorTest : public QObject {
    Q_OBJECT
  private slots:
    void highlighterPaintsTheScannerTokens_data();
    void highlighterPaintsTheScannerTokens();
    void linesShownLateAndEditedLinesAreColouredWithoutUndoSteps();
    void programFileHasCrLfBetweenLinesAndKeepsEveryByte();
    void saveFiltersFollowTheProfileSuffix();
};

void EditorTest::highlighterPaintsTheScannerTokens_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("close");
    QTest::addColumn<QString>("runs");
    const QString grey = "#808080", red = "#ff0000", navy = "#000080";
    QTest::newRow("block, address, number, comment")
        << "N10 G1 X12.5 (DOT)"
        << "("
        << ")"
        << QString("N10 :%1/i G:%2/b 1:%3/b X:%2/b 12.5:%3/b (DOT):%1/b/i").arg(grey, red, navy);
    QTest::newRow("block number runs over blanks")
        << "N 10 X5"
        << "("
        << ")" << QString("N 10 :%1/i X:%2/b 5:%3/b").arg(grey, red, navy);
    QTest::newRow("lower case is other") << "x5"
                                         << "("
                                         << ")" << QString("x:%1/b/i 5:%2/b").arg(grey, navy);
    QTest::newRow("one signed number") << "-0.5,1"
                                       << "("
                                       << ")" << QString("-0.5,1:%1/b").arg(navy);
    // An empty closing text becomes a blank: the comment ends at the first blank, the blank
    // before it stays plain, and "move" is four other characters in the comment's look.
    QTest::newRow("comment closed by a blank")
        << "G0 ;rapid move"
        << ";"
        << " " << QString("G:%1/b 0:%2/b ;rapid move:%3/b/i").arg(red, navy, grey);
    QTest::newRow("comment closed by a blank, digits after it")
        << "G0 ;a 5"
        << ";"
        << " " << QString("G:%1/b 0:%2/b ;a :%3/b/i 5:%2/b").arg(red, navy, grey);
    QTest::newRow("same character opens and closes")
        << "(A)"
        << "("
        << "(" << QString("A:%1/b ):%2/b/i").arg(red, grey);
}

void EditorTest::highlighterPaintsTheScannerTokens() {
    QFETCH(QString, line);
    QFETCH(QString, open);
    QFETCH(QString, close);
    NCEditor editor;
    TNCFormat format;
    format.Komstart = open.toStdString();
    format.Komende = close.toStdString();
    editor.ShowProgram({line.toStdString()}, format);
    QVERIFY(showAndPaint(editor));
    QTEST(paintedRuns(editor, 0), "runs");
}

void EditorTest::linesShownLateAndEditedLinesAreColouredWithoutUndoSteps() {
    std::vector<std::string> program;
    for (int i = 0; i < 3000; ++i)
        program.push_back("N" + std::to_string(i) + " G1 X5");
    TNCFormat format;
    format.Komstart = "(";
    format.Komende = ")";
    NCEditor editor;
    editor.resize(400, 200);
    editor.ShowProgram(program, format);
    QVERIFY(showAndPaint(editor));
    QCOMPARE(paintedRuns(editor, 0), numberedLineRuns("N0"));

    // A taller window shows more lines; the end of the program is reached by scrolling.
    editor.resize(400, 900);
    QCoreApplication::processEvents();
    QCOMPARE(paintedRuns(editor, 30), numberedLineRuns("N30"));
    editor.moveCursor(QTextCursor::End);
    QCoreApplication::processEvents();
    QCOMPARE(paintedRuns(editor, 2999), numberedLineRuns("N2999"));
    // Colouring is no edit: nothing to undo, nothing modified.
    QVERIFY(!editor.document()->isUndoAvailable());
    QVERIFY(!editor.document()->isModified());

    // A comment typed before the block number is painted as one, and the rest moves along.
    QTextCursor cursor(editor.document()->findBlockByNumber(2999));
    cursor.insertText("(C) ");
    QCoreApplication::processEvents();
    const QString edited = "(C):#808080/b/i " + numberedLineRuns("N2999");
    QCOMPARE(paintedRuns(editor, 2999), edited);

    // Undo brings back the line and its colours; the saved program is the generated one.
    editor.undo();
    QCoreApplication::processEvents();
    QVERIFY(!editor.document()->isUndoAvailable());
    QCOMPARE(paintedRuns(editor, 2999), numberedLineRuns("N2999"));
    std::string bytes;
    QVERIFY(editor.FileBytes(bytes));
    QCOMPARE(bytes, korvex::base::JoinLines(program));
    editor.redo();
    QCoreApplication::processEvents();
    QCOMPARE(paintedRuns(editor, 2999), edited);
    QCOMPARE(editor.document()->lastBlock().text(), "(C) N2999 G1 X5");
}

void EditorTest::programFileHasCrLfBetweenLinesAndKeepsEveryByte() {
    NCEditor editor;
    // A no-break space (0xA0) and a euro sign (0x80) must reach the file as they were.
    editor.ShowProgram({"G0 X1", "(\xA0\x80)", "M30"}, TNCFormat{});
    std::string bytes;
    QVERIFY(editor.FileBytes(bytes));
    QCOMPARE(QByteArray::fromStdString(bytes), QByteArray("G0 X1\r\n(\xA0\x80)\r\nM30"));
    editor.setPlainText(QStringLiteral("G0 Ω"));
    QString offending;
    QVERIFY(!editor.FileBytes(bytes, &offending));
    QCOMPARE(offending, QStringLiteral("Ω"));
}

void EditorTest::saveFiltersFollowTheProfileSuffix() {
    using korvex::app::TMainForm;
    QCOMPARE(TMainForm::SaveFilters("h", "NC-Programm *."), QStringList{"NC-Programm *.h (*.h)"});
    const QStringList builtIn = TMainForm::SaveFilters("", "");
    QCOMPARE(builtIn.size(), 5);
    QVERIFY(builtIn.first().endsWith("(*.nc)"));
    QVERIFY(builtIn.last().endsWith("(*.txt)"));
}

int main(int argc, char** argv) {
    korvex::app::KorvexApplication app(argc, argv);
    EditorTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "Editor_test.moc"
