#include "app/KorvexApplication.h"
#include "app/NCEditor.h"
#include "app/NCHighlighter.h"
#include "app/TMainForm.h"

#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

using korvex::app::NCEditor;
using korvex::ncgen::TNCFormat;

namespace {

// What the editor shows of one line: each painted run as "text:colour/b/i", blanks left out.
QString paintedRuns(NCEditor& editor, const QString& line) {
    QString shown;
    const QTextBlock block = editor.document()->findBlockByNumber(0);
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        const QTextCharFormat& f = range.format;
        shown += line.mid(range.start, range.length) + ':' +
                 (f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().name()
                                                              : QStringLiteral("plain")) +
                 (f.fontWeight() == QFont::Bold ? "/b" : "") + (f.fontItalic() ? "/i" : "") + ' ';
    }
    return shown.trimmed();
}

} // namespace

class EditorTest : public QObject {
    Q_OBJECT
  private slots:
    void highlighterPaintsTheScannerTokens_data();
    void highlighterPaintsTheScannerTokens();
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
    QCoreApplication::processEvents();
    QTEST(paintedRuns(editor, line), "runs");
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
