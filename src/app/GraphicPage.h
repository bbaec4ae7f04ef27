#pragma once

#include "config/Settings.h"
#include "ncgen/NCJob.h"
#include "ncgen/PickBuffer.h"
#include "simulation/SimulationView.h"
#include "simulation/TMathImage.h"
#include "simulation/ViewCommands.h"

#include <QTimer>
#include <QWidget>

#include <string>
#include <vector>

class QLabel;
class QToolButton;

namespace korvex::app {

class GraphicView;
class JobDocument;
class PointerReadOut;
class Messages;

// Where a pick starts: the job panel's offsets and the profile's infeed depth (the crosshair's
// height) and lathe mode (the program's X is the negated offset X).
struct TPickOrigin {
    std::string OffsetX, OffsetY;
    std::string InfeedDepth;
    bool Lathe = false;
};

// The "NC-Grafik" page: toolbar, the drawing surface and the pointer read-out. It draws the
// simulation lines and the blank it is given and owns every change of the view.
class GraphicPage : public QWidget {
    Q_OBJECT
  public:
    explicit GraphicPage(const Messages& messages, QWidget* parent = nullptr);
    ~GraphicPage() override;

    // The job whose program and blank the page draws.
    void SetDocument(const JobDocument& document) { document_ = &document; }
    void SetColors(const config::TSettings& settings);
    // The page's status line: where the symbol lies on the blank; empty when it fits.
    void SetBlankWarning(const QString& text);
    QString BlankWarning() const;
    // Tooltips in the user's language, once the language is known.
    void ApplyLanguage();

    simulation::TMathImage& Grafik() { return grafik_; }
    simulation::SimulationView& View() { return view_; }
    GraphicView& Surface() { return *surface_; }
    QTimer& RedrawTimer() { return redrawTimer_; }
    int PassCount() const { return passes_; }

    // A normal pass, or a preview pass of `lines`. One asked for while a pass runs follows
    // when it ends.
    void Drawsimulation(bool preview = false);
    void PreviewPass(const std::vector<std::string>& lines);

    void ZoomoutClick();
    void ZoominClick();
    void RotateClick(simulation::RotationButton button);
    void PresetClick(simulation::ViewPreset preset);
    void AxisButtClick();
    void G0ButtClick();
    void FitClick();
    void RedrawTimerTimer();
    void BPickClick();
    void StartPick(TPickOrigin origin);
    void StopPick();
    void BufferTimerTimer();
    bool PickMode() const { return pickMode_; }
    const std::vector<std::string>& BufferLines() const { return bufferLines_; }
    QTimer& BufferTimer() { return bufferTimer_; }
    // The page's keys: Home fits, Escape ends pick mode. True when the key was used.
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Page Up / Page Down: widen or narrow every axis by a tenth at both ends.
    void KeyZoom(bool out);
    void GrafikMouseMove(int x, int y, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void GrafikMouseDown(int x, int y);
    // Wheel delta > 0: away from the user; the position is in screen coordinates.
    void MSWheelWheelEvent(int delta, QPoint screen);

    // The world box and angles a template stores.
    void ApplyJobView(const ncgen::TJob& job);
    void StoreJobView(ncgen::TJob& job) const;
    // The settings' default view and toggles, as at start-up.
    void ApplySettingsView(const config::TSettings& settings);

  signals:
    // The refresh button: regenerate when out of date, else redraw.
    void RefreshWanted();
    // The pick button went down: StartPick once the program is up to date.
    void PickWanted();
    void OffsetsPicked(const QString& x, const QString& y);
    // Pick mode ended: the program is drawn again, generated first when out of date.
    void RedrawWanted();
    void Status(const QString& text);

  protected:
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void setPresetButtons(simulation::ViewPreset preset);
    const std::vector<std::string>& lines() const;
    const std::string& blank() const;

    const Messages& messages_;
    simulation::TMathImage grafik_;
    simulation::SimulationView view_;
    GraphicView* surface_ = nullptr;
    QWidget* toolbar_ = nullptr;
    QToolButton* presetButtons_[4] = {};
    QToolButton* axisButt_ = nullptr;
    QToolButton* g0Butt_ = nullptr;
    PointerReadOut* readOut_ = nullptr;
    QLabel* blankWarning_ = nullptr;
    QTimer redrawTimer_;
    QToolButton* bPick_ = nullptr;
    TPickOrigin pickOrigin_;
    bool pickMode_ = false;
    ncgen::TPickState pickState_;
    std::vector<std::string> bufferLines_;
    QTimer bufferTimer_;
    bool bufferDrawPending_ = false;
    bool bufferGuard_ = false;
    const JobDocument* document_ = nullptr;
    bool drawing_ = false;
    bool normalPending_ = false;
    int passes_ = 0;
};

} // namespace korvex::app
