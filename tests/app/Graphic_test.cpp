#include "app/GenerateController.h"
#include "app/GraphicPage.h"
#include "app/JobDocument.h"
#include "app/TEinstellungen.h"
#include "app/GraphicView.h"
#include "app/KorvexApplication.h"
#include "app/NCEditor.h"
#include "app/TFSymbol.h"
#include "ncgen/NumberReading.h"
#include "simulation/ViewCommands.h"
#include "support/AppFixture.h"

#include <QAbstractButton>
#include <QDialog>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QtTest>

#include <cmath>

using korvex::app::GraphicPage;
using korvex::app::TMainForm;

namespace {

// The example job, generated, with its graphic page showing.
struct GraphicWindow : StartedWindow {
    GraphicWindow() : StartedWindow({DataFile(QStringLiteral("examples/typenschild.ncm"))}) {
        child<QAbstractButton>(*form, "Convert")->click();
        child<QAbstractButton>(*form, "BGrafik")->click();
        QTest::qWait(50);
    }
    GraphicPage& Page() { return Area<korvex::app::GraphicPage>(*form); }
    QWidget& Surface() { return Page().Surface(); }
};

std::vector<std::uint32_t> pixels(GraphicPage& page) {
    const auto& canvas = page.Surface().Canvas();
    return {canvas.bits(), canvas.bits() + canvas.width() * canvas.height()};
}

void sendMove(QWidget& target, QPoint at, Qt::MouseButtons buttons, Qt::KeyboardModifiers keys) {
    QMouseEvent move(QEvent::MouseMove, at, target.mapToGlobal(at), Qt::NoButton, buttons, keys);
    QApplication::sendEvent(&target, &move);
}

QStringList readOut(QWidget& page) {
    return {child<QLabel>(page, "LAchseXWert")->text(), child<QLabel>(page, "LAchseYWert")->text(),
            child<QLabel>(page, "LAchseZWert")->text()};
}

} // namespace

class GraphicTest : public QObject {
    Q_OBJECT
  private slots:
    void presetButtonsSetTheAnglesAndOnlyTheirButton();
    void zoomOutWidensEachAxisByATenth();
    void wheelZoomsAboutTheMouseAndLaterRedraws();
    void zoomRectangleHalvesTheBoxAndAResizeEndsIt();
    void dragRotatesOnlyWithTheLeftButtonAlone_data();
    void dragRotatesOnlyWithTheLeftButtonAlone();
    void previewPassTwiceRestoresThePicture();
    void badLineEndsThePassAfterWhatWasDrawn();
    void passAskedForDuringAPassFollowsIt();
    void fitShowsEveryDotOfTheJob();
    void blankPageDrawsAndDeletesTheTypedBlank();
    void blankPageChoosesHowARoundPartIsMarked();
    void pickReadOutTakesTheInfeedDepth();
    void keysZoomAndTurnTheView();
    void templateKeepsTheViewOfTheGraphic();
    void pickMoveShiftsTheBufferAndAClickGeneratesThere_data();
    void pickMoveShiftsTheBufferAndAClickGeneratesThere();
    void statusBarsTellReadBackStatsAndBlankFit_data();
    void statusBarsTellReadBackStatsAndBlankFit();
    void readOutsStartAtZeroAndTooltipsFollowTheLanguage();
};

void GraphicTest::presetButtonsSetTheAnglesAndOnlyTheirButton() {
    GraphicWindow window;
    GraphicPage& page = window.Page();
    const char* const buttons[] = {"XYButt", "XZButt", "YZButt", "XYZButt"};
    const auto down = [&page, &buttons] {
        QStringList names;
        for (const char* name : buttons)
            if (child<QAbstractButton>(page, name)->isChecked()) names << name;
        return names;
    };
    child<QAbstractButton>(page, "XYButt")->click();
    QCOMPARE(page.Grafik().D3Yrotation(), 0.0L);
    QCOMPARE(page.Grafik().D3Zrotation(), -90.0L);
    // Already XY: no pass and no button change.
    child<QAbstractButton>(page, "XZButt")->setChecked(true);
    const int passes = page.PassCount();
    page.PresetClick(korvex::simulation::ViewPreset::XY);
    QCOMPARE(page.PassCount(), passes);
    QCOMPARE(down(), QStringList{"XZButt"});

    const struct {
        const char* button;
        long double y, z;
    } presets[] = {{"XZButt", 90, -90}, {"YZButt", 90, 180}, {"XYZButt", 55, -105}};
    for (const auto& preset : presets) {
        const int before = page.PassCount();
        child<QAbstractButton>(page, preset.button)->click();
        QCOMPARE(page.Grafik().D3Yrotation(), preset.y);
        QCOMPARE(page.Grafik().D3Zrotation(), preset.z);
        QCOMPARE(page.PassCount(), before + 1);
        QCOMPARE(down(), QStringList{preset.button});
    }
}

void GraphicTest::zoomOutWidensEachAxisByATenth() {
    GraphicWindow window;
    auto& grafik = window.Page().Grafik();
    grafik.SetWorldBox(-80, -80, 0, 80, 80, 9);
    child<QAbstractButton>(window.Page(), "Zoomout")->click();
    QCOMPARE(grafik.D3WorldX1(), -96.0L);
    QCOMPARE(grafik.D3WorldX2(), 96.0L);
    QCOMPARE(grafik.D3WorldY1(), -96.0L);
    QCOMPARE(grafik.D3WorldY2(), 96.0L);
    // Below extent 10 the button leaves the axis alone.
    QCOMPARE(grafik.D3WorldZ1(), 0.0L);
    QCOMPARE(grafik.D3WorldZ2(), 9.0L);
}

void GraphicTest::wheelZoomsAboutTheMouseAndLaterRedraws() {
    GraphicWindow window;
    GraphicPage& page = window.Page();
    auto& grafik = page.Grafik();
    grafik.SetWorldBox(0, 0, 0, 5, 5, 5);
    page.MSWheelWheelEvent(-120, window.Surface().mapToGlobal(QPoint(10, 10)));
    QCOMPARE(grafik.D3WorldX1(), -1.0L);
    QCOMPARE(grafik.D3WorldX2(), 6.0L);

    grafik.SetWorldBox(-80, -80, -80, 80, 80, 80);
    grafik.RecomputeView();
    const QPoint at(200, 150);
    const auto w = grafik.UnprojectPixel(at.x(), at.y());
    const int passes = page.PassCount();
    page.MSWheelWheelEvent(120, window.Surface().mapToGlobal(at));
    QCOMPARE(grafik.D3WorldX1(), w.x - 72);
    QCOMPARE(grafik.D3WorldX2(), w.x + 72);
    QCOMPARE(grafik.D3WorldY1(), w.y - 72);
    QCOMPARE(grafik.D3WorldY2(), w.y + 72);
    QCOMPARE(grafik.D3WorldZ1(), w.z - 72);
    const QWidget& surface = window.Surface();
    QCOMPARE(QCursor::pos(), surface.mapToGlobal(QPoint(qRound(surface.width() / 2.0),
                                                        qRound(surface.height() / 2.0))));
    // The pass waits for the timer.
    QCOMPARE(page.PassCount(), passes);
    QTRY_COMPARE(page.PassCount(), passes + 1);

    // Over another part of the window the wheel zooms the graphic as well.
    grafik.SetWorldBox(-80, -80, -80, 80, 80, 80);
    QWheelEvent wheel(QPointF(5, 5), window.form->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(window.form.get(), &wheel);
    QCOMPARE(grafik.D3WorldX1(), -96.0L);
}

void GraphicTest::zoomRectangleHalvesTheBoxAndAResizeEndsIt() {
    GraphicWindow window;
    GraphicPage& page = window.Page();
    auto& grafik = page.Grafik();
    grafik.SetWorldBox(-80, -80, -80, 80, 80, 80);
    grafik.RecomputeView();
    const QPoint at(300, 200);
    const auto w = grafik.UnprojectPixel(at.x(), at.y());
    child<QAbstractButton>(page, "Zoomin")->click();
    QTest::mouseMove(&window.Surface(), at);
    QTest::mouseClick(&window.Surface(), Qt::LeftButton, {}, at);
    QCOMPARE(grafik.D3WorldX1(), w.x - 40);
    QCOMPARE(grafik.D3WorldX2(), w.x + 40);
    QCOMPARE(grafik.D3WorldY1(), w.y - 40);
    QCOMPARE(grafik.D3WorldY2(), w.y + 40);
    QCOMPARE(grafik.D3WorldZ1(), 0.0L);
    QCOMPARE(grafik.D3WorldZ2(), 1.0L);
    QVERIFY(!page.View().zoomRectangleMode);

    child<QAbstractButton>(page, "Zoomin")->click();
    window.form->resize(window.form->width() - 40, window.form->height() - 30);
    QTest::qWait(50);
    QVERIFY(!page.View().zoomRectangleMode);
    QTest::mouseClick(&window.Surface(), Qt::LeftButton, {}, at);
    QCOMPARE(grafik.D3WorldX1(), w.x - 40);
}

void GraphicTest::dragRotatesOnlyWithTheLeftButtonAlone_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("keys");
    QTest::addColumn<bool>("rotates");
    QTest::newRow("left") << int(Qt::LeftButton) << int(Qt::NoModifier) << true;
    QTest::newRow("left with shift") << int(Qt::LeftButton) << int(Qt::ShiftModifier) << false;
    QTest::newRow("right") << int(Qt::RightButton) << int(Qt::NoModifier) << false;
    QTest::newRow("left and right")
        << int(Qt::LeftButton | Qt::RightButton) << int(Qt::NoModifier) << false;
}

void GraphicTest::dragRotatesOnlyWithTheLeftButtonAlone() {
    QFETCH(int, buttons);
    QFETCH(int, keys);
    QFETCH(bool, rotates);
    GraphicWindow window;
    GraphicPage& page = window.Page();
    QWidget& surface = window.Surface();
    sendMove(surface, {200, 200}, Qt::NoButton, Qt::NoModifier);
    const QStringList before = readOut(page);
    const long double y = page.Grafik().D3Yrotation();
    const long double z = page.Grafik().D3Zrotation();
    // Up and left by one pixel in one event.
    sendMove(surface, {199, 199}, Qt::MouseButtons(buttons), Qt::KeyboardModifiers(keys));
    QCOMPARE(page.Grafik().D3Yrotation(), rotates ? y + 1 : y);
    QCOMPARE(page.Grafik().D3Zrotation(), rotates ? z + 1 : z);
    QCOMPARE(page.RedrawTimer().isActive(), rotates);
    QVERIFY(readOut(page) != before);
    if (!rotates) return;
    // Further moves do not put the redraw off.
    QTest::qWait(60);
    sendMove(surface, {195, 199}, Qt::MouseButtons(buttons), Qt::KeyboardModifiers(keys));
    QVERIFY(page.RedrawTimer().remainingTime() <= 50);
}

void GraphicTest::previewPassTwiceRestoresThePicture() {
    GraphicWindow window;
    GraphicPage& page = window.Page();
    const std::vector<std::string>& lines = window.form->Generator().SimulationLines();
    QVERIFY(lines.size() > 10);
    page.Drawsimulation();
    const auto drawn = pixels(page);
    page.PreviewPass(lines);
    QVERIFY(pixels(page) != drawn);
    page.PreviewPass(lines);
    QVERIFY(pixels(page) == drawn);
}

void GraphicTest::badLineEndsThePassAfterWhatWasDrawn() {
    GraphicWindow window;
    GraphicPage& page = window.Page();
    page.Grafik().SetWorldBox(-10, -10, -10, 10, 10, 10);
    std::vector<std::string> lines = {"ZR;2;-1", "XY;1;2"};
    korvex::app::JobDocument& document = Area<korvex::app::JobDocument>(*window.form);
    document.Job().BlankDefinition.clear();
    document.SetSimulationLines(lines);
    page.Drawsimulation();
    const auto firstTwo = pixels(page);
    lines.push_back("XY;1;x");
    lines.push_back("XY;-3;-4");
    document.SetSimulationLines(lines);
    page.Drawsimulation();
    QVERIFY(pixels(page) == firstTwo);
    QCOMPARE(window.form->statusBar()->currentMessage(), window.form->Messenger().Text(9108));
    lines.erase(lines.begin() + 2);
    document.SetSimulationLines(lines);
    page.Drawsimulation();
    QVERIFY(pixels(page) != firstTwo);
}

void GraphicTest::passAskedForDuringAPassFollowsIt() {
    GraphicWindow window;
    GraphicPage& page = window.Page();
    auto& view = page.View();
    const auto letEventsRun = view.processMessages;
    QList<int> passesSeen;
    view.processMessages = [&] {
        passesSeen << page.PassCount();
        // A resize or timer arriving in the middle of the pass.
        if (passesSeen.size() == 1) page.Drawsimulation();
        letEventsRun();
    };
    const int before = page.PassCount();
    page.Drawsimulation();
    view.processMessages = letEventsRun;
    QCOMPARE(page.PassCount(), before + 2);
    // Each pass lets events run twice; the second started only after the first had ended.
    QCOMPARE(passesSeen, (QList<int>{before, before, before + 1, before + 1}));
}

void GraphicTest::fitShowsEveryDotOfTheJob() {
    GraphicWindow window;
    GraphicPage& page = window.Page();
    auto& grafik = page.Grafik();
    QTest::keyClick(&page, Qt::Key_Home);
    grafik.RecomputeView();
    int dots = 0;
    for (const std::string& line : window.form->Generator().SimulationLines()) {
        if (!line.starts_with("XY;")) continue;
        const auto second = line.find(';', 3);
        const auto p =
            grafik.ProjectPoint(korvex::ncgen::ReadNumber(line.substr(3, second - 3)).value,
                                korvex::ncgen::ReadNumber(line.substr(second + 1)).value, 0);
        QVERIFY2(p.x >= 0 && p.y >= 0 && p.x < grafik.Width() && p.y < grafik.Height(),
                 line.c_str());
        ++dots;
    }
    QVERIFY(dots > 100);
}

void GraphicTest::blankPageDrawsAndDeletesTheTypedBlank() {
    GraphicWindow window;
    TMainForm& form = *window.form;
    GraphicPage& page = window.Page();
    form.BBlankClick();
    child<QAbstractButton>(form, "ZYL3")->click();
    QVERIFY(child<QWidget>(form, "PANELZYL3")->isVisible());
    QVERIFY(!child<QWidget>(form, "PANELQUADER1")->isVisible());
    QLineEdit* radius = child<QLineEdit>(form, "ZYL3_R");
    radius->clear();
    QTest::keyClicks(radius, "1a2,5");
    QCOMPARE(radius->text(), QStringLiteral("12.5"));
    child<QAbstractButton>(form, "RAnzeigen")->click();
    QCOMPARE(Area<korvex::app::JobDocument>(form).Job().BlankDefinition,
             std::string("ROHDEF ZYL3 XC0 YM-25 RA12.5 ZC0 YP25"));
    QVERIFY(page.isVisible());
    const auto withBlank = pixels(page);

    form.BBlankClick();
    child<QAbstractButton>(form, "RDelete")->click();
    QVERIFY(Area<korvex::app::JobDocument>(form).Job().BlankDefinition.empty());
    QVERIFY(page.isVisible());
    QVERIFY(pixels(page) != withBlank);
}

void GraphicTest::blankPageChoosesHowARoundPartIsMarked() {
    GraphicWindow window;
    TMainForm& form = *window.form;
    form.BBlankClick();
    QVERIFY(child<QAbstractButton>(form, "ROberflaecheEben")->isChecked());
    child<QAbstractButton>(form, "ZYL2")->click();
    const std::pair<const char*, const char*> shaft[] = {
        {"ZYL2_Y", "8"}, {"ZYL2_Z", "-10"}, {"ZYL2_R", "10"}, {"ZYL2_XP", "30"}};
    for (const auto& [name, value] : shaft) {
        QLineEdit* edit = child<QLineEdit>(form, name);
        edit->clear();
        QTest::keyClicks(edit, value);
    }
    child<QAbstractButton>(form, "ROberflaecheFolgen")->click();
    QCOMPARE(Area<korvex::app::JobDocument>(form).Job().Surface,
             korvex::ncgen::TSurfaceMode::Follow);
    child<QAbstractButton>(form, "RAnzeigen")->click();
    QTest::qWait(50);
    const auto& lines = form.Generator().SimulationLines();
    QVERIFY(!lines.empty());
    QCOMPARE(QString::fromStdString(lines.front()), QStringLiteral("SF;X;F;8.000;-10.000;10.000"));
    // A job opened later shows its own choice.
    form.NeuErstellen1Click();
    QVERIFY(child<QAbstractButton>(form, "ROberflaecheEben")->isChecked());
}

void GraphicTest::pickReadOutTakesTheInfeedDepth() {
    GraphicWindow window;
    GraphicPage& page = window.Page();
    QLineEdit* depth = child<QLineEdit>(*window.form, "ZEbeneauswahl");
    const QSignalBlocker quiet(depth);
    const QString depthBefore = depth->text();
    depth->setText(QStringLiteral("abc"));
    child<QAbstractButton>(page, "BPick")->click();
    QVERIFY(page.PickMode());
    sendMove(window.Surface(), {150, 120}, Qt::LeftButton, Qt::NoModifier);
    const auto w = page.Grafik().UnprojectPixel(150, 120);
    const QStringList expected = {QString::fromStdString(korvex::simulation::FormatReadOut(w.x)),
                                  QString::fromStdString(korvex::simulation::FormatReadOut(w.y)),
                                  QStringLiteral("0.000")};
    QCOMPARE(readOut(page), expected);
    // In pick mode a drag does not turn the view.
    QCOMPARE(page.RedrawTimer().isActive(), false);
    QTest::keyClick(window.form.get(), Qt::Key_Escape);
    QVERIFY(!page.PickMode());
    // Another view ends it too: nothing is left to click on.
    child<QAbstractButton>(page, "BPick")->click();
    child<QAbstractButton>(*window.form, "BDatamatrix")->click();
    QVERIFY(!page.PickMode());
    QVERIFY(!child<QAbstractButton>(page, "BPick")->isChecked());
    // So do a step button and the symbol dialog, before they change anything.
    depth->setText(depthBefore);
    window.form->BGrafikClick();
    child<QAbstractButton>(page, "BPick")->click();
    child<QAbstractButton>(*window.form, "Xplus")->click();
    QVERIFY(!page.PickMode());
    child<QAbstractButton>(page, "BPick")->click();
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&window] {
        if (Area<korvex::app::TFSymbol>(*window.form).isVisible())
            Area<korvex::app::TFSymbol>(*window.form).reject();
    });
    closer.start(20);
    child<QAbstractButton>(*window.form, "SchriftartSingle")->click();
    QVERIFY(!page.PickMode());
}

void GraphicTest::pickMoveShiftsTheBufferAndAClickGeneratesThere_data() {
    QTest::addColumn<int>("profile");
    QTest::addColumn<double>("offsetSign");
    QTest::newRow("mill") << 1 << 1.0;
    // The lathe profile writes X = -(x + offset): the symbol lies at the negated offset, and the
    // outline still follows the mouse.
    QTest::newRow("lathe") << 3 << -1.0;
}

void GraphicTest::pickMoveShiftsTheBufferAndAClickGeneratesThere() {
    QFETCH(int, profile);
    QFETCH(double, offsetSign);
    GraphicWindow window;
    window.form->ProfilClick(profile);
    window.form->Generator().ConvertClick();
    GraphicPage& page = window.Page();
    TMainForm& form = *window.form;
    const QString program = form.Editor().toPlainText();
    const double offsetX = child<QLineEdit>(form, "EXVersatz")->text().toDouble();
    const double offsetY = child<QLineEdit>(form, "EYVersatz")->text().toDouble();
    child<QAbstractButton>(page, "BPick")->click();
    const std::vector<std::string> before = page.BufferLines();
    const QPoint at(260, 180);
    sendMove(window.Surface(), at, Qt::NoButton, Qt::NoModifier);
    QTRY_VERIFY(!page.BufferTimer().isActive());
    const double pickX = child<QLabel>(page, "LAchseXWert")->text().toDouble();
    const double pickY = child<QLabel>(page, "LAchseYWert")->text().toDouble();
    const std::vector<std::string> moved = page.BufferLines();
    QCOMPARE(moved.size(), before.size());
    const auto xy = [](const std::string& line) {
        const auto split = line.find(';', 3);
        return std::pair{
            static_cast<double>(korvex::ncgen::ReadNumber(line.substr(3, split - 3)).value),
            static_cast<double>(korvex::ncgen::ReadNumber(line.substr(split + 1)).value)};
    };
    int dots = 0;
    for (std::size_t i = 0; i < moved.size(); ++i) {
        if (!moved[i].starts_with("XY;")) {
            QCOMPARE(moved[i], before[i]);
            continue;
        }
        const auto [x0, y0] = xy(before[i]);
        const auto [x1, y1] = xy(moved[i]);
        QVERIFY(std::abs(x1 - (x0 + pickX - offsetSign * offsetX)) < 0.0015);
        QVERIFY(std::abs(y1 - (y0 + pickY - offsetY)) < 0.0015);
        ++dots;
    }
    QVERIFY(dots > 100);
    QCOMPARE(form.Editor().toPlainText(), program);

    // The click generates at the picked position: the same dots the buffer showed.
    QTest::mouseClick(&window.Surface(), Qt::LeftButton, {}, at);
    QVERIFY(!page.PickMode());
    QCOMPARE(child<QLineEdit>(form, "EXVersatz")->text().toDouble(), offsetSign * pickX);
    QCOMPARE(child<QLineEdit>(form, "EYVersatz")->text().toDouble(), pickY);
    QVERIFY(form.Editor().toPlainText() != program);
    const std::vector<std::string>& generated = form.Generator().SimulationLines();
    QCOMPARE(generated.size(), moved.size());
    for (std::size_t i = 0; i < moved.size(); ++i) {
        if (!moved[i].starts_with("XY;")) continue;
        QVERIFY(std::abs(xy(generated[i]).first - xy(moved[i]).first) < 0.0015);
        QVERIFY(std::abs(xy(generated[i]).second - xy(moved[i]).second) < 0.0015);
    }
}

void GraphicTest::keysZoomAndTurnTheView() {
    GraphicWindow window;
    auto& grafik = window.Page().Grafik();
    grafik.SetWorldBox(-80, -80, -4, 80, 80, 4);
    QTest::keyClick(window.form.get(), Qt::Key_PageUp);
    QCOMPARE(grafik.D3WorldX1(), -96.0L);
    QCOMPARE(grafik.D3WorldY2(), 96.0L);
    // Z below extent 10 still moves by one.
    QCOMPARE(grafik.D3WorldZ1(), -5.0L);
    QCOMPARE(grafik.D3WorldZ2(), 5.0L);
    QTest::keyClick(window.form.get(), Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(grafik.D3WorldX1(), -77.0L);
    QCOMPARE(grafik.D3WorldZ2(), 4.0L);
    const long double y = grafik.D3Yrotation();
    const long double z = grafik.D3Zrotation();
    QTest::keyClick(window.form.get(), Qt::Key_Left);
    QTest::keyClick(window.form.get(), Qt::Key_Up);
    QCOMPARE(grafik.D3Zrotation(), z - 5);
    QCOMPARE(grafik.D3Yrotation(), y + 5);
}

void GraphicTest::templateKeepsTheViewOfTheGraphic() {
    GraphicWindow window;
    auto& grafik = window.Page().Grafik();
    grafik.SetWorldBox(-5, -6, -7, 50, 60, 70);
    grafik.SetD3Yrotation(33);
    grafik.SetD3Zrotation(-44);
    const QString file = window.folder.filePath(QStringLiteral("view.ncm"));
    window.form->SaveVorlage(file);
    grafik.SetWorldBox(-80, -80, -80, 80, 80, 80);
    grafik.SetD3Yrotation(0);
    QVERIFY(window.form->LadeVorlage(file));
    QCOMPARE(grafik.D3WorldX1(), -5.0L);
    QCOMPARE(grafik.D3WorldZ2(), 70.0L);
    QCOMPARE(grafik.D3Yrotation(), 33.0L);
    QCOMPARE(grafik.D3Zrotation(), -44.0L);
}

void GraphicTest::readOutsStartAtZeroAndTooltipsFollowTheLanguage() {
    StartedWindow window;
    GraphicPage& page = Area<korvex::app::GraphicPage>(*window.form);
    const QStringList zero(3, QStringLiteral("0.000"));
    QCOMPARE(readOut(page), zero);
    window.form->BGrafikClick();
    sendMove(page.Surface(), QPoint(200, 150), Qt::NoButton, Qt::NoModifier);
    QVERIFY(readOut(page) != zero);
    QVERIFY(window.form->LadeVorlage(DataFile(QStringLiteral("examples/typenschild.ncm"))));
    QCOMPARE(readOut(page), zero);
    const auto& m = window.form->Messenger();
    QCOMPARE(child<QAbstractButton>(page, "BPick")->toolTip(), m.Text(3415));
    window.form->SettingsDialog().show();
    QTest::mouseClick(child<QAbstractButton>(window.form->SettingsDialog(), "Beng"),
                      Qt::LeftButton);
    QCOMPARE(child<QLabel>(page, "LZeigerposition")->text(), QStringLiteral("Pointer position"));
    QCOMPARE(child<QAbstractButton>(page, "BPick")->toolTip(),
             QStringLiteral("Pick the position with the mouse (Esc cancels)"));
    QCOMPARE(child<QAbstractButton>(page, "Fit")->toolTip(),
             QStringLiteral("Show everything (Home)"));
}

int main(int argc, char** argv) {
    korvex::app::KorvexApplication app(argc, argv);
    GraphicTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "Graphic_test.moc"

void GraphicTest::statusBarsTellReadBackStatsAndBlankFit_data() {
    QTest::addColumn<bool>("mirrorX");
    QTest::addColumn<QString>("offsetX");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<bool>("warned");
    QTest::newRow("on the blank") << false << "5"
                                  << "lesbar" << false;
    // One mirror asks for a mirror image: that is what reads, and it is not a fault.
    QTest::newRow("one mirror") << true << "15"
                                << "nur gespiegelt lesbar" << false;
    // The blank is 30 mm long: the symbol at X 40 lies beside it, but is still generated.
    QTest::newRow("beside the blank") << false << "40"
                                      << "lesbar" << true;
}

void GraphicTest::statusBarsTellReadBackStatsAndBlankFit() {
    QFETCH(bool, mirrorX);
    QFETCH(QString, offsetX);
    QFETCH(QString, verdict);
    QFETCH(bool, warned);
    GraphicWindow window;
    TMainForm& form = *window.form;
    child<QAbstractButton>(form, "EXSpiegel")->setChecked(mirrorX);
    child<QLineEdit>(form, "EXVersatz")->setText(offsetX);
    QVERIFY(form.Generator().ConvertClick());
    QLabel* mark = child<QLabel>(form, "ReadBackMark");
    QVERIFY(mark->text().endsWith(QStringLiteral("</span> ") + verdict));
    QVERIFY(mark->text().contains(QStringLiteral("#00a000")));
    QVERIFY(mark->toolTip().contains(verdict));

    int dots = 0;
    for (const std::string& line : form.Generator().SimulationLines())
        dots += line.starts_with("XY;") ? 1 : 0;
    QVERIFY(child<QLabel>(form, "MarkingStats")
                ->text()
                .startsWith(QString::number(dots) + QStringLiteral(" Punkte, Eilgang ")));
    QCOMPARE(window.Page().BlankWarning().contains(QStringLiteral("ragt")), warned);
    QVERIFY(!form.Editor().document()->isEmpty());

    // A changed field leaves the mark grey until the next generation.
    child<QLineEdit>(form, "EYVersatz")->setText(QStringLiteral("6"));
    QVERIFY(mark->text().contains(QStringLiteral("#808080")));
}
