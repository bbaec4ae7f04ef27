#include "app/GenerateController.h"
#include "app/Messages.h"
#include "app/SymbolPreview.h"
#include "support/AppFixture.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

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
};

QTEST_MAIN(GradeStatusTest)
#include "GradeStatus_test.moc"
